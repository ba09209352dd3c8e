#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool. A panel emulator is
# started beside it (programming cable, its port announced in the port list)
# and stopped again when the tool exits.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
build_dir=${TARVIK_BUILD_DIR:-$root/build}
tool="$build_dir/src/app/tarvik1"
emulator="$build_dir/emulator/panel-emulator"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "No graphical session found (DISPLAY is not set): start ./run.sh from a desktop session." >&2
    exit 1
fi

emulator_out=$(mktemp)
"$emulator" --mode cable >"$emulator_out" 2>&1 &
emulator_pid=$!
cleanup() {
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
    rm -f "$emulator_out"
}
trap cleanup EXIT

# The emulator prints its port as its first line.
for _ in $(seq 1 50); do
    [[ -s "$emulator_out" ]] && break
    kill -0 "$emulator_pid" 2>/dev/null || break
    sleep 0.1
done
port=$(head -n 1 "$emulator_out" || true)
if ! kill -0 "$emulator_pid" 2>/dev/null || [[ -z "$port" ]]; then
    echo "The panel emulator did not start:" >&2
    cat "$emulator_out" >&2
    exit 1
fi
echo "Panel emulator on $port (programming cable). Press Connect and choose it."

"$tool"
