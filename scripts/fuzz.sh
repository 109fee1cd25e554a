#!/bin/sh
# Builds the libFuzzer targets into build/fuzz and runs them side by side for
# the given number of seconds each (default 30). Each target starts from the
# inputs kept in fuzz/corpus/<target> and writes new ones to a temporary
# folder, so the kept inputs never change. Fails when any target finds a
# crash, a leak or a hang; what it found is left in build/fuzz/artifacts.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1-30}
dir="$root/build/fuzz"

usage() {
  echo "usage: scripts/fuzz.sh [SECONDS]   (a whole number above 0; default 30)" >&2
  exit 2
}
# libFuzzer would take a time it cannot read as no limit at all.
[ $# -le 1 ] || usage
case $seconds in
  '' | 0* | *[!0-9]* | ??????????*) usage ;;
esac

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is missing (scripts/setup.sh installs it)" >&2
  exit 2
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DWNCTL_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" --target fuzz_targets -j"$(nproc)"
# The configure step lists the targets it made.
targets=$(cat "$dir/fuzz_targets.txt")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$dir/artifacts" "$dir/logs"
export UBSAN_OPTIONS=print_stacktrace=1

for target in $targets; do
  mkdir "$work/$target"
  "$dir/bin/$target" "$work/$target" "$root/fuzz/corpus/$target" \
    -dict="$root/fuzz/wnctl.dict" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/$target-" \
    >"$dir/logs/$target.log" 2>&1 &
  echo $! >"$work/$target.pid"
done

status=0
for target in $targets; do
  log="$dir/logs/$target.log"
  if wait "$(cat "$work/$target.pid")"; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    corpus=$(sed -n 's/.*DONE .* corp: \([0-9]*\/[0-9a-zA-Z]*\).*/\1/p' "$log")
    echo "fuzz: $target: ok, ${seconds}s, $runs runs, $speed exec/s, corpus $corpus"
  else
    status=1
    echo "fuzz: $target: FAILED (log: $log)"
    tail -n 40 "$log"
  fi
done
exit $status
