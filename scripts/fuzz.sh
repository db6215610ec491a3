#!/usr/bin/env bash
# Runs the libFuzzer targets in fuzz/ for a bounded time each, in a clang build of their own.
#   scripts/fuzz.sh [seconds] [targets...]        (default: 60 seconds, every target)
# Prints one line per target, "fuzz <target>: <N> executions, <M> findings", then FUZZ OK or FUZZ FAILED. A finding's
# input is kept in fuzz/regressions/<target>/, where the normal build's FuzzRegressionTests replays it from then on.
# FUZZ_BUILD_DIR moves the build (default build-fuzz).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
case "$seconds" in
	'' | *[!0-9]*)
		echo "usage: scripts/fuzz.sh [seconds] [targets...]" >&2
		exit 2
		;;
esac
all_targets=(json_records failure_sentence asset_name ini_file printf utf8_text multipart)
if [ $# -gt 0 ]; then
	targets=("$@")
else
	targets=("${all_targets[@]}")
fi
for target in "${targets[@]}"; do
	if [[ ! " ${all_targets[*]} " =~ " $target " ]]; then
		echo "unknown fuzz target: $target (known: ${all_targets[*]})" >&2
		exit 2
	fi
done

build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
launcher=()
if command -v ccache >/dev/null; then
	launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
SETUP_EXTRA_PACKAGES="clang-14 libclang-rt-14-dev" SETUP_BUILD_TARGETS="${targets[*]/#/fuzz_}" \
	"$root/scripts/setup.sh" "$build" -DTARVOLINE_FUZZ=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
	"${launcher[@]}"

failed=0
for target in "${targets[@]}"; do
	findings_dir="$root/fuzz/regressions/$target"
	work_corpus="$build/fuzz-work/$target"
	log="$build/fuzz-work/$target.log"
	mkdir -p "$findings_dir" "$work_corpus"
	before=$(find "$findings_dir" -type f | wc -l)
	# New inputs go to the work corpus (first folder); the seeds and the kept findings are only read.
	status=0
	"$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
		-artifact_prefix="$findings_dir/" "$work_corpus" "$root/fuzz/corpus/$target" "$findings_dir" >"$log" 2>&1 || status=$?
	after=$(find "$findings_dir" -type f | wc -l)
	findings=$((after - before))
	executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
	if [ -z "$executions" ]; then
		# A run stopped by a finding prints no final statistics; its last progress line has the count.
		executions=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
	fi
	echo "fuzz $target: ${executions:-0} executions, $findings findings"
	if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
		failed=1
		echo "  exit status $status; log: $log" >&2
		grep -m 5 -E "ERROR:|runtime error|fuzz property broken|Test unit written" "$log" | sed 's/^/  /' >&2 || true
	fi
done
if [ "$failed" -ne 0 ]; then
	echo "FUZZ FAILED"
	exit 1
fi
echo "FUZZ OK"
