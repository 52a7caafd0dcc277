#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz (preset fuzz: clang 14 with
# AddressSanitizer, LeakSanitizer and UBSan) and runs each one for the given
# number of seconds (default 300) on its seed corpus. The corpus that a run
# grows is kept in the build folder, so that each run goes on from the last.
# An input that crashes a target or breaks one of its properties is written
# to <build>/findings/ and makes the script fail.
#
#   scripts/fuzz.sh [seconds-per-target] [target ...]
#
# FUZZ_BUILD_DIR chooses the build folder (default build/fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-300}
shift $(($# > 0 ? 1 : 0))
build=${FUZZ_BUILD_DIR:-build/fuzz}

if ! command -v clang++-14 >/dev/null; then
    echo "fuzz: clang++-14 is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

# target, its largest input, then its seed folders.
declare -A max_len=([fuzz_store]=20000 [fuzz_pack]=20000 [fuzz_detect]=2048 [fuzz_reg_file]=4096)
declare -A seeds=(
    [fuzz_store]="tests/fuzz/corpus/installers"
    [fuzz_pack]="tests/fuzz/corpus/installers"
    [fuzz_detect]="tests/fuzz/corpus/detect examples/machines tests/detect/fixtures"
    [fuzz_reg_file]="examples/machines tests/detect/fixtures"
)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_store fuzz_pack fuzz_detect fuzz_reg_file)
fi

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzz_targets

failed=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    log="$build/logs/$target.log"
    mkdir -p "$corpus" "$build/findings" "$build/logs"
    # shellcheck disable=SC2086 # the seed folders are words
    if "$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" "$corpus" ${seeds[$target]} >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz: $target ran $runs inputs in ${seconds}s, corpus of $(ls "$corpus" | wc -l), no finding"
    else
        failed=1
        echo "fuzz: $target FOUND A FAULT; the input is in $build/findings/, the log in $log:" >&2
        grep -E "property violated|ERROR|SUMMARY|Test unit written" "$log" >&2 || tail -20 "$log" >&2
    fi
done
exit $failed
