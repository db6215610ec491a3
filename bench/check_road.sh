#!/usr/bin/env bash
# The check commandlet's whole road against the local service with instant rigs and jobs (time scale 0): its wall
# time minus the pauses the road must make (3.0 s before the rig poll, 2.5 s before the job poll), beside the same
# eight requests sent by curl in the same run, and the CPU time the commandlet used (its waits sleep between pump
# passes; they must not spin a core). Run by hand, never by ctest:
#   bash bench/check_road.sh [build-dir] [runs]
# It also times the editor starting and stopping (a run that only prints the usage line) and the import and clip
# checks alone (-Fbx= on the downloaded file), so the overhead can be split into its parts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
editor=$build/HostEditor-Cmd
sim=$build/Simulator/tarvoline-sim
for program in "$editor" "$sim"; do
	if [ ! -x "$program" ]; then
		echo "missing $program: build first (cmake --build $build)" >&2
		exit 2
	fi
done
command -v curl >/dev/null || { echo "curl is needed" >&2; exit 2; }

model=$root/TestData/Models/quadruped_mesh.fbx
prompt="a fox jumps"
key=tv_demo_key
pauses=5.5

work=$(mktemp -d)
sim_pid=""
cleanup() {
	[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
	rm -rf "$work"
}
trap cleanup EXIT

"$sim" --port 0 --port-file "$work/port" --data "$work/data" --time-scale 0 --quiet 2>"$work/sim.log" &
sim_pid=$!
for _ in $(seq 1 400); do
	[ -s "$work/port" ] && break
	sleep 0.05
done
[ -s "$work/port" ] || { echo "the local service did not start:" >&2; cat "$work/sim.log" >&2; exit 1; }
api=http://127.0.0.1:$(cat "$work/port")
export TARVOLINE_API=$api

fresh_project() {
	rm -rf "$1"
	mkdir -p "$1/Content"
	cp "$root/Samples/TarvolineSample/TarvolineSample.uproject" "$1/"
}

# Runs the editor with the given switches in a fresh project; prints "wall user sys" in seconds.
timed_editor() {
	local project=$1
	shift
	fresh_project "$project"
	local TIMEFORMAT='%R %U %S'
	{ time "$editor" "$project/TarvolineSample.uproject" -run=TarvolineCheck "$@" >"$work/editor.log" 2>&1; } 2>"$work/time" ||
		true
	tail -n 1 "$work/time"
}

calc() {
	awk "BEGIN { printf \"%.6f\", $1 }"
}

# One request with curl; adds its own transfer time (curl's time_total) to curl_sum, leaves the answer in $work/answer.
curl_sum=0
one() {
	local seconds
	seconds=$(curl -s -o "$work/answer" -w '%{time_total}' "$@")
	curl_sum=$(calc "$curl_sum + $seconds")
}
field() {
	sed -n "s/.*\"$1\":\"\\([^\"]*\\)\".*/\\1/p" "$work/answer" | head -n 1
}

# The same road as the commandlet, request for request, without its pauses.
curl_road() {
	local auth="Authorization: Bearer $key" json="Content-Type: application/json" asset job url
	curl_sum=0
	one "$api/v1/auth/me" -H "$auth"
	one "$api/v1/assets" -H "$auth" -F "file=@$model"
	asset=$(field id)
	one "$api/v1/assets/$asset" -H "$auth"
	one "$api/v1/assets" -H "$auth"
	one "$api/v1/plan" -H "$auth" -H "$json" -d "{\"prompt\": \"$prompt\", \"assetId\": \"$asset\"}"
	one "$api/v1/generate" -H "$auth" -H "$json" -d "{\"prompt\": \"$prompt\", \"assetId\": \"$asset\", \"formats\": [\"fbx\"]}"
	job=$(field id)
	one "$api/v1/jobs/$job" -H "$auth"
	url=$(field url)
	one "$url"
	[ "$(wc -c <"$work/answer")" -gt 1000 ] || { echo "the curl road did not end with the FBX" >&2; exit 1; }
}

median() {
	sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "check commandlet road: $(basename "$model"), \"$prompt\", time scale 0, $runs runs; load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-4s %9s %9s %9s %9s %7s %9s %9s %9s\n' run "road s" "-pauses" "curl s" overhead ratio "cpu usr" "cpu sys" "cpu/wall"
: >"$work/rows"
for run in $(seq 1 "$runs"); do
	read -r wall user sys < <(timed_editor "$work/project" -Key=$key -Model="$model" -Prompt="$prompt")
	if ! grep -q "CHECK DONE failures=0" "$work/editor.log"; then
		echo "run $run did not pass:" >&2
		cat "$work/editor.log" >&2
		exit 1
	fi
	download=$(ls "$work/project/Saved/Tarvoline/"*.fbx)
	cp "$download" "$work/clip.fbx"
	curl_road
	net=$(calc "$wall - $pauses")
	overhead=$(calc "$net - $curl_sum")
	ratio=$(calc "$net / $curl_sum")
	cpu_ratio=$(calc "($user + $sys) / $wall")
	# Baselines: the editor starting and stopping around a commandlet that does nothing, and the import alone.
	read -r start_wall _ _ < <(timed_editor "$work/bare")
	read -r import_wall _ _ < <(timed_editor "$work/import" -Fbx="$work/clip.fbx")
	printf '%-4s %9.3f %9.3f %9.3f %9.3f %7.1f %9.3f %9.3f %9.3f\n' "$run" "$wall" "$net" "$curl_sum" "$overhead" "$ratio" \
		"$user" "$sys" "$cpu_ratio"
	echo "$wall $net $curl_sum $overhead $ratio $user $sys $cpu_ratio $start_wall $import_wall" >>"$work/rows"
done

col() { awk -v c="$1" '{ print $c }' "$work/rows" | median; }
overhead=$(col 4)
start=$(col 9)
import=$(calc "$(col 10) - $start")
waits=$(calc "$overhead - $start - $import")
printf '%-4s %9.3f %9.3f %9.3f %9.3f %7.1f %9.3f %9.3f %9.3f\n' median "$(col 1)" "$(col 2)" "$(col 3)" "$overhead" "$(col 5)" \
	"$(col 6)" "$(col 7)" "$(col 8)"
printf "overhead, medians: editor start and exit %.3f s, import and clip checks %.3f s, the rest, the pump passes around 8 answers beyond the service's own time, %.3f s = %.3f s per answer\n" \
	"$start" "$import" "$waits" "$(calc "$waits / 8")"
if awk "BEGIN { exit !($overhead <= 0.3) }"; then verdict=met; else verdict="NOT met"; fi
printf 'target: overhead at most 0.300 s: %s (%.3f s); CPU time %.3f s for %.3f s of wall time\n' "$verdict" "$overhead" \
	"$(calc "$(col 6) + $(col 7)")" "$(col 1)"
