#!/usr/bin/env bash
# Shared by ./test.sh and ./run.sh: installs the Debian packages that are
# missing (and only those, so a second run is quick), then configures and
# builds the project into ./build.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${TARVIK_BUILD_DIR:-$root/build}

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libgl-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    libxlsxwriter-dev unzip
    dpkg-dev file desktop-file-utils  # cpack -G DEB and the package test
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
        sudo_cmd=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ ! -f "$build_dir/build.ninja" ]]; then
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" -j "$(nproc)"
