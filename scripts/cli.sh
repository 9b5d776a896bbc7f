# What the scripts share on their command lines (sourced, not run): the version line from the
# VERSION file, and a usage error as one line naming the mistake plus a hint to --help, on
# standard error with exit 2.
qv_program=$(basename "$0")

# Prints "<script> (Forecourt tools) <version>" and ends the script.
qv_version() {
  echo "$qv_program (Forecourt tools) $(head -n 1 "$(dirname "${BASH_SOURCE[0]}")/../VERSION")"
  exit 0
}

# qv_usage_error MISTAKE: names the mistake, points at --help and ends the script with 2.
qv_usage_error() {
  printf "%s: %s\nTry '%s --help' for more information.\n" "$qv_program" "$1" "$qv_program" >&2
  exit 2
}
