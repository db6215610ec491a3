#!/usr/bin/env bash
# The main job: builds everything, starts the local Tarvoline service on a free loopback port, runs the check
# commandlet end to end on a bundled model (sign in, upload, rig, list, plan, generate, job, download, import, clip
# checks), prints its CHECK lines, stops the service and exits with the commandlet's code.
#   scripts/check.sh [build-dir]
# Environment: TARVOLINE_CHECK_MODEL, TARVOLINE_CHECK_PROMPT, TARVOLINE_CHECK_FAMILY override the defaults.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh" "$build"

model=${TARVOLINE_CHECK_MODEL:-$root/TestData/Models/humanoid_mesh.fbx}
prompt=${TARVOLINE_CHECK_PROMPT:-a person walks forward and waves}
family=${TARVOLINE_CHECK_FAMILY:-humanoid}
project=$root/Samples/TarvolineSample/TarvolineSample.uproject

work=$(mktemp -d)
sim_pid=""
cleanup() {
	[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
	rm -rf "$work"
}
trap cleanup EXIT

# The service's stages take seconds on the real thing; a time scale of 0.1 keeps the walk short.
"$build/Simulator/tarvoline-sim" --port 0 --port-file "$work/port" --data "$work/data" --time-scale 0.1 \
	2>"$work/sim.log" &
sim_pid=$!
for _ in $(seq 1 200); do
	[ -s "$work/port" ] && break
	sleep 0.05
done
if [ ! -s "$work/port" ]; then
	echo "The local service did not start:" >&2
	cat "$work/sim.log" >&2
	exit 1
fi
export TARVOLINE_API="http://127.0.0.1:$(cat "$work/port")"
echo "Local service at $TARVOLINE_API; checking $(basename "$model") with \"$prompt\""

set +e
"$build/HostEditor-Cmd" "$project" -run=TarvolineCheck -Key=tv_demo_key -Model="$model" -Prompt="$prompt" -Family="$family"
code=$?
set -e
echo "TarvolineCheck exited with $code"
exit $code
