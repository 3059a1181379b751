#!/usr/bin/env bash
# Ends the Wine side of a test run:  prefix-down.sh BUILD_DIR
# Kills the run's wineserver (and with it every program of the prefix) and its
# Xvfb, then unmounts the floppies. The run prefix and the floppies' label
# store stay for a look afterwards; prefix-up replaces them.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh" "${1:?usage: prefix-down.sh BUILD_DIR}" || exit 2
. "$here/floppies.sh"
run=$TESSARO_WINE_RUN

if [ -d "$WINEPREFIX" ]; then
  wineserver -k 2>/dev/null && echo "prefix-down: wineserver of $WINEPREFIX killed"
  wineserver -w 2>/dev/null
fi

if [ -f "$run/xvfb.pid" ]; then
  pid=$(cat "$run/xvfb.pid")
  # Only our Xvfb: the pid may have been reused since.
  if tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -q '^Xvfb '; then
    # Not waited for: once Wine has used it, Xvfb takes ~2 s to exit, and the
    # next run picks another free display anyway.
    kill "$pid" && echo "prefix-down: Xvfb $pid stopped"
  fi
  rm -f "$run/xvfb.pid" "$run/display"
fi
# After the server: a program still holding a file on a floppy keeps it busy.
status=0
if [ -d "$TESSARO_FLOPPIES" ]; then
  if floppies_down "$TESSARO_FLOPPIES"; then
    echo "prefix-down: floppies unmounted"
  else
    echo "prefix-down: still mounted under $TESSARO_FLOPPIES:" >&2
    floppy_mounts "$TESSARO_FLOPPIES" >&2
    status=1
  fi
fi
exit $status
