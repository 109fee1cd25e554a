#!/bin/sh
# One Wine server for a whole test run, so that the programs started do not
# each start and end one of their own:
#   wine-server.sh start win64|win32   makes the prefix if needed, starts the server
#   wine-server.sh stop win64|win32    ends it, and any program left in the prefix
# Where the architecture's programs cannot run here, start prints why on one
# line and exits 1: the caller skips those tests.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
usage() {
  echo "usage: wine-server.sh start|stop win64|win32" >&2
  exit 2
}
case "${1:-}" in start | stop) ;; *) usage ;; esac
wine_use "${2:-}" || case $? in
  1) echo "$wine_unusable"; exit 1 ;;
  *) usage ;;
esac
case "$1" in
  start)
    wine_make_prefix
    # It leaves the caller at once, and neither it nor the services that
    # the first program starts (started here) keep any of the caller's files
    # open: a caller that reads a program's output to its end would wait
    # for them. Where a server runs already, that one serves.
    "$wine_server" -p </dev/null >/dev/null 2>&1 || [ $? = 2 ]
    "$wine_loader" cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  stop)
    "$wine_server" -k 2>/dev/null || true
    "$wine_server" -w
    ;;
esac
