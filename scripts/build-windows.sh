#!/usr/bin/env bash
# Cross-builds the desktop Windows programs (32-bit, mingw-w64) into build-windows/ (or
# $QV_BUILD_WINDOWS when set): bin/Dovetrix.exe, bin/QVClient.DLL, bin/QVClientLegacy.DLL and
# the shared runtime's unit tests as tests/*.exe. Installs the cross compiler and Wine (with the
# i386 architecture) when they are missing.
#   scripts/build-windows.sh [--target NAME]...
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QV_BUILD_WINDOWS:-$top/build-windows}
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --target)
      [ $# -ge 2 ] || { echo "build-windows.sh: --target needs a target name" >&2; exit 2; }
      targets+=("$2")
      shift 2 ;;
    *)
      targets+=("$1")
      shift ;;
  esac
done

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || need+=(g++-mingw-w64-i686-posix)
command -v wine >/dev/null 2>&1 || need+=(wine)
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v ninja >/dev/null 2>&1 || need+=(ninja-build)
[ -d /usr/src/googletest ] || need+=(googletest)
if [ ${#need[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  "${sudo[@]}" apt-get update -q
  for p in "${need[@]}"; do
    if ! apt-cache policy "$p" | grep -q 'Candidate: [0-9]'; then
      echo "build-windows.sh: the package $p is not available from this machine's sources" >&2
      exit 1
    fi
  done
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
    "${need[@]}"
fi

opts=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686-w64-mingw32.cmake")
if command -v ccache >/dev/null 2>&1; then
  opts+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi
cmake -S "$top" -B "$build" -G Ninja "${opts[@]}" >/dev/null
ninja -C "$build" "${targets[@]}"
