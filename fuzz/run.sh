#!/usr/bin/env bash
# Builds the native fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), replays every saved regression input through them, then
# fuzzes each target in turn, the time split evenly between them.
#
#   bash fuzz/run.sh                  # 10 s in all, as the test run does
#   bash fuzz/run.sh --seconds 600    # a longer search
#   bash fuzz/run.sh --build-dir DIR  # build, corpus and logs in DIR (build/fuzz-native)
#
# New inputs that reach new code go to DIR/corpus/TARGET and are kept between runs; the
# committed seeds in fuzz/corpus/TARGET are only read. A crash leaves its input in
# DIR/artifacts and fails the run; copy it into fuzz/regressions/TARGET once understood.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seconds=10
build=$(cd "$here/.." && pwd)/build/fuzz-native
while [ $# -gt 0 ]; do
    case $1 in
        --seconds) seconds=$2; shift 2 ;;
        --build-dir) build=$2; shift 2 ;;
        *) echo "usage: $0 [--seconds N] [--build-dir DIR]" >&2; exit 2 ;;
    esac
done

compiler=$(command -v clang++-14 || command -v clang++ || true)
if [ -z "$compiler" ]; then
    echo "fuzz: clang++ is missing (scripts/setup.sh installs it)" >&2
    exit 1
fi
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build "$build" -j2 >/dev/null

targets=()
for source in "$here"/*_fuzzer.cpp; do
    targets+=("$(basename "$source" .cpp)")
done
share=$(( seconds / ${#targets[@]} ))
[ "$share" -ge 1 ] || share=1

export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p "$build/logs" "$build/artifacts"
for target in "${targets[@]}"; do
    log=$build/logs/$target.log
    regressions=("$here/regressions/$target"/*)
    if [ -e "${regressions[0]}" ]; then
        if ! "$build/$target" "${regressions[@]}" >"$log" 2>&1; then
            tail -n 40 "$log"
            echo "fuzz: $target fails on a saved regression input (log: $log)"
            exit 1
        fi
        echo "fuzz: $target replays ${#regressions[@]} regression inputs cleanly"
    fi

    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    seeds=()
    [ -d "$here/corpus/$target" ] && seeds=("$here/corpus/$target")
    if ! "$build/$target" -max_total_time="$share" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $target crashed; the input is in $build/artifacts (log: $log)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    final=$(grep -E '\sDONE\s' "$log" | tail -n 1 || true)
    coverage=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$final")
    live=$(sed -n 's|.* corp: \([0-9]*\)/.*|\1|p' <<<"$final")
    echo "fuzz: $target ran $runs inputs in $share s, coverage $coverage edges," \
        "corpus $live inputs ($(ls "$corpus" | wc -l) kept in $corpus), no crash"
done
