#!/usr/bin/env bash
# Compares two configuration files as the import sees them: the Application section and the
# keys that the import does not read (radio settings and device versions) are left out.
set -euo pipefail
filter() {
  tr -d '\r' <"$1" | awk '
    /^ *\[/ { section = $0; gsub(/^ *\[|\].*$/, "", section) }
    section == "Application" { next }
    /^(PanID|Channels|KeyA|KeyB|CurrentSerialNo|BootVersion|FirmwareVersion)=/ { next }
    { print }'
}
if diff -u <(filter "$1") <(filter "$2") >/dev/null; then
  echo "The two configuration files agree ($(grep -c '^\[' "$1") sections)."
else
  diff -u <(filter "$1") <(filter "$2") | head -n 60
  echo "The configuration files differ." >&2
  exit 1
fi
