#!/usr/bin/env bash
# Shared by ./test.sh and ./run.sh: installs the Debian packages that are
# missing (and only those, so a second run is quick), generates the
# ru_RU.UTF-8 locale when it is missing, then configures and builds the
# project into ./build.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${TARVIK_BUILD_DIR:-$root/build}

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libgl-dev qt6-translations-l10n
    libqt6sql6-sqlite  # the archive: Qt SQL's SQLite driver, loaded at run time
    libgtest-dev libgmock-dev libbenchmark-dev
    libxlsxwriter-dev unzip
    locales           # the tests that also run under ru_RU.UTF-8
    dpkg-dev file desktop-file-utils  # cpack -G DEB and the package test
    lintian man-db binutils           # the package test: lintian, the manual pages, readelf
)

"$root/scripts/install_packages.sh" "${packages[@]}"
"$root/scripts/generate_locale.sh" ru_RU.UTF-8

if [[ ! -f "$build_dir/build.ninja" ]]; then
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" -j "$(nproc)"
