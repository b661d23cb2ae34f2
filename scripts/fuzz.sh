#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz with clang (address and undefined behaviour
# sanitizers) in build-fuzz/ and runs each for SECONDS, at the lowest priority.
#
# Usage: scripts/fuzz.sh [--merge] [--runs N] [SECONDS [HARNESS...]]
#   SECONDS   time for each harness (default 60)
#   --runs N  stop a harness after N executions when that comes before SECONDS
#   HARNESS   recordfile apprecord grammarfile keystrokes wavreader (default: all)
#   --merge   afterwards, add the new inputs that reach new code to tests/fuzz/corpus/HARNESS
#
# Inputs grow in build-fuzz/work/HARNESS. A crash or broken property leaves its input in
# build-fuzz/crashes/; keep it in tests/fuzz/found/HARNESS once the bug is fixed, so that every
# test run replays it. Installs clang and libclang-rt-14-dev when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh fuzz

merge=false
runs=-1
while [ $# -gt 0 ]; do
    case "$1" in
    --merge) merge=true; shift ;;
    --runs) runs=$2; shift 2 ;;
    *) break ;;
    esac
done
seconds=${1:-60}
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=(recordfile apprecord grammarfile keystrokes wavreader)

nice -n 19 cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 19 cmake --build build-fuzz -j"$(nproc)" >/dev/null
mkdir -p build-fuzz/crashes

failed=0
for name in "${harnesses[@]}"; do
    work=build-fuzz/work/$name
    mkdir -p "$work"
    corpus=(tests/fuzz/corpus/"$name")
    [ -d tests/fuzz/found/"$name" ] && corpus+=(tests/fuzz/found/"$name")
    log=build-fuzz/$name.log
    if nice -n 19 build-fuzz/fuzz_"$name" -max_total_time="$seconds" -runs="$runs" \
        -max_len=8192 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/crashes/"$name"- \
        "$work" "${corpus[@]}" >"$log" 2>&1; then
        result=ok
    else
        result="FAILED (see $log)"
        failed=1
    fi
    executed=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    took=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o '[0-9]* second' || echo "?")
    echo "$name: $executed executions in ${took}s, $result"
    if $merge && [ "$result" = ok ]; then
        nice -n 19 build-fuzz/fuzz_"$name" -merge=1 -max_len=8192 tests/fuzz/corpus/"$name" \
            "$work" >>"$log" 2>&1
    fi
done
exit $failed
