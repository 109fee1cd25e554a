#!/bin/sh
# Runs a command of the Windows build's tests, which start ARCH's programs
# under Wine; where those cannot run here, says why on one line and exits 77,
# which CTest takes for a skip:
#   under_wine.sh win64|win32 COMMAND [ARGS...]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env.sh"
if [ $# -lt 2 ]; then
  echo "usage: under_wine.sh win64|win32 COMMAND [ARGS...]" >&2
  exit 2
fi
arch=$1
wine_use "$arch" || case $? in
  1) echo "skipped: $wine_unusable"; exit 77 ;;
  *) echo "usage: under_wine.sh win64|win32 COMMAND [ARGS...]" >&2; exit 2 ;;
esac
shift
if ! command -v "$1" >/dev/null; then
  echo "$1 is missing: ./scripts/build.sh $arch builds it" >&2
  exit 1
fi
exec "$@"
