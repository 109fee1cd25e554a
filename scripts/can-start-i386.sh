#!/bin/sh
# Exits 0 when this kernel starts a 32-bit x86 program built with gcc -m32
# (the probe the 32-bit build's configuration starts too).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gcc -m32 "$root/cmake/probe/start.c" -o "$work/start" 2>/dev/null && "$work/start" 2>/dev/null
