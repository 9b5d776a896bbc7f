#!/usr/bin/env bash
# Configures and builds the system into build/ (or $QV_BUILD when set).
#   scripts/build.sh [--sanitize] [--target NAME]... [-DNAME=VALUE]...
# --sanitize    AddressSanitizer + UndefinedBehaviorSanitizer, in build-sanitize/
# --target NAME builds only the named target (repeatable), e.g. --target Dovetrix; without it
#               everything is built
# -DNAME=VALUE  passed to cmake
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/cli.sh"
usage() {
  cat <<'TEXT'
usage: build.sh [--sanitize] [--target NAME]... [-DNAME=VALUE]...
       build.sh --help | --version
Configures and builds the system into build/ (or $QV_BUILD when set).
  --sanitize     AddressSanitizer + UndefinedBehaviorSanitizer, in build-sanitize/
  --target NAME  builds only the named target (repeatable); without it everything is built
  -DNAME=VALUE   a cmake setting, such as -DQV_BENCH=OFF
Exit status 0 when built, 1 when the configuration or the build failed, 2 for a wrong
command line.
TEXT
}
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
      [ $# -ge 2 ] || qv_usage_error "option '--target' needs a value (NAME)"
      targets+=("$2")
      shift 2 ;;
    -h|--help) usage; exit 0 ;;
    --version) qv_version ;;
    -D?*)
      opts+=("$1")
      shift ;;
    -*) qv_usage_error "unknown option '$1'" ;;
    *) qv_usage_error "unexpected argument '$1' (targets are named with --target)" ;;
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
