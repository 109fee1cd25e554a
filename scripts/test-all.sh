#!/bin/sh
# Sets up, checks the C++ files' format, builds both programs and the checked
# builds, and runs every test; the 32-bit tests run natively or, where the
# kernel cannot start i386 programs (or WNCTL_I386_EMULATOR asks for it),
# under qemu-i386. The 64-bit program's black-box tests run once more under
# valgrind's memcheck, and each fuzz target runs for 30 seconds on top of its
# corpus. Each stage reports how long it took.
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
begin fuzz
"$root/scripts/fuzz.sh" 30 || status=1
took fuzz
exit $status
