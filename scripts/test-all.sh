#!/bin/sh
# Sets up, builds both programs and the checked builds, and runs every test.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc)
status=0
for flavour in 64 32 asan; do
  echo "== $flavour"
  "$root/scripts/build.sh" "$flavour"
  (cd "$root/build/$flavour" && ctest --output-on-failure -j"$jobs") || status=1
done
echo "== tsan (event channel and runner)"
"$root/scripts/build.sh" tsan
(cd "$root/build/tsan" && ctest --output-on-failure -R '^(unit_tests|standin_tests)$') || status=1
exit $status
