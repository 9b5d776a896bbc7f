#!/usr/bin/env bash
# The main job on its embedded default: a demo site on a local qvserver is exported to a
# configuration file, imported into a second, empty server, and exported again; the two files
# must agree (apart from the Application section and the keys the import does not read).
# Builds only the programs the demo runs; leaves no server running; fails when a server does
# not start. Work files go to build/demo/.
#
# Environment (all optional):
#   QV_DEMO_SOURCE  loopback address of the server with the demo site  (default 127.0.0.1)
#   QV_DEMO_TARGET  loopback address of the empty server                (default 127.0.0.2)
#   QV_BUILD        build folder                                        (default build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/cli.sh"
usage() {
  cat <<'TEXT'
usage: demo.sh
       demo.sh --help | --version
Builds what the demo runs, starts a server with the demo site and an empty one, exports the
site, imports it into the empty server, exports that again and compares the two files. Stops
the servers when it ends; work files go to build/demo/.
Environment:
  QV_DEMO_SOURCE  loopback address of the server with the demo site  (default 127.0.0.1)
  QV_DEMO_TARGET  loopback address of the empty server                (default 127.0.0.2)
  QV_BUILD        build folder                                        (default build/)
Exit status 0 when the two files agree, 1 when they differ or a step failed, 2 for a wrong
command line.
TEXT
}
for arg in "$@"; do
  case "$arg" in
    -h|--help) usage; exit 0 ;;
    --version) qv_version ;;
    -*) qv_usage_error "unknown option '$arg'" ;;
    *) qv_usage_error "unexpected argument '$arg' (the demo takes none)" ;;
  esac
done
source_address=${QV_DEMO_SOURCE:-127.0.0.1}
target_address=${QV_DEMO_TARGET:-127.0.0.2}
if [ "$source_address" = "$target_address" ]; then
  echo "demo.sh: QV_DEMO_SOURCE and QV_DEMO_TARGET must differ ($source_address)" >&2
  exit 2
fi
build=${QV_BUILD:-$top/build}
"$top/scripts/install-deps.sh"
QV_BUILD=$build "$top/scripts/build.sh" \
  --target qvroot-provision --target qvserver --target QVClient --target Dovetrix
bin=$build/bin
work=$build/demo
rm -rf "$work"
mkdir -p "$work"
export QV_ROOT=$work/qvroot
"$bin/qvroot-provision" "$QV_ROOT" >/dev/null

pids=()
stop_servers() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap stop_servers EXIT

# Starts a server and waits until it says it is ready. Another program already listening on
# the address does not count: the server started here must announce itself and stay alive.
start_server() { # address db seed
  local ready="$work/qvserver-$1.out"
  "$bin/qvserver" --address "$1" --db "$2" --seed "$3" >"$ready" 2>>"$work/qvserver.log" &
  local pid=$!
  pids+=("$pid")
  for _ in $(seq 200); do
    if grep -q '^qvserver ready' "$ready" 2>/dev/null; then
      kill -0 "$pid" 2>/dev/null && return 0
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "qvserver on $1 did not start:" >&2
  tail -n 20 "$work/qvserver.log" | sed 's/^/  /' >&2
  exit 1
}

start_server "$source_address" "$work/demo-site.db" demo
start_server "$target_address" "$work/empty-site.db" empty

echo "== Export of the demo site from $source_address"
"$bin/Dovetrix" EXPORT "$work/site.ini" "$source_address"
echo "== Import into the empty server on $target_address"
"$bin/Dovetrix" IMPORT "$work/site.ini" "$target_address"
echo "== Export again from $target_address"
"$bin/Dovetrix" EXPORT "$work/site-again.ini" "$target_address"

"$top/scripts/compare-configs.sh" "$work/site.ini" "$work/site-again.ini"
