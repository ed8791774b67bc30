#!/usr/bin/env bash
# Sets up, checks the formatting (once the tree is formatted: .format-enforced), builds one clang tree
# with AddressSanitizer and UndefinedBehaviorSanitizer holding the tests, benchmarks and libFuzzer
# targets, runs every test case there, then fuzzes a share of the fuzz targets; then builds only the
# tests labelled "tsan" (and what they link) under ThreadSanitizer and runs them. Any failure fails
# the script; the last lines are the seconds of each stage and the summary of the main test run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Each stage's seconds are printed at the end (and when a stage fails).
stage=setup
stage_start=$SECONDS
stages=()
next_stage()
{
    stages+=("$stage $((SECONDS - stage_start))s")
    stage=$1
    stage_start=$SECONDS
    [ "$1" = done ] || echo "== $1 (${SECONDS}s)"
}
print_stages()
{
    echo "== seconds per stage: $(IFS=,; echo "${stages[*]}" | sed 's/,/, /g')"
}
trap 'rc=$?; [ "$rc" -eq 0 ] || { next_stage done; print_stages; }' EXIT
echo "== setup (${SECONDS}s)"
"$root/scripts/setup-deps.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
jobs=$(nproc)
# Seconds of each fuzz target, and how many rounds of one target per core a run takes.
FUZZ_SECONDS=30
FUZZ_ROUNDS=4

if [ -f "$root/.format-enforced" ]; then
    next_stage format
    "$root/scripts/format.sh" --check
fi

# Sanitizer trees: -O1 and line tables only, which is all a sanitizer report needs.
next_stage build
echo "ASan/UBSan tree: tests, benchmarks, fuzz targets"
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
next_stage tests
(cd "$root/build-asan" && ctest --output-on-failure --parallel "$jobs") 2>&1 | tee "$main_log"

# Fuzzing: a share of the targets, FUZZ_SECONDS each, as many at once as there are cores, so that
# each gets time enough to find something. The commit chooses the share, so every target comes round
# within a few commits. scripts/fuzz.sh runs them on their seeds and leaves the seeds as they are.
next_stage fuzz
mapfile -t fuzzers < <(cd "$root/build-asan/fuzz" 2>/dev/null && ls fuzz_*.seeds 2>/dev/null | sed 's/\.seeds$//')
if [ ${#fuzzers[@]} -gt 0 ]; then
    share=$((jobs * FUZZ_ROUNDS))
    groups=$(( (${#fuzzers[@]} + share - 1) / share ))
    commit=$(git -C "$root" rev-parse HEAD 2>/dev/null || echo 0)
    group=$(( 16#${commit:0:8} % groups ))
    chosen=()
    for i in "${!fuzzers[@]}"; do
        [ $((i % groups)) -eq "$group" ] && chosen+=("${fuzzers[$i]}")
    done
    echo "fuzz: commit ${commit:0:8} takes share $((group + 1)) of $groups:" \
        "${#chosen[@]} of ${#fuzzers[@]} targets, ${FUZZ_SECONDS}s each, $jobs at a time"
    "$root/scripts/fuzz.sh" --no-merge -s "$FUZZ_SECONDS" -j "$jobs" "${chosen[@]}"
fi

# ThreadSanitizer: only the tests labelled "tsan" and the layers they link are built.
next_stage "tsan build"
"$root/scripts/build.sh" build-tsan -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DQYR_TSAN=ON -DQYR_BENCH=OFF \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
    -- --target qyr_tsan_tests
next_stage "tsan tests"
(cd "$root/build-tsan" && TSAN_OPTIONS=second_deadlock_stack=1 \
    ctest -L '^tsan$' --no-tests=ignore --output-on-failure --parallel "$jobs")

next_stage done
trap - EXIT
print_stages
# CI reads the closing lines: end on the main run's summary.
echo
echo "== done (${SECONDS}s); main test run (AddressSanitizer and UndefinedBehaviorSanitizer):"
sed -n '/tests passed, /,$p' "$main_log"
