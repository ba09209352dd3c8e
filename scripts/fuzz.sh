#!/usr/bin/env bash
# Runs every fuzz target with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, one after another (niced: the machine is
# shared), each for SECONDS, and prints a table of executions, time and
# findings. Exits non-zero when a target found something.
#
#   scripts/fuzz.sh SECONDS [TARGET...]          e.g. scripts/fuzz.sh 60
#   scripts/fuzz.sh --runs N SECONDS [TARGET...] N executions each, SECONDS at most (0: no limit)
#   scripts/fuzz.sh --max-len N ...              inputs of at most N bytes (default 4096; a few
#                                                hundred bytes hold several answer or record
#                                                lines and run several times faster)
#
# TARGET is a name of tests/fuzz (answer_lines, journal_record, ...); all by
# default. Builds with clang-14 into ./build-fuzz (TARVIK_LIBFUZZER: the
# libraries without widgets and the targets, nothing else), installing
# clang, its sanitizer and fuzzer runtime and llvm-symbolizer through
# apt-get when they are missing. Each target starts from its seed corpus
# (tests/fuzz/corpus/<target>/, only read) and the inputs it found before
# (build-fuzz/corpus/<target>/); a finding is kept as
# build-fuzz/findings/<target>-crash-... and the run's output is in
# build-fuzz/logs/<target>.log. Replay a finding, with the full stacks, with
#   ASAN_OPTIONS=malloc_context_size=30 build-fuzz/tests/fuzz/fuzz_<target> FILE
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${TARVIK_FUZZ_BUILD_DIR:-$root/build-fuzz}

runs=""
max_len=4096
while [[ "${1:-}" == "--runs" || "${1:-}" == "--max-len" ]]; do
    case "$1" in
    --runs) runs=${2:?--runs needs a number} ;;
    --max-len) max_len=${2:?--max-len needs a number} ;;
    esac
    shift 2
done
seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [[ -z "$runs" && "$seconds" -eq 0 ]]; then
    sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
shift
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=($(sed -n 's/^tarvik_add_fuzz_target(NAME \([a-z_]*\).*/\1/p' "$root/tests/fuzz/CMakeLists.txt"))
fi

packages=(
    clang-14 libclang-rt-14-dev llvm cmake ninja-build pkg-config
    qt6-base-dev libgl-dev libxlsxwriter-dev
)
"$root/scripts/install_packages.sh" "${packages[@]}"

if [[ ! -f "$build_dir/build.ninja" ]]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Debug keeps Qt's own assertions (an index out of a list's range stops
    # the run); -O1 keeps the runs fast.
    cmake -S "$root" -B "$build_dir" -G Ninja "${launcher[@]}" \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
        -DTARVIK_LIBFUZZER=ON -DTARVIK_SANITIZE=address,undefined
fi
nice -n 10 cmake --build "$build_dir" -j2 --target fuzz_targets

# A smaller quarantine than the default 256 MB keeps the many small inputs fast;
# a use after free within one input is still caught. Two frames of each
# allocation's stack are kept instead of thirty: storing the stacks of every
# allocation made long runs of the targets that build many strings three times
# slower, and a finding's full stacks come from replaying it (below).
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=64:malloc_context_size=2:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer || true)}
mkdir -p "$build_dir/findings" "$build_dir/logs"

found=0
rows=()
for t in "${targets[@]}"; do
    program="$build_dir/tests/fuzz/fuzz_$t"
    seeds="$root/tests/fuzz/corpus/$t"
    [[ -x "$program" && -d "$seeds" ]] || { echo "no fuzz target $t" >&2; exit 2; }
    corpus="$build_dir/corpus/$t"
    log="$build_dir/logs/$t.log"
    mkdir -p "$corpus"
    limit=(-max_total_time="$seconds")
    [[ -n "$runs" ]] && limit=(-runs="$runs" -max_total_time="$seconds")
    echo "== $t: ${runs:+$runs executions, }${seconds}s at most"
    start=$(date +%s)
    status=0
    nice -n 10 "$program" "${limit[@]}" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build_dir/findings/$t-" \
        "$corpus" "$seeds" >"$log" 2>&1 || status=$?
    took=$(($(date +%s) - start))
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if ((status == 0)); then
        result="no finding"
    else
        found=1
        artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
        result="FINDING (exit $status) ${artifact:-see $log}"
        grep -m1 -E "ERROR: (Address|UndefinedBehavior|libFuzzer)|runtime error|check failed" "$log" || true
    fi
    rows+=("$(printf '%-18s %12s %7ss  %s' "$t" "${executions:-?}" "$took" "$result")")
done

echo
printf '%-18s %12s %8s  %s\n' target executions time result
printf '%s\n' "${rows[@]}"
exit $found
