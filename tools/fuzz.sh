#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (fuzz/) with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a given time, starting from
# the shipped files of its kind. Prints the executions per target and ends
# with a non-zero status when any target found a crash, a hang (one input
# taking more than 10 s) or an allocation of more than 512 MB.
#
#   tools/fuzz.sh [SECONDS_PER_TARGET | --long] [TARGET...]
#
# --long runs each target for ten minutes, for a search deeper than CI's.
# Targets: gif jpeg png ico wav midi (all by default); 60 s each by default.
# The corpus grows in build-fuzz/corpus/TARGET between runs; whatever a
# target finds is kept in build-fuzz/findings/ and can be replayed with
#   build-fuzz/fuzz/fuzz_TARGET build-fuzz/findings/FILE
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ "$seconds" = --long ] && seconds=600
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(gif jpeg png ico wav midi)

command -v clang++ >/dev/null || { echo "fuzz.sh needs clang with libFuzzer: bash scripts/install-deps" >&2; exit 2; }
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTARO_FUZZ=ON \
    -DTINTARO_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

# The shipped files each target starts from.
seeds() {
    case $1 in
    gif) ls assets/PICTURE/*.GIF ;;
    jpeg) ls assets/PICTURE/*.JPG ;;
    png) ls assets/UI/*.png ;;
    ico) ls assets/PICTURE/*.ICO ;;
    wav) ls assets/SOUND/*.WAV fuzz/regressions/wav/* ;;
    midi) ls assets/MUSIC/*.MID tests/audio/fixtures/*.mid ;;
    *) echo "unknown target $1" >&2; exit 2 ;;
    esac
}

mkdir -p "$build/findings"
failed=0
summary=()
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target" seedDir="$build/seeds/$target" log="$build/fuzz-$target.log"
    mkdir -p "$corpus" "$seedDir"
    seeds "$target" | xargs -I{} cp {} "$seedDir/"
    status=0
    "$build/fuzz/fuzz_$target" "$corpus" "$seedDir" -max_total_time="$seconds" -timeout=10 \
        -malloc_limit_mb=512 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" >"$log" 2>&1 || status=$?
    runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
    rate=$(awk '/stat::average_exec_per_sec/ { print $2 }' "$log")
    if [ "$status" -eq 0 ]; then
        result=clean
    else
        failed=1
        result="FOUND $(grep -o 'SUMMARY: [^ ]*: [a-z-]*\|ERROR: libFuzzer: [a-z-]*' "$log" | head -1 | sed 's/.*: //')"
        result="$result: $(grep -o "Test unit written to .*" "$log" | sed 's/Test unit written to //' | head -1) (log $log)"
    fi
    summary+=("$(printf '%-5s %10s executions %7s/s  %s' "$target" "${runs:-?}" "${rate:-?}" "$result")")
    echo "${summary[-1]}"
done

echo
echo "Fuzzing, ${seconds} s per target:"
printf '  %s\n' "${summary[@]}"
exit "$failed"
