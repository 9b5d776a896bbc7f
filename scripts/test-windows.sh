#!/usr/bin/env bash
# Runs the Windows build (scripts/build-windows.sh) under Wine, in one Wine prefix inside
# build-windows/ and in a network namespace of its own:
#   - the shared runtime's unit tests and the platform's of the Win32 services (tests/*.exe, by
#     CTest), leaving out the cases that cmake/QvWindows.cmake lists;
#   - Dovetrix.exe against Linux qvserver processes on loopback: usage texts and exit codes, its
#     log "C:\QVForecourt\log\Dovetrix.L00", the logon tries, export of the demo site, import
#     into an empty server, the older client library's fall-backs, each compared with what the
#     Linux build of Dovetrix does with the same server.
# Needs the Linux build's qvserver, Dovetrix, client libraries and qvroot-provision in build/
# (or $QV_BUILD) and the Windows build in build-windows/ (or $QV_BUILD_WINDOWS).
#   scripts/test-windows.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
win=${QV_BUILD_WINDOWS:-$top/build-windows}
lin=${QV_BUILD:-$top/build}

# Wine's sockets are made by its server process, so that and every program run here live in one
# network namespace, where the servers' loopback addresses belong to this run alone.
if [ -z "${QV_WINDOWS_NETNS:-}" ]; then
  if ! unshare -n true 2>/dev/null; then
    echo "test-windows.sh: SKIPPED, no network namespace can be made here (unshare -n)" >&2
    exit 0
  fi
  exec unshare -n env QV_WINDOWS_NETNS=1 bash -c 'ip link set lo up && exec bash "$0"' "$0"
fi

export WINEPREFIX=$win/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start=$(date +%s.%N)
seconds() { awk -v s="$1" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }'; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  echo "Wine prefix made in $(seconds "$start") s"
fi
drive=$WINEPREFIX/drive_c
work=$win/wine-tests
rm -rf "$work" "$drive/QVForecourt"
mkdir -p "$work" "$drive/QVForecourt/log"
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# ---- the shared runtime's unit tests, and the platform's of the services on Windows calls ----
# CTest runs them through Wine, without the cases that cmake/QvWindows.cmake lists and explains.
if (cd "$work" && ctest --test-dir "$win" --output-on-failure -j2 >"$work/ctest.log" 2>&1); then
  pass "unit tests ($(grep -o '[0-9]* tests failed out of [0-9]*' "$work/ctest.log"))"
else
  fail "unit tests"
  grep -E 'Failed|FAILED|Failure' -A4 "$work/ctest.log" | head -60
fi
echo "Unit tests done in $(seconds "$start") s"

# ---- Dovetrix.exe against Linux servers ----
servers=()
stop_servers() {
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap stop_servers EXIT
serve() { # address seed
  "$lin/bin/qvserver" --address "$1" --db "$work/$1.db" --seed "$2" >"$work/$1.out" 2>&1 &
  servers+=($!)
}
serve 127.0.0.1 demo
serve 127.0.0.2 empty
serve 127.0.0.3 empty
serve 127.0.0.4 empty
serve 127.0.0.5 empty
for a in 1 2 3 4 5; do
  for _ in $(seq 100); do grep -q "qvserver ready" "$work/127.0.0.$a.out" && break; sleep 0.05; done
done

# The Linux build in a device root of its own, the client library linked as the Windows one is
# copied. Each run records its output (CR LF as LF) and exit code.
export QV_ROOT=$work/linux-root
"$lin/bin/qvroot-provision" "$QV_ROOT" >/dev/null
use_library() { # QVClient | QVClientLegacy
  cp "$win/bin/$1.DLL" "$drive/QVForecourt/QVClient.DLL"
  ln -sfn "$lin/lib/lib$1.so" "$QV_ROOT/C/QVForecourt/QVClient.DLL"
}
code=0
out=
run() { # program args...: sets code and out
  local program=$1
  shift
  code=0
  (cd "$work" && "$program" "$@") >"$work/run.out" 2>"$work/run.err" || code=$?
  out=$(tr -d '\r' <"$work/run.out")
}
windows() { run wine "$win/bin/Dovetrix.exe" "$@"; }
linux() { run "$lin/bin/Dovetrix" "$@"; }
expect() { # description test...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# Two exported files are equal byte for byte but for the generation date.
same_export() {
  grep -q '^DateGenerated=' "$1" && grep -q '^DateGenerated=' "$2" &&
    cmp -s <(grep -v '^DateGenerated=' "$1") <(grep -v '^DateGenerated=' "$2")
}
tries() { grep -c '^Try ' <<<"$out" || true; }
log=$drive/QVForecourt/log/Dovetrix.L00
winfile() { echo "C:\\QVForecourt\\$1"; }
dovetrix_start=$(date +%s.%N)
use_library QVClient

usage="Dovetrix IMPORT | EXPORT | VERSION <destination INI file name> [<server name>|<server IP>] [/PAM | /Company] "
usage_no_file="Dovetrix IMPORT | EXPORT <destination INI file name> [<server name>|<server IP>] [/PAM | /Company] "
for args in "" "EXPORT" "EXPORT /PAM" "import /NoProducts /IPT"; do
  expected=$usage
  case "$args" in *" "*) expected=$usage_no_file ;; esac
  # shellcheck disable=SC2086
  windows $args
  expect "usage text and exit code 255 for '$args'" test "$code" = 255 -a "$out" = "$expected"
done

rm -f "$log"
windows EXPORT "$(winfile site.ini)" 127.0.0.1
expect "export of the demo site: exit 0, All done." test "$code" = 0 -a "${out: -9}" = "All done."
expect "log starts with START and ends with STOP, once" \
  test "$(head -n 1 "$log" | grep -c ' \*\*\*START <2.6.0.0>')" = 1 \
  -a "$(tail -n 1 "$log" | grep -c ' \*\*\*\*STOP <2.6.0.0>')" = 1 \
  -a "$(grep -c 'STOP' "$log")" = 1
expect "log: the library loaded from C:\\QVForecourt\\QVClient.DLL" \
  grep -qF 'QVClient [C:\QVForecourt\QVClient.DLL] loaded successfully' "$log"
expect "log lines end in CR LF" test "$(grep -c $'\r$' "$log")" = "$(wc -l <"$log")"
linux EXPORT "$work/linux-site.ini" 127.0.0.1
expect "the Linux build exports the same site" test "$code" = 0
expect "exported files equal byte for byte but for the date" \
  same_export "$drive/QVForecourt/site.ini" "$work/linux-site.ini"

windows IMPORT "$(winfile site.ini)" 127.0.0.9
expect "import without a server: six tries, exit 255" \
  test "$code" = 255 -a "$(tries)" = 6 -a "$(grep -c 'Logon failed - ' <<<"$out")" = 1
windows EXPORT "$(winfile none.ini)" 127.0.0.9
expect "export without a server: one try, exit 255, no file" \
  test "$code" = 255 -a "$(tries)" = 1 -a ! -e "$drive/QVForecourt/none.ini"

windows IMPORT "$(winfile site.ini)" 127.0.0.2
expect "import into an empty server: exit 0, All done." test "$code" = 0 -a "${out: -9}" = "All done."
windows EXPORT "$(winfile restored.ini)" 127.0.0.2
expect "the restored site agrees with the demo site" \
  bash "$top/scripts/compare-configs.sh" "$drive/QVForecourt/site.ini" "$drive/QVForecourt/restored.ini"
linux IMPORT "$work/linux-site.ini" 127.0.0.3
linux EXPORT "$work/linux-restored.ini" 127.0.0.3
expect "restored by the Windows and the Linux build: equal but for the date" \
  same_export "$drive/QVForecourt/restored.ini" "$work/linux-restored.ini"

# The older library: no full logon and no Ex functions, so the tool falls back to the older calls.
use_library QVClientLegacy
rm -f "$log"
windows EXPORT "$(winfile legacy.ini)" 127.0.0.1
legacy_out=$out legacy_code=$code
linux EXPORT "$work/linux-legacy.ini" 127.0.0.1
expect "older library: export exits as on Linux ($legacy_code)" test "$legacy_code" = "$code"
expect "older library: the missing logon is logged" \
  grep -qF 'QVClient DLL, function InternalClientLogonMT not found!!!' "$log"
# The walk stops where the older library lacks a call; a stopped export leaves no file behind.
expect "older library: the stopped export leaves no file, as on Linux" \
  test ! -e "$drive/QVForecourt/legacy.ini" -a ! -e "$work/linux-legacy.ini"
windows IMPORT "$(winfile site.ini)" 127.0.0.4
legacy_out=$out legacy_code=$code
linux IMPORT "$work/linux-site.ini" 127.0.0.5
expect "older library: import exits and reports as on Linux ($legacy_code)" \
  test "$legacy_code" = "$code" -a "$legacy_out" = "${out//127.0.0.5/127.0.0.4}"
use_library QVClient
windows EXPORT "$(winfile legacy-restored.ini)" 127.0.0.4
linux EXPORT "$work/linux-legacy-restored.ini" 127.0.0.5
expect "older library: both imports restored the same site" \
  same_export "$drive/QVForecourt/legacy-restored.ini" "$work/linux-legacy-restored.ini"
echo "Dovetrix.exe tests done in $(seconds "$dovetrix_start") s"

stop_servers
trap - EXIT
wineserver -w
echo "Windows tests done in $(seconds "$start") s: $failures failed"
[ "$failures" -eq 0 ]
