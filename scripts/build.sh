#!/usr/bin/env bash
# Configures and builds the system into build/ (or $QV_BUILD when set).
#   scripts/build.sh [--sanitize] [--target NAME]... [extra cmake options...]
# --sanitize    AddressSanitizer + UndefinedBehaviorSanitizer, in build-sanitize/
# --target NAME builds only the named target (repeatable), e.g. --target Dovetrix; without it
#               everything is built
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QV_BUILD:-$top/build}
opts=()
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --sanitize)
      build=${QV_BUILD:-$top/build-sanitize}
      opts+=(-DQV_SANITIZE=ON -DQV_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
      shift ;;
    --target)
      [ $# -ge 2 ] || { echo "build.sh: --target needs a target name" >&2; exit 2; }
      targets+=("$2")
      shift 2 ;;
    *)
      opts+=("$1")
      shift ;;
  esac
done
# A compiler cache, when the machine has one, makes rebuilds of unchanged units free.
# Paths are taken relative to the repository, so clones in other folders share the cache.
if command -v ccache >/dev/null 2>&1; then
  opts+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi
cmake -S "$top" -B "$build" -G Ninja "${opts[@]}" >/dev/null
ninja -C "$build" "${targets[@]}"
