#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh <dir> [cmake options...] [-- build options...]
# ccache is used when it is installed (see CMakeLists.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
cmake_args=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    cmake_args+=("$1")
    shift
done
[ "${1:-}" = "--" ] && shift
# Precompiled headers may be cached: their macros and time stamps are checked by the compiler.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
# Paths below the checkout are hashed relative to it, so a fresh clone elsewhere (as CI makes) still
# finds what an earlier clone compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S "$root" -B "$root/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_args[@]}" >/dev/null
cmake --build "$root/$dir" --parallel "$(nproc)" "$@"
