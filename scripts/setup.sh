#!/bin/sh
# Installs what a fresh Debian 12 machine lacks to build and test the
# programs; with --demo, only what the 64-bit Linux program needs. Quick when
# everything is there already: apt is only touched for missing packages.
set -eu
case "${1:-}" in
  "") demo=false ;;
  --demo) demo=true ;;
  *) echo "usage: setup.sh [--demo]" >&2; exit 2 ;;
esac
demo_packages="cmake g++ googletest libjsoncpp-dev libssl-dev"

packages="cmake g++ g++-multilib clang libclang-rt-14-dev googletest \
libjsoncpp-dev libjsoncpp-dev:i386 libssl-dev libssl-dev:i386 \
python3-sphinx valgrind clang-format"
# The Windows builds: the compilers, Wine to run their tests, and what
# scripts/windows-deps.sh needs to unpack and build the libraries' sources.
windows_packages="g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
wine wine64 wine32:i386 dpkg-dev perl make"

sudo_prefix=""
if [ "$(id -u)" != 0 ]; then sudo_prefix="sudo"; fi

add_i386() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo_prefix dpkg --add-architecture i386
  fi
}

# install_missing WHAT PACKAGES...
install_missing() {
  what=$1
  shift
  missing=""
  for p in "$@"; do
    case "$p" in *:*) name="$p" ;; *) name="$p:$(dpkg --print-architecture)" ;; esac
    if ! dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed"; then
      if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
      fi
    fi
  done
  if [ -n "$missing" ]; then
    echo "setup: installing $what:$missing"
    $sudo_prefix apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_prefix apt-get install -y -qq --no-install-recommends $missing
  fi
}

if $demo; then
  install_missing "for the 64-bit program" $demo_packages
  exit 0
fi
add_i386
install_missing "for the builds and tests" $packages
install_missing "for the Windows builds" $windows_packages

# Some kernels cannot start 32-bit x86 programs: there the 32-bit tests run
# under user-mode emulation, as they do when WNCTL_I386_EMULATOR asks for it.
if [ -n "${WNCTL_I386_EMULATOR:-}" ] || ! "$(dirname "$0")/can-start-i386.sh"; then
  install_missing "for the 32-bit tests' emulation" qemu-user
fi
