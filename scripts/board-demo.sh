#!/usr/bin/env bash
# The pen-drive job on the simulated board: a device root is provisioned, the board runs with
# the demo site as "QVServer" and the controller on QVF2:, a pen drive with a setup script that
# uses every command is plugged in, and once the service has run it the drive is pulled and its
# report, the exported configuration, the board's new network settings and the LED record are
# shown. Builds only the programs the demo runs; leaves no process running; stops with the
# reason when a service of the board does not start. Work files go to build/board-demo/.
#
# Environment (all optional):
#   QV_BOARD_ADDRESS  loopback address the board's "QVServer" listens on  (default 127.0.0.1;
#                     the service's export with Dovetrix reaches the local server at
#                     127.0.0.1 only, so on another address the report shows it failed)
#   QV_BUILD          build folder                                        (default build/)
#   QV_DEMO_NO_BUILD  1: use what is built, install and build nothing
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
address=${QV_BOARD_ADDRESS:-127.0.0.1}
build=${QV_BUILD:-$top/build}
if [ "${QV_DEMO_NO_BUILD:-}" != 1 ]; then
  "$top/scripts/install-deps.sh"
  QV_BUILD=$build "$top/scripts/build.sh" \
    --target qvroot-provision --target qvboard --target qvserver --target QVClient \
    --target Dovetrix_board --target Ostrel --target QVSetTCPIP --target QVZip
fi
bin=$build/bin
work=$build/board-demo
rm -rf "$work"
mkdir -p "$work"
export QV_ROOT=$work/qvroot
"$bin/qvroot-provision" "$QV_ROOT" >/dev/null
# The forecourt server service keeps the demo site.
sed -i 's/^Database=.*$/&\r\nSeed=demo/' "$QV_ROOT/Windows/Services.ini"

board=
stop_board() {
  if [ -n "$board" ]; then
    kill "$board" 2>/dev/null || true
    wait "$board" 2>/dev/null || true
    board=
  fi
}
trap stop_board EXIT

ctl() { "$bin/qvboard" ctl --root "$QV_ROOT" "$@"; }
wait_for() { # seconds command...
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq "$limit"); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}
service_running() { ctl services | grep -q "^$1 .* running"; }
script_gone() { [ -d "$QV_ROOT/Hard Disk" ] && [ ! -e "$QV_ROOT/Hard Disk/QVSetup.scp" ]; }

echo "== Board on $QV_ROOT (QVServer on $address, controller on QVF2:)"
"$bin/qvboard" run --root "$QV_ROOT" --address "$address" --controller 2 >"$work/board.out" 2>&1 &
board=$!
ctl wait >/dev/null || { echo "board-demo: the board did not boot (see $work/board.out)" >&2; exit 1; }
ctl services
for service in QVServer QV2Serial Ostrel; do
  if ! service_running "$service"; then
    echo "board-demo: $(ctl services | grep "^$service ")" >&2
    exit 1
  fi
done

pen=$work/pen
mkdir -p "$pen/files"
printf 'pump settings\r\n' >"$pen/files/pumps.txt"
printf 'tank settings\r\n' >"$pen/files/Tanks.TXT"
printf 'notes\r\n' >"$pen/files/notes.log"
cat >"$pen/QVSetup.scp" <<'SCRIPT'
rem "Demo site setup"
md \Setup
copy "\Hard Disk\files\*.txt" \Setup
copy "\Hard Disk\files\notes.???" \Setup\
del \Setup\notes.log
md \Setup\Empty
rd \Setup\Empty
exec \DAVozuz\QVForecourt\QVZip.exe "-Q -C ""\Hard Disk\setup.zip"" \Setup\pumps.txt"
rem "Network before"
get BoardName
get DHCP
get IP
get SubnetMask
get DNS
get TFTP
set BoardName FORECOURT-2
set DHCP no
set IP 192.168.10.20
set SubnetMask 255.255.255.0
set DNS 192.168.10.1
set TFTP 192.168.10.2
save now
rem "Network after"
get BoardName
get IP
SCRIPT

echo "== Plugging the pen drive"
ctl plug "$pen"
wait_for 120 script_gone || { echo "the script did not run (see $QV_ROOT/Ostrel.L00)" >&2; exit 1; }
wait_for 30 service_running QVServer
sleep 1 # the LED's last step
ctl unplug

echo "== QVSetup.log on the drive"
cat "$pen/QVSetup.log"
echo "== setup.zip on the drive"
ls -l "$pen/setup.zip"
echo "== \\config.ini (first lines)"
head -n 12 "$QV_ROOT/config.ini" 2>/dev/null || echo "(none: the export failed, see the report)"
echo "== The board's network settings"
cat "$QV_ROOT/Windows/QVNetwork.ini"
echo "== LED record (last lines)"
ctl led | tail -n 6
echo "== Services"
ctl services
stop_board
echo "== Service log: $QV_ROOT/Ostrel.L00"
grep -E "Pen drive|QVSetup|config.ini|Processing|Starting LED|LED stopped" "$QV_ROOT/Ostrel.L00" || true
