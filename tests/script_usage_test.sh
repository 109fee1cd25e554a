#!/bin/sh
# The scripts refuse what they do not take with their usage and exit code 2,
# before they build or run anything; what they take gets past the check.
# cmake, clang++ and clang-format are stubs here that end with exit code 97,
# so that no case builds, fuzzes or formats anything.
#   script_usage_test.sh SOURCE_DIR
set -eu
root=$(cd "$1" && pwd)
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
for tool in cmake clang++ clang-format; do
  printf '#!/bin/sh\nexit 97\n' >"$stubs/$tool"
  chmod +x "$stubs/$tool"
done

status=0
# run EXIT_CODE SCRIPT [ARGS...]: a refusal (2) also begins with the usage.
run() {
  want=$1 script=$2
  shift 2
  code=0
  PATH="$stubs:$PATH" sh "$root/$script" "$@" >/dev/null 2>"$stubs/err" </dev/null || code=$?
  first=$(head -n 1 "$stubs/err")
  case $want:$first in
    2:"usage: $script "* | 97:*) [ "$code" -eq "$want" ] && return ;;
  esac
  echo "script_usage_test: $script $*: exit code $code, first error line: $first" >&2
  status=1
}

run 2 scripts/fuzz.sh abc
run 2 scripts/fuzz.sh 0
run 2 scripts/fuzz.sh -5
run 2 scripts/fuzz.sh ''
run 2 scripts/fuzz.sh 1234567890
run 2 scripts/fuzz.sh 10 20
run 97 scripts/fuzz.sh
run 97 scripts/fuzz.sh 5

run 2 scripts/check-format.sh --bogus
run 2 scripts/check-format.sh --fix --fix
run 2 scripts/check-format.sh ''
run 97 scripts/check-format.sh
run 97 scripts/check-format.sh --fix

run 2 bench/run_benchmark.sh --bogus
run 2 bench/run_benchmark.sh "$stubs/build" --bogus
run 2 bench/run_benchmark.sh --quick "$stubs/build"
run 2 bench/run_benchmark.sh --largest abc
run 2 bench/run_benchmark.sh --work
run 2 bench/run_benchmark.sh --build "$stubs/build"
run 97 bench/run_benchmark.sh --quick
run 97 bench/run_benchmark.sh "$stubs/build" --quick --largest 1000 --startup-runs=5
run 97 bench/run_benchmark.sh --startup-only --work "$stubs/work" --compare "$stubs/build"
run 97 bench/run_benchmark.sh --plot "$stubs/plot.png"
run 97 bench/run_benchmark.sh --write-doc
exit $status
