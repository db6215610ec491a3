#!/usr/bin/env bash
# Builds everything and runs every test: the stand-in's and the local service's googletest suites, and the
# plug-in's automation tests (each against its own local service on a free loopback port).
#   scripts/test.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh" "$build"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
