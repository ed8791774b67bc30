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
    bad=()
    for f in "${files[@]}"; do
        "$fmt" --style=file "$f" | cmp -s - "$f" || bad+=("$f")
    done
    if [ ${#bad[@]} -gt 0 ]; then
        echo "format: ${#bad[@]} file(s) not formatted (run scripts/format.sh):"
        printf '  %s\n' "${bad[@]}"
        exit 1
    fi
    echo "format: ${#files[@]} files formatted"
else
    printf '%s\0' "${files[@]}" | xargs -0 -r -n 50 -P "$(nproc)" "$fmt" --style=file -i
fi
