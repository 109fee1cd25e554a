#!/bin/sh
# Exits 0 when this kernel starts a 32-bit x86 program built with gcc -m32.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'int main(void) { return 0; }\n' >"$work/start.c"
gcc -m32 "$work/start.c" -o "$work/start" 2>/dev/null && "$work/start" 2>/dev/null
