#!/usr/bin/env bash
# package-check.exe, the Windows console build, as a maker runs it:
#   check-package.sh BUILD_DIR PACKAGE_CHECK_EXE
# The staged sample package (with the components it ships) is clean; a copy
# whose PackageBytes is off by one file gets that one report and exit code 1.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh" "${1:?usage: check-package.sh BUILD_DIR EXE}" || exit 2
exe=${2:?no package-check.exe}
package=$TESSARO_BUILD_DIR/package
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
# Wine's own stderr goes to a file: only the program's report is compared.
check() { wine "$exe" "Z:${1//\//\\}" </dev/null 2>>"$work/wine.log" | tr -d '\r'; }

out=$(check "$package"); code=${PIPESTATUS[0]}
if [ "$code" = 0 ] && [ -z "$out" ]; then
  echo "ok: the staged sample package is clean"
else
  echo "FAILED: the staged sample package (exit $code):"; echo "$out"; failures=1
fi

cp -r "$package" "$work/broken"
sed -i 's/^Dimensione:[0-9]*/Dimensione:112888/' "$work/broken/Setup.dip"
out=$(check "$work/broken")
code=$(wine "$exe" "Z:${work//\//\\}\\broken" </dev/null >/dev/null 2>&1; echo $?)
expected="Setup.dip:7: error: PackageBytes is 112888, but the files Setup.ftc lists total 113151 bytes: the overall bar would not end at 100"
if [ "$code" = 1 ] && [ "$out" = "$expected" ]; then
  echo "ok: a wrong PackageBytes is reported with both figures, exit 1"
else
  echo "FAILED: the broken copy (exit $code):"; echo "$out"; failures=1
fi
exit $failures
