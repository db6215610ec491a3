#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
#   scripts/setup.sh [build-dir] [extra cmake args...]
# SETUP_EXTRA_PACKAGES adds Debian packages to install; SETUP_BUILD_TARGETS builds only those targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true

packages=(cmake ninja-build g++ pkg-config curl ca-certificates
	libcurl4-openssl-dev libassimp-dev libcpp-httplib-dev nlohmann-json3-dev
	libgtest-dev libbenchmark-dev zlib1g-dev libcairo2-dev libpango1.0-dev ${SETUP_EXTRA_PACKAGES:-})
missing=()
for package in "${packages[@]}"; do
	dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
	echo "Installing: ${missing[*]}"
	sudo_cmd=""
	[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
	$sudo_cmd apt-get update -qq
	DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for target in ${SETUP_BUILD_TARGETS:-}; do
	targets+=(--target "$target")
done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
