#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix, its exit code
# passed through (the Windows builds' CMAKE_CROSSCOMPILING_EMULATOR):
#   wine-run.sh win64|win32 PROGRAM [ARGS...]
# Where the architecture's programs cannot run here it says why and exits 77,
# the code CTest takes for a skipped test where SKIP_RETURN_CODE says so.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
wine_use "${1:-}" || case $? in
  1) echo "skipped: $wine_unusable" >&2; exit 77 ;;
  *) echo "usage: wine-run.sh win64|win32 PROGRAM [ARGS...]" >&2; exit 2 ;;
esac
shift
wine_make_prefix
exec "$wine_loader" "$@"
