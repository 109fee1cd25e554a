#!/bin/sh
# Configures and builds one flavour of the tree into build/<flavour>:
#   64     the 64-bit program and its tests
#   32     the 32-bit program and its tests (-m32, Debian's i386 packages)
#   asan   the 64-bit program under AddressSanitizer + UndefinedBehaviorSanitizer
#   tsan   the 64-bit program under ThreadSanitizer
#   win64  the 64-bit Windows program (MinGW-w64; its tests run under Wine)
#   win32  the 32-bit Windows program
# Targets named after the flavour are built alone (all of them otherwise).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-64}
[ $# -gt 0 ] && shift
targets=""
for target in "$@"; do targets="$targets --target $target"; done
dir="$root/build/$flavour"
case "$flavour" in
  64) set -- ;;
  32) set -- -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i386.cmake" ;;
  asan) set -- -DWNCTL_SANITIZE=address,undefined ;;
  tsan) set -- -DWNCTL_SANITIZE=thread ;;
  win64 | win32)
    # Their black-box tests are build/64's harness, run against the .exe.
    "$root/scripts/build.sh" 64 blackbox_tests
    "$root/scripts/windows-deps.sh" "$flavour"
    toolchain=mingw-x86_64
    if [ "$flavour" = win32 ]; then toolchain=mingw-i686; fi
    set -- -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" ;;
  *) echo "unknown flavour: $flavour" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
# shellcheck disable=SC2086 # one word a target
cmake --build "$dir" -j"$(nproc)" $targets
