#!/usr/bin/env bash
# Runs part of wine_tests.exe in the run prefix that prefix-up.sh started:
#   run-wine-test.sh BUILD_DIR GTEST_FILTER [NAME=UNIX_PATH]...
# The tests see TESSARO_BUILD_WIN (the build folder as a Windows path) and,
# for each NAME=UNIX_PATH with a path, TESSARO_NAME as a Windows path.
# Output goes to a log file first: a program the tests leave behind must not
# hold ctest's pipe open. The log is printed when the run ends.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh" "${1:?usage: run-wine-test.sh BUILD_DIR FILTER [NAME=PATH]...}" || exit 2
filter=${2:?no test filter}
shift 2

if [ -z "${DISPLAY:-}" ] || [ ! -d "$WINEPREFIX" ]; then
  echo "run-wine-test: no run prefix in $TESSARO_WINE_RUN: run prefix-up.sh first" >&2
  exit 1
fi
# Drive Z: is the Unix root in every prefix, so a Unix path is Z: plus the path.
windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

export TESSARO_BUILD_WIN=$(windows_path "$TESSARO_BUILD_DIR")
for pair in "$@"; do
  name=${pair%%=*} path=${pair#*=}
  [ -n "$path" ] && export "TESSARO_$name=$(windows_path "$path")"
done

mkdir -p "$TESSARO_WINE_RUN/logs"
log=$TESSARO_WINE_RUN/logs/$(printf '%s' "${filter%%.*}" | tr -c 'A-Za-z0-9_-' '_').log
show_log() { cat "$log"; }
trap 'show_log; exit 143' TERM INT

wine "$TESSARO_BUILD_DIR/tests/wine/wine_tests.exe" --gtest_filter="$filter" </dev/null >"$log" 2>&1 &
wait $!
status=$?
show_log
# A suite missing from the executable (a stale build) would otherwise pass.
if [ $status -eq 0 ] && grep -q '^\[==========\] Running 0 tests' "$log"; then
  echo "run-wine-test: no test matches $filter in wine_tests.exe"
  status=1
fi
exit $status
