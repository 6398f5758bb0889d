#!/usr/bin/env bash
# Configures and builds everything (Release with debug info) into build/, or into the folder
# given first with the CMake options that follow it (.ci/run: build-sanitize -DTAVRICAT_SANITIZE=ON).
# Compiles go through ccache when it is installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/${1:-build}"
shift $(( $# > 0 ? 1 : 0 ))
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths relative to the checkout, so that a second clone hits the same cache; the
  # precompiled headers need these sloppiness settings to be cached at all.
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
  export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j2
