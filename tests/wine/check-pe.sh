#!/usr/bin/env bash
# Checks that a built program is what we ship: a 32-bit (PE32) Windows GUI
# executable that imports nothing but Windows' own DLLs.
#   check-pe.sh OBJDUMP PROGRAM.exe [PE32|PE32+]
# (PE32+ for the x86-64 build that hosts without 32-bit programs test with.)
set -uo pipefail
objdump=${1:?usage: check-pe.sh OBJDUMP PROGRAM}
program=${2:?usage: check-pe.sh OBJDUMP PROGRAM}
kind=${3:-PE32}
case $kind in
  PE32) magic=010b ;;
  PE32+) magic=020b ;;
  *) echo "check-pe.sh: the kind is PE32 or PE32+"; exit 2 ;;
esac

# Windows' KnownDLLs, which Windows loads from the system folder only, and
# comctl32, which the manifest takes from the side-by-side store. Any other
# import would be searched for beside the program first: in the installer's
# case a folder the user could have written to.
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|msvcrt|shlwapi|comctl32)\.dll$'

headers=$("$objdump" -p "$program") || { echo "cannot read $program"; exit 1; }
failures=0
grep -qE "^Magic[[:space:]]+$magic" <<<"$headers" || { echo "FAILED: $program is not $kind"; failures=1; }
grep -qE '^Subsystem[[:space:]]+0+2' <<<"$headers" || { echo "FAILED: $program is not a GUI program"; failures=1; }
while read -r dll; do
  if grep -qiE "$allowed" <<<"$dll"; then
    echo "imports $dll"
  else
    echo "FAILED: $program imports $dll, which is not a Windows system DLL"
    failures=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ $failures -eq 0 ] && echo "$program: $kind GUI, Windows DLLs only"
exit $failures
