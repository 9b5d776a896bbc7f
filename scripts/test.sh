#!/usr/bin/env bash
# Installs what is missing, builds from nothing and runs every test.
#   scripts/test.sh              plain build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer in build-sanitize/
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/cli.sh"
usage() {
  cat <<'TEXT'
usage: test.sh [--sanitize]
       test.sh --help | --version
Installs what is missing, builds everything and runs every test.
  --sanitize  under AddressSanitizer + UndefinedBehaviorSanitizer, in build-sanitize/
Exit status 0 when every test passed, 1 when the build or a test failed, 2 for a wrong
command line.
TEXT
}
sanitize=""
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=--sanitize ;;
    -h|--help) usage; exit 0 ;;
    --version) qv_version ;;
    -*) qv_usage_error "unknown option '$arg'" ;;
    *) qv_usage_error "unexpected argument '$arg'" ;;
  esac
done
"$top/scripts/install-deps.sh"
build=$top/build
if [ -n "$sanitize" ]; then
  build=$top/build-sanitize
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
QV_BUILD=$build "$top/scripts/build.sh" $sanitize
cd "$build"
ctest --output-on-failure -j2 --timeout 600
