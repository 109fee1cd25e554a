#!/bin/sh
# Installs a build into a temporary prefix and runs the installed program from
# another folder with a bare environment: it must find its library beside it.
#   install_test.sh CMAKE BUILD_DIR PROGRAM LIBRARY [EMULATOR]
set -eu
cmake=$1 build=$2 program=$3 library=$4 emulator=${5:-}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for file in "$program" "$library"; do
  if [ ! -f "$prefix/bin/$file" ]; then
    echo "install_test: $prefix/bin/$file was not installed" >&2
    exit 1
  fi
done
cd /
out=$(env -i PATH=/usr/bin:/bin $emulator "$prefix/bin/$program" help)
case "$out" in
  *"$program"*) ;;
  *) echo "install_test: the installed program did not answer: $out" >&2; exit 1 ;;
esac
