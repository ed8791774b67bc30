#!/usr/bin/env bash
# Fuzzes libFuzzer targets of the build-asan tree (scripts/test.sh configures it) and keeps what they
# found in their seed corpora (fuzz/corpus/<dir>/):
#   scripts/fuzz.sh [-s SECONDS] [-j JOBS] [--no-merge] [TARGET ...]
# TARGET is fuzz_<name> or <name>; none means every target. Each runs SECONDS (default 300), JOBS at
# a time (default: the number of cores). Afterwards only the new inputs that add coverage to the
# seeds are merged into them (libFuzzer's -merge=1); --no-merge leaves the seeds as they are.
# Any finding (crash, sanitizer report, leak, timeout) fails the script and names its input.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree="$root/build-asan"
seconds=300
jobs=$(nproc)
merge=1
names=()
while [ $# -gt 0 ]; do
    case $1 in
    -s) seconds=$2; shift 2 ;;
    -j) jobs=$2; shift 2 ;;
    --no-merge) merge=0; shift ;;
    -h | --help) sed -n '2,8s/^# \{0,1\}//p' "$0"; exit 0 ;;
    -*) echo "fuzz: unknown option $1" >&2; exit 2 ;;
    *) names+=("fuzz_${1#fuzz_}"); shift ;;
    esac
done
if ! [[ $seconds =~ ^[1-9][0-9]*$ && $jobs =~ ^[1-9][0-9]*$ ]]; then
    echo "fuzz: -s and -j take a whole number above zero" >&2
    exit 2
fi
if [ ! -f "$tree/build.ninja" ] || ! grep -q '^QYR_FUZZ:BOOL=ON' "$tree/CMakeCache.txt"; then
    echo "fuzz: $tree is not configured with fuzz targets (scripts/test.sh configures it)" >&2
    exit 2
fi
# Every target leaves <name>.seeds (where its seeds are) in the tree when configured.
mapfile -t all < <(cd "$tree/fuzz" && ls fuzz_*.seeds 2>/dev/null | sed 's/\.seeds$//')
if [ ${#all[@]} -eq 0 ]; then
    echo "fuzz: no fuzz targets in $tree" >&2
    exit 2
fi
[ ${#names[@]} -eq 0 ] && names=("${all[@]}")
for n in "${names[@]}"; do
    if ! printf '%s\n' "${all[@]}" | grep -qx "$n"; then
        echo "fuzz: no target $n (there are: ${all[*]})" >&2
        exit 2
    fi
done
# Readers that draw do so off screen; an undefined behaviour report stops the run with its stack.
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Stale binaries would fuzz old code: bring the chosen ones up to date (nothing to do after a build).
targets=()
for n in "${names[@]}"; do targets+=(--target "$n"); done
cmake --build "$tree" --parallel "$(nproc)" "${targets[@]}" >/dev/null

# One target: fuzzes into a fresh folder with the seeds read alongside (libFuzzer writes only to the
# first folder, so the seeds are not touched), then merges.
fuzz_one()
{
    local name=$1 bin="$tree/bin/$1" work="$tree/fuzz-runs/$1" seeds=""
    seeds=$(cat "$tree/fuzz/$name.seeds" 2>/dev/null || true)
    rm -rf "$work"
    mkdir -p "$work/new" "$work/artifacts" "$work/home/config"
    local dirs=("$work/new")
    if [ -n "$seeds" ]; then
        [ "$merge" -eq 1 ] && mkdir -p "$seeds"
        [ -d "$seeds" ] && dirs+=("$seeds")
    fi
    # Settings and files the readers write go below the run's own home, not the user's.
    local env=(HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"
               LSAN_OPTIONS="suppressions=$root/tests/lsan.supp")
    local opts=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/")
    local start=$SECONDS status=0
    env "${env[@]}" "$bin" -max_total_time="$seconds" "${opts[@]}" "${dirs[@]}" >"$work/log" 2>&1 || status=$?
    local took=$((SECONDS - start)) runs cov0 cov
    runs=$(sed -n 's/^Done \([0-9]*\) runs in .*/\1/p' "$work/log" | tail -n 1)
    cov0=$(sed -n 's/.*INITED cov: \([0-9]*\).*/\1/p' "$work/log" | head -n 1)
    cov=$(grep -Eo 'cov: [0-9]+' "$work/log" | tail -n 1 | cut -d' ' -f2)
    local line="fuzz: $name: ${took} s, ${runs:-?} runs, cov: ${cov0:-?} -> ${cov:-?}"
    if [ "$status" -ne 0 ]; then
        # One write, so that runs side by side do not interleave their reports.
        printf '%s, FAILED (exit %s)\n  log: %s\n  input: %s\n%s\n' "$line" "$status" "$work/log" \
            "$(ls "$work/artifacts/"* 2>/dev/null | head -n 1)" "$(tail -n 60 "$work/log")"
        return 1
    fi
    if [ "$merge" -eq 1 ] && [ -n "$seeds" ] && [ -n "$(ls -A "$work/new")" ]; then
        local before after
        before=$(ls -A "$seeds" | wc -l)
        if ! env "${env[@]}" "$bin" -merge=1 "${opts[@]}" "$seeds" "$work/new" >"$work/merge.log" 2>&1; then
            printf '%s, merge FAILED\n  log: %s\n%s\n' "$line" "$work/merge.log" "$(tail -n 30 "$work/merge.log")"
            return 1
        fi
        after=$(ls -A "$seeds" | wc -l)
        line+=", $((after - before)) new seed(s)"
    fi
    echo "$line, no finding"
}

failed=0
running=0
for n in "${names[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    fuzz_one "$n" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
if [ "$failed" -ne 0 ]; then
    echo "fuzz: a target found a fault or could not run (see above)"
    exit 1
fi
