#!/bin/sh
# Builds the Release tree the benchmark measures (default /tmp/build-bench)
# and runs it: a few minutes, seconds with --startup-only. What it writes goes
# to the work folder (default /tmp/bench-work); doc/benchmark.md and its plot
# only with --write-doc. bench/run_benchmark.py says what each option does.
# The plot needs python3-matplotlib (apt-get install python3-matplotlib);
# without it the plot is skipped.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
  echo "usage: bench/run_benchmark.sh [BUILD_DIR] [--quick] [--largest N] [--startup-only]"
  echo "         [--startup-runs N] [--compare DIR]... [--windows DIR]... [--work DIR]"
  echo "         [--plot PNG | --write-doc]"
}

refuse() {
  usage >&2
  exit 2
}

whole_number() {
  case $1 in
    '' | *[!0-9]*) refuse ;;
  esac
}

# Checked before the build, which takes minutes.
check_options() {
  while [ $# -gt 0 ]; do
    case $1 in
      -h | --help)
        usage
        exit 0
        ;;
      --quick | --startup-only | --write-doc) ;;
      --largest=* | --startup-runs=*) whole_number "${1#*=}" ;;
      --largest | --startup-runs)
        [ $# -ge 2 ] || refuse
        whole_number "$2"
        shift
        ;;
      --work=?* | --plot=?* | --compare=?* | --windows=?*) ;;
      --work | --plot | --compare | --windows)
        [ $# -ge 2 ] || refuse
        shift
        ;;
      *) refuse ;;
    esac
    shift
  done
}

case ${1:-} in
  '' | -*) build=/tmp/build-bench ;;
  *)
    build=$1
    shift
    ;;
esac
check_options "$@"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target wnctl64 listing_floor startup_floor process_timer
exec /usr/bin/python3 "$root/bench/run_benchmark.py" --build "$build" "$@"
