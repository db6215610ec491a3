#!/usr/bin/env bash
# Reliability run: builds, then prints the client's fault matrix (every operation against every fault of the local
# service), the commandlet under faults, the security and crash-safety tests, the load figures and, when the fuzzing
# script is there, a short fuzzing pass. Ends with "RELIABILITY OK" or "RELIABILITY FAILED".
#   scripts/reliability.sh [build-dir] [fuzz-seconds]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
fuzz_seconds=${2:-20}
failed=()

if ! bash "$root/scripts/setup.sh" "$build"; then
	echo "RELIABILITY FAILED (build)"
	exit 1
fi
scratch=$(mktemp -d /tmp/tarvoline-reliability-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

echo
echo "== Fault matrix: client operations x service faults"
# One process, one local service; each row resets the service first.
matrix_start=$SECONDS
"$build/TarvolineAutomation" --simulator "$build/Simulator/tarvoline-sim" Tarvoline.Client.FaultMatrix \
	>"$scratch/matrix.log" 2>&1
matrix_status=$?
grep -m1 "FaultMatrix header" "$scratch/matrix.log" | sed 's/^.*FaultMatrix header //'
grep "FaultMatrix row" "$scratch/matrix.log" | sed 's/^.*FaultMatrix row    //'
awk '/FaultMatrix count/ { held += $(NF-4); run += $(NF-2) } END { printf "fault matrix: %d of %d cells held", held, run }' \
	"$scratch/matrix.log"
echo " in $((SECONDS - matrix_start)) s"
grep -E "^FAILED |^    error: " "$scratch/matrix.log" || true
grep -E "^[0-9]+ passed, [0-9]+ failed$" "$scratch/matrix.log" | sed 's/^/automation tests: /'
[ "$matrix_status" -eq 0 ] || failed+=("fault matrix")

echo
echo "== Commandlet under faults, security, crash safety, the service's exposure"
(cd "$build" && ctest --output-on-failure -R \
	'^(EndToEnd\.CheckCommandletUnderFaults\.|Tarvoline\.Security\.|Tarvoline\.Client\.Download(OntoAFullOrReadOnlyDisk|KilledMidWriteKeepsTheEarlierFile)|Host\.CrashSafety\.|Simulator\.Server\.(ListensOnLoopbackOnly|ControlPrefixIsHiddenUnlessAllowed))' \
	>"$scratch/ctest.log" 2>&1)
ctest_status=$?
grep -E "Test +#[0-9]+: " "$scratch/ctest.log" | sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: //'
grep -E "tests passed|tests failed" "$scratch/ctest.log"
if [ "$ctest_status" -ne 0 ]; then
	sed -n '/The following tests FAILED/,$p' "$scratch/ctest.log"
	failed+=("checks")
fi

echo
echo "== Load: 50 uploads and 200 polls in flight"
"$build/bench/load-bench" >"$scratch/load.log" 2>&1
load_status=$?
cat "$scratch/load.log"
[ "$load_status" -eq 0 ] || failed+=("load")

if [ -f "$root/scripts/fuzz.sh" ]; then
	echo
	echo "== Fuzzing, ${fuzz_seconds} s per target"
	bash "$root/scripts/fuzz.sh" "$fuzz_seconds" >"$scratch/fuzz.log" 2>&1
	fuzz_status=$?
	# The fuzz build's progress lines are left out; its errors, the figures and the verdict stay.
	grep -v '^\[[0-9]*/[0-9]*\] ' "$scratch/fuzz.log" | tail -n 30
	if [ "$fuzz_status" -ne 0 ] || ! grep -q "^FUZZ OK" "$scratch/fuzz.log"; then
		failed+=("fuzzing")
	fi
fi

echo
if [ ${#failed[@]} -eq 0 ]; then
	echo "RELIABILITY OK"
else
	echo "RELIABILITY FAILED (${failed[*]})"
	exit 1
fi
