#!/usr/bin/env bash
# Installs what is missing, builds from nothing and runs every test.
#   scripts/test.sh              plain build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer in build-sanitize/
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
build=$top/build
if [ "${1:-}" = "--sanitize" ]; then
  build=$top/build-sanitize
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
QV_BUILD=$build "$top/scripts/build.sh" "$@"
cd "$build"
ctest --output-on-failure -j2 --timeout 600
