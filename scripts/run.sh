#!/usr/bin/env bash
# Sets up, builds and starts the player on the bundled demo project.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh" build -DQYR_TESTS=OFF -DQYR_BENCH=OFF
exec "$root/build/bin/QYRView" "$@"
