#!/bin/sh
# Sets up, builds the 64-bit program and shows the stand-in's demo world
# (or runs the command given).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/64/bin/wnctl64"
# What is being done goes to standard error, the program's output alone to
# standard output.
"$root/scripts/setup.sh" --demo >&2
if [ ! -x "$program" ]; then
  echo "demo: building the 64-bit program into build/64 (a minute or so, once)" >&2
fi
"$root/scripts/build.sh" 64 wnctl64 >/dev/null
if [ $# -gt 0 ]; then
  exec "$program" "$@"
fi
"$program" status
"$program" show-local
"$program" show-remote
