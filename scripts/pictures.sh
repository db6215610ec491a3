#!/usr/bin/env bash
# Builds everything, then walks the panel through its main states against the local service and draws it at each
# stop into docs/ (panel-signed-out.png, panel-refused.png, panel-connected.png, panel-rigging.png,
# panel-priced.png, panel-running.png, panel-result.png).
#   scripts/pictures.sh [build-dir] [output-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs}
"$root/scripts/setup.sh" "$build"
mkdir -p "$out"
TARVOLINE_PICTURES_DIR=$(cd "$out" && pwd) "$build/TarvolineAutomation" \
	--simulator "$build/Simulator/tarvoline-sim" --exact Tarvoline.Layout.WalkThrough
ls -l "$out"/panel-*.png
