#!/bin/sh
# Every program and library in a folder may look for libraries only in
# absolute folders or in its own ($ORIGIN): an empty or relative run-path
# entry is a folder the loader takes from wherever the program is started.
# Then the program, started from a folder that holds a broken file under the
# name of each library it needs, must run as if they were not there.
#   run_path_test.sh BIN_DIR PROGRAM [EMULATOR]
set -eu
bin=$(cd "$1" && pwd) program=$2 emulator=${3:-}
status=0
checked=0
for file in "$bin"/*; do
  [ -f "$file" ] || continue
  [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
  checked=$((checked + 1))
  bad=$(readelf -d "$file" |
    sed -n 's/.*Library r[unpath]*: \[\(.*\)\]$/\1/p' |
    awk -F: '{ for (i = 1; i <= NF; ++i) print "[" $i "]" }' |
    grep -v -e '^\[/' -e '^\[\$ORIGIN' -e '^\[\${ORIGIN}' || true)
  if [ -n "$bad" ]; then
    echo "run_path_test: $file has run-path entries that are empty or relative:" $bad >&2
    status=1
  fi
done
if [ "$checked" -eq 0 ]; then
  echo "run_path_test: no program or library in $bin" >&2
  exit 1
fi

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
for library in $(readelf -d "$bin/$program" | sed -n 's/.*Shared library: \[\(.*\)\]$/\1/p'); do
  echo "not a library" >"$folder/$library"
done
cd "$folder"
if ! out=$(env -i PATH=/usr/bin:/bin HOME="$folder" $emulator "$bin/$program" help 2>&1); then
  echo "run_path_test: $program, started in a folder of look-alike libraries, failed: $out" >&2
  status=1
fi
exit $status
