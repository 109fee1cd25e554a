#!/bin/sh
# Start-up of several builds side by side, each against its own floor (seconds):
#   bench/compare_startup.sh BUILD_DIR_OR_COMMIT... [-- run_benchmark.py options...]
# A folder is a configured build tree, brought up to date first. Anything else
# is a commit: checked out in a throwaway worktree, /tmp/bench-old-COMMIT, with
# this tree's floor copied in where it lacks one, and built for Release in
# /tmp/bench-build-COMMIT (git worktree remove --force the folder when done).
# The first build's process_timer times them all.
set -euf
root=$(cd "$(dirname "$0")/.." && pwd)
nl='
'
args=""
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  if [ -d "$1" ]; then
    build=$(cd "$1" && pwd)
  else
    commit=$(git -C "$root" rev-parse --short "$1^{commit}")
    source=/tmp/bench-old-$commit
    build=/tmp/bench-build-$commit
    [ -d "$source" ] || git -C "$root" worktree add --detach "$source" "$commit" >/dev/null
    if [ ! -f "$source/bench/startup_floor.cc" ]; then
      cp "$root/bench/startup_floor.cc" "$source/bench/"
      grep startup_floor "$root/bench/CMakeLists.txt" >>"$source/bench/CMakeLists.txt"
    fi
    cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$build" -j"$(nproc)" --target wnctl64 startup_floor process_timer >/dev/null
  if [ -z "$args" ]; then
    args="--build$nl$build"
  else
    args="$args$nl--compare$nl$build"
  fi
  shift
done
[ $# -gt 0 ] && shift
[ -n "$args" ] || { echo "usage: $0 BUILD_DIR_OR_COMMIT... [-- options...]" >&2; exit 2; }
IFS=$nl
exec /usr/bin/python3 "$root/bench/run_benchmark.py" --startup-only $args "$@"
