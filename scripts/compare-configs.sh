#!/usr/bin/env bash
# Compares two configuration files as the import sees them: the Application section and the
# keys that the import does not read (radio settings and device versions) are left out.
# Exit status 0 when they agree, 1 when they differ, 2 for a wrong command line or a file that
# cannot be read.
set -euo pipefail
source "$(dirname "$0")/cli.sh"
usage() {
  cat <<'TEXT'
usage: compare-configs.sh A B
       compare-configs.sh --help | --version
Compares two configuration files as the import sees them: the Application section and the
keys that an import does not read (radio settings and device versions) are left out. Prints
the differences.
Exit status 0 when the files agree, 1 when they differ, 2 for a wrong command line or a
file that cannot be read.
TEXT
}
files=()
for arg in "$@"; do
  case "$arg" in
    -h|--help) usage; exit 0 ;;
    --version) qv_version ;;
    -?*) qv_usage_error "unknown option '$arg'" ;;
    *) files+=("$arg") ;;
  esac
done
[ ${#files[@]} -eq 2 ] || qv_usage_error "expected two configuration files, got ${#files[@]}"
for f in "${files[@]}"; do
  why=""
  if [ -d "$f" ]; then why="is a folder"
  elif [ ! -e "$f" ]; then why="no such file"
  elif [ ! -r "$f" ]; then why="permission denied"
  fi
  if [ -n "$why" ]; then
    echo "$qv_program: cannot read $f: $why" >&2
    exit 2
  fi
done
set -- "${files[@]}"
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
