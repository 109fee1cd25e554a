#!/bin/sh
# Sets up, builds the 64-bit program and shows the stand-in's demo world
# (or runs the command given).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" 64 >/dev/null
program="$root/build/64/bin/wnctl64"
if [ $# -gt 0 ]; then
  exec "$program" "$@"
fi
"$program" status
"$program" show-local
"$program" show-remote
