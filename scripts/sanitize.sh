#!/usr/bin/env bash
# Builds the tool and its tests with sanitizers in a build folder of their
# own and runs the tests there. Exits non-zero when a test fails or a
# sanitizer reports anything.
#
#   scripts/sanitize.sh address   AddressSanitizer and UndefinedBehaviorSanitizer together
#                                 (LeakSanitizer included) over the whole suite, in ./build-asan
#   scripts/sanitize.sh thread    ThreadSanitizer over the tests whose code runs threads of
#                                 its own, in ./build-tsan: the serial link (label serial: the
#                                 port's receive thread), the exchange and connection over a
#                                 pty (label panel: the emulated panel serves from its thread)
#                                 and the emulator (label emulator)
#
# Extra arguments go to ctest (e.g. -R journal). Builds with g++ (Debug with
# -O1, so that Qt's own assertions stay on) and -j2, niced: the machine is
# shared. Reports wholly inside Qt's libraries, which Debian does not build
# with ThreadSanitizer, are suppressed by tests/tsan.supp; nothing else is.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-}
shift || true
case "$mode" in
address)
    build_dir=${TARVIK_ASAN_BUILD_DIR:-$root/build-asan}
    sanitize=address,undefined
    labels=""
    ;;
thread)
    build_dir=${TARVIK_TSAN_BUILD_DIR:-$root/build-tsan}
    sanitize=thread
    labels="serial|panel|emulator"
    ;;
*)
    sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac

if [[ ! -f "$build_dir/build.ninja" ]]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$build_dir" -G Ninja "${launcher[@]}" \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DTARVIK_SANITIZE="$sanitize"
fi

label_args=()
if [[ -n "$labels" ]]; then
    label_args=(-L "$labels")
    # Only the programs of those tests (a test is named after its program).
    mapfile -t programs < <(ctest --test-dir "$build_dir" -N "${label_args[@]}" |
        sed -n 's/^ *Test *#[0-9]*: *\([A-Za-z0-9_]*\)$/\1/p')
    nice -n 10 cmake --build "$build_dir" -j2 --target "${programs[@]}"
else
    nice -n 10 cmake --build "$build_dir" -j2
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
nice -n 10 ctest --test-dir "$build_dir" -j2 --output-on-failure "${label_args[@]}" "$@"
