#!/bin/sh
# Makes the Windows package, unpacks it and runs the program from the
# unpacked folder in a fresh Wine prefix, from another folder: it needs
# nothing that the package does not hold.
#   package_test.sh SOURCE_DIR BUILD_DIR win64|win32 PROGRAM
set -eu
root=$1 build=$2 arch=$3 program=$4
. "$root/scripts/wine-env.sh"
if ! wine_use "$arch"; then
  echo "skipped: $wine_unusable"
  exit 77
fi
work=$(mktemp -d)
export WINEPREFIX="$work/prefix"
cleanup() {
  "$wine_server" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
(cd "$build" && cpack -G ZIP -B "$work/package") >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}
(cd "$work" && cmake -E tar xf "$work/package/"*.zip)
folder=$(echo "$work"/wnctl-*-"$arch")
for file in README.txt "bin/$program"; do
  if [ ! -f "$folder/$file" ]; then
    echo "package_test: the package lacks $file" >&2
    exit 1
  fi
done
wine_make_prefix
cd /
out=$(WIRENEST_STATE="$work/state.json" "$wine_loader" "$folder/bin/$program" show-local </dev/null 2>&1)
case "$out" in
  *"Local computer: 'office-pc'"*) ;;
  *) echo "package_test: the unpacked program did not answer: $out" >&2; exit 1 ;;
esac
