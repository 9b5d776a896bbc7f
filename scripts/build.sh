#!/usr/bin/env bash
# Configures and builds the whole system into build/ (or $QV_BUILD when set).
#   scripts/build.sh [--sanitize] [extra cmake options...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QV_BUILD:-$top/build}
opts=()
if [ "${1:-}" = "--sanitize" ]; then
  shift
  build=${QV_BUILD:-$top/build-sanitize}
  opts+=(-DQV_SANITIZE=ON -DQV_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
fi
# A compiler cache, when the machine has one, makes rebuilds of unchanged units free.
if command -v ccache >/dev/null 2>&1; then
  opts+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$build" -G Ninja "${opts[@]}" "$@" >/dev/null
ninja -C "$build"
