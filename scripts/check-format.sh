#!/bin/sh
# Fails when a C++ file of the tree is not formatted as .clang-format says;
# `scripts/check-format.sh --fix` formats them instead.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
case $#:${1:-} in
  0: | 1:--fix) ;;
  *)
    echo "usage: scripts/check-format.sh [--fix]" >&2
    exit 2
    ;;
esac
if ! command -v clang-format >/dev/null 2>&1; then
  echo "format: clang-format is missing (scripts/setup.sh installs it)" >&2
  exit 2
fi
files=$(git ls-files '*.cc' '*.h')
if [ $# -eq 1 ]; then
  exec clang-format -i $files
fi
clang-format --dry-run -Werror $files
