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
cmake -S "$top" -B "$build" -G Ninja "${opts[@]}" "$@" >/dev/null
ninja -C "$build"
