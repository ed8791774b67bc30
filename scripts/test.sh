#!/usr/bin/env bash
# Sets up, checks the formatting (once the tree is formatted: .format-enforced), builds one clang tree
# with AddressSanitizer and UndefinedBehaviorSanitizer holding the tests, benchmarks and libFuzzer
# targets, runs every test case there, then each fuzz target for a while; then builds only the tests
# labelled "tsan" (and what they link) under ThreadSanitizer and runs them. Any failure fails the
# script; the last lines are the summary of the main test run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
jobs=$(nproc)
# Wall-clock seconds for all fuzz targets together.
fuzz_budget=80

if [ -f "$root/.format-enforced" ]; then
    echo "== format check (${SECONDS}s)"
    "$root/scripts/format.sh" --check
fi

# Sanitizer trees: -O1 and line tables only, which is all a sanitizer report needs.
echo "== ASan/UBSan build: tests, benchmarks, fuzz targets (${SECONDS}s)"
# Warnings are errors here, so that the count stays at zero.
asan=(-DQYR_SANITIZE=ON -DQYR_BENCH=ON -DQYR_WERROR=ON)
if command -v clang >/dev/null && command -v clang++ >/dev/null; then
    asan+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQYR_FUZZ=ON
           "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
           "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG")
else
    echo "clang not found: no fuzz targets"
    asan+=("-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")
fi
"$root/scripts/build.sh" build-asan "${asan[@]}"
main_log="$root/build-asan/ctest-main.log"
(cd "$root/build-asan" && ctest --output-on-failure --parallel "$jobs") 2>&1 | tee "$main_log"

# Fuzzing: every bin/fuzz_* runs on a copy of its seeds (see fuzz/CMakeLists.txt), several at once.
run_fuzzer()
{
    local bin=$1 seconds=$2
    local name work seeds
    name=$(basename "$bin")
    work="$root/build-asan/fuzz-runs/$name"
    mkdir -p "$work/corpus" "$work/artifacts" "$work/home/config"
    seeds=$(cat "$root/build-asan/fuzz/$name.seeds" 2>/dev/null || true)
    if [ -n "$seeds" ] && [ -d "$seeds" ]; then
        cp -R "$seeds/." "$work/corpus/"
    fi
    if HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" \
        LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
        "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/log" 2>&1; then
        echo "fuzz: $name: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$work/log" | tail -n 1)s, no finding"
    else
        echo "fuzz: $name FAILED; log: $work/log, input: $(ls "$work/artifacts/"* 2>/dev/null | head -n 1)"
        tail -n 60 "$work/log"
        return 1
    fi
}

echo "== fuzz targets (${SECONDS}s)"
rm -rf "$root/build-asan/fuzz-runs"
fuzzers=()
for f in "$root"/build-asan/bin/fuzz_*; do
    [ -f "$f" ] && [ -x "$f" ] && fuzzers+=("$f")
done
if [ ${#fuzzers[@]} -gt 0 ]; then
    # Half the cores at once (each run is one process); the time is shared out so that all rounds
    # together stay within the budget.
    at_once=$(( jobs / 2 > 0 ? jobs / 2 : 1 ))
    rounds=$(( (${#fuzzers[@]} + at_once - 1) / at_once ))
    seconds=$(( fuzz_budget / rounds ))
    [ "$seconds" -gt 60 ] && seconds=60
    [ "$seconds" -lt 2 ] && seconds=2
    echo "fuzz: ${#fuzzers[@]} targets, ${seconds}s each, $at_once at a time"
    failed=0
    running=0
    for f in "${fuzzers[@]}"; do
        if [ "$running" -ge "$at_once" ]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
        run_fuzzer "$f" "$seconds" &
        running=$((running + 1))
    done
    while [ "$running" -gt 0 ]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    if [ "$failed" -ne 0 ]; then
        echo "fuzz: a target found a fault (see above)"
        exit 1
    fi
fi

# ThreadSanitizer: only the tests labelled "tsan" and the layers they link are built.
echo "== ThreadSanitizer tests (${SECONDS}s)"
"$root/scripts/build.sh" build-tsan -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DQYR_TSAN=ON -DQYR_BENCH=OFF \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
    -- --target qyr_tsan_tests
(cd "$root/build-tsan" && TSAN_OPTIONS=second_deadlock_stack=1 \
    ctest -L '^tsan$' --no-tests=ignore --output-on-failure --parallel "$jobs")

# CI reads the closing lines: end on the main run's summary.
echo
echo "== done (${SECONDS}s); main test run (AddressSanitizer and UndefinedBehaviorSanitizer):"
sed -n '/tests passed, /,$p' "$main_log"
