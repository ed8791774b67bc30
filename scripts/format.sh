#!/usr/bin/env bash
# Formats every first-party C++ source and header with the repository's .clang-format:
#   scripts/format.sh           formats the files in place
#   scripts/format.sh --check   changes nothing; lists the files that are not formatted and fails
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fmt=$(command -v clang-format || command -v clang-format-14 || true)
if [ -z "$fmt" ]; then
    echo "format: clang-format not found (scripts/setup-deps.sh installs it)" >&2
    exit 2
fi
# Tracked and new files alike, but nothing in build trees or outside the repository's own code.
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | grep -vE '^(build|out)[^/]*/' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
if [ "${1:-}" = "--check" ]; then
    # One clang-format per batch of files, several batches at once: starting it once per file costs
    # minutes on a loaded machine. A file that is not formatted yields one "code should be
    # clang-formatted" line naming it.
    out=$(printf '%s\0' "${files[@]}" | xargs -0 -r -n 100 -P "$(nproc)" \
        "$fmt" --style=file --dry-run -Werror --ferror-limit=1 2>&1) && status=0 || status=$?
    mapfile -t bad < <(printf '%s\n' "$out" |
        sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
    if [ ${#bad[@]} -gt 0 ]; then
        echo "format: ${#bad[@]} file(s) not formatted (run scripts/format.sh):"
        printf '  %s\n' "${bad[@]}"
        exit 1
    fi
    if [ "$status" -ne 0 ]; then
        printf '%s\n' "$out" >&2
        echo "format: clang-format failed" >&2
        exit 2
    fi
    echo "format: ${#files[@]} files formatted"
else
    printf '%s\0' "${files[@]}" | xargs -0 -r -n 50 -P "$(nproc)" "$fmt" --style=file -i
fi
