#!/usr/bin/env bash
# The main job on its embedded default: a demo site on a local qvserver is exported to a
# configuration file, imported into a second, empty server, and exported again; the two files
# must agree (apart from the Application section and the keys the import does not read).
# Leaves no server running. Work files go to build/demo/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
bin=$top/build/bin
work=$top/build/demo
rm -rf "$work"
mkdir -p "$work"
export QV_ROOT=$work/qvroot
"$bin/qvroot-provision" "$QV_ROOT" >/dev/null

pids=()
stop_servers() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap stop_servers EXIT

start_server() { # address db seed
  "$bin/qvserver" --address "$1" --db "$2" --seed "$3" 2>>"$work/qvserver.log" &
  pids+=($!)
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/$1/5123") 2>/dev/null && return 0
    sleep 0.1
  done
  echo "qvserver on $1 did not start (see $work/qvserver.log)" >&2
  exit 1
}

start_server 127.0.0.1 "$work/demo-site.db" demo
start_server 127.0.0.2 "$work/empty-site.db" empty

echo "== Export of the demo site from 127.0.0.1"
"$bin/Dovetrix" EXPORT "$work/site.ini" 127.0.0.1
echo "== Import into the empty server on 127.0.0.2"
"$bin/Dovetrix" IMPORT "$work/site.ini" 127.0.0.2
echo "== Export again from 127.0.0.2"
"$bin/Dovetrix" EXPORT "$work/site-again.ini" 127.0.0.2

"$top/scripts/compare-configs.sh" "$work/site.ini" "$work/site-again.ini"
