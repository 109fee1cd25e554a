#!/bin/sh
# Sets up, checks the C++ files' format, builds both programs and the checked
# builds, and runs every test; the 32-bit tests run natively or, where the
# kernel cannot start i386 programs (or WNCTL_I386_EMULATOR asks for it),
# under qemu-i386. The 64-bit program's black-box tests run once more under
# valgrind's memcheck, and each fuzz target runs for 30 seconds on top of its
# corpus. The Windows programs' tests run under Wine, with one Wine server for
# each architecture's run; where this machine cannot run an architecture's
# programs, its tests are skipped, saying why. Each stage reports how long it
# took.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
status=0

started=0
begin() {
  echo "== $1"
  started=$(date +%s)
}
took() {
  echo "== $1: $(( $(date +%s) - started ))s"
}

# The architecture whose Wine server may run; it is stopped however the run
# ends.
wine_server_arch=""
stop_wine_server() {
  if [ -n "$wine_server_arch" ]; then
    "$root/scripts/wine-server.sh" stop "$wine_server_arch" >/dev/null || true
    wine_server_arch=""
  fi
}
trap stop_wine_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

begin setup
"$root/scripts/setup.sh"
took setup
begin format
"$root/scripts/check-format.sh" || status=1
took format
for flavour in 64 32 asan tsan; do
  begin "$flavour"
  "$root/scripts/build.sh" "$flavour"
  if [ "$flavour" = 32 ]; then
    runner=$(cat "$root/build/32/i386_runner.txt")
    case "$runner" in
      native) echo "== 32: the 32-bit tests run natively" ;;
      emulated:*) echo "== 32: the 32-bit tests run under${runner#emulated:}" ;;
      *) echo "== 32: FAILED: the 32-bit tests cannot run: ${runner#unavailable: }"
         status=1; took "$flavour"; continue ;;
    esac
  fi
  (cd "$root/build/$flavour" && ctest --output-on-failure -j"$jobs") || status=1
  took "$flavour"
  if [ "$flavour" = 64 ]; then
    begin "64 under memcheck"
    # Faults and definite or indirect leaks end the program with 99, which
    # fails the test; memory kept for the whole run is not a leak. valgrind
    # does not stop a program that stops itself, so the job-control tests
    # run in every build but this one. No debugger FIFO (--vgdb=no): under a
    # test's strict umask valgrind could not open its own.
    (cd "$root/build/64" && GTEST_FILTER='-LoginJobControl.*' \
      WNCTL_TEST_WRAPPER="valgrind --vgdb=no --error-exitcode=99 --leak-check=full \
--show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect -q" \
        ctest --output-on-failure -j"$jobs" -R '^blackbox_tests_') || status=1
    took "64 under memcheck"
  fi
done
for flavour in win64 win32; do
  begin "$flavour"
  "$root/scripts/build.sh" "$flavour"
  wine_server_arch=$flavour
  if ! reason=$("$root/scripts/wine-server.sh" start "$flavour"); then
    echo "== $flavour: skipped: ${reason:-the Wine server did not start}"
    stop_wine_server
    took "$flavour"
    continue
  fi
  (cd "$root/build/$flavour" && ctest --output-on-failure -j"$jobs") || status=1
  stop_wine_server
  took "$flavour"
done
begin fuzz
"$root/scripts/fuzz.sh" 30 || status=1
took fuzz
exit $status
