#!/usr/bin/env bash
# Starts the Wine side of one test run:  prefix-up.sh BUILD_DIR
#
#  1. a private Xvfb on a free display (Xvfb picks it: -displayfd);
#  2. a template prefix of the run's kind (WINEARCH, see wine-env.sh), made
#     once per build folder (~10 s with wineboot -i), with the registry
#     settings every run needs;
#  3. a fresh run prefix copied from the template (~0.5 s), the run's pool of
#     floppies (floppies.sh) with disk 1 in drive A:, and the stand-in
#     fm20.dll in the system folder of the programs' kind (syswow64 for
#     32-bit programs in a 64-bit prefix, as on today's Windows);
#  4. one persistent wineserver for the whole run, and a first program so that
#     the prefix's services are up before the first test.
# Running it again stops what a previous run left and starts afresh.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:?usage: prefix-up.sh BUILD_DIR}
. "$here/wine-env.sh" "$build"
. "$here/floppies.sh"
run=$TESSARO_WINE_RUN
template=$TESSARO_BUILD_DIR/wine-template-$WINEARCH
fm20=${TESSARO_FM20_DLL:-$TESSARO_BUILD_DIR/standins/fm20.dll}

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f s", b - a }'; }
say() { echo "prefix-up: $*"; }
fail() { echo "prefix-up: $*" >&2; exit 1; }

start=$(now)
for tool in wine wineserver wineboot Xvfb; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -f "$fm20" ] || fail "stand-in $fm20 is missing: build the Windows tree first"

# A previous run's server and display go first.
if [ -e "$run/xvfb.pid" ] || [ -d "$run/prefix" ]; then
  "$here/prefix-down.sh" "$TESSARO_BUILD_DIR" 2>&1 | sed 's/^/  /' || true
fi
mkdir -p "$run"
# A run that crashed may have left its floppies mounted: never rm -rf them.
floppies_down "$TESSARO_FLOPPIES" || fail "cannot unmount the old floppies in $TESSARO_FLOPPIES"
rm -rf "$run/prefix" "$run/home" "$run/floppy" "$TESSARO_FLOPPIES" "$run/display"
mkdir -p "$run/home"

if [ -n "${TESSARO_USE_DISPLAY:-}" ]; then
  # The caller's own display (scripts/demo on a desktop): no Xvfb of ours.
  [ -n "${DISPLAY:-}" ] || fail "TESSARO_USE_DISPLAY is set but DISPLAY is empty"
  echo "$DISPLAY" >"$run/display"
  say "using the display $DISPLAY"
else
  # 1. Xvfb writes the display number it chose to fd 3 once it accepts clients.
  : >"$run/display.tmp"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$run/display.tmp" </dev/null >"$run/xvfb.log" 2>&1 &
  echo $! >"$run/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$run/display.tmp" ] && break
    kill -0 "$(cat "$run/xvfb.pid")" 2>/dev/null || fail "Xvfb did not start: $(cat "$run/xvfb.log")"
    sleep 0.05
  done
  [ -s "$run/display.tmp" ] || fail "Xvfb gave no display number in 5 s"
  tr -dc '0-9' <"$run/display.tmp" >"$run/display"
  rm -f "$run/display.tmp"
  export DISPLAY=":$(cat "$run/display")"
  say "Xvfb on $DISPLAY (pid $(cat "$run/xvfb.pid"))"
fi

# 2. The template is reused while Wine and this script are the same.
version="$(wine --version) $WINEARCH $(md5sum <"${BASH_SOURCE[0]}" | cut -c1-12)"
if [ "$(cat "$template/ready" 2>/dev/null)" != "$version" ]; then
  t=$(now)
  rm -rf "$template"
  mkdir -p "$template/home"
  (
    export WINEPREFIX=$template/prefix HOME=$template/home
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
    wineboot -i
    # Without a window manager every hide or close of a managed window waits
    # about 2 s for an answer that never comes.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    # A crashing program ends instead of waiting on the crash dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    # Drive A: is a floppy drive (GetDriveType 2); each run points it at a
    # folder. The mount manager reads the 64-bit view of a 64-bit prefix.
    wine reg add 'HKLM\Software\Wine\Drives' /v 'a:' /d floppy /f /reg:64
    # The profile's Desktop, Documents... are links into the template's HOME:
    # real folders keep each run prefix self-contained.
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
    # Registry changes reach the files when the server ends.
    wineserver -w
  ) >"$template.log" 2>&1 || fail "making the template failed, see $template.log"
  echo "$version" >"$template/ready"
  say "template prefix made in $(since "$t") ($version)"
else
  say "template prefix reused"
fi

# 3. The run's own prefix.
t=$(now)
cp -a "$template/prefix" "$WINEPREFIX"
floppies_up "$TESSARO_FLOPPIES" || fail "cannot mount the floppies in $TESSARO_FLOPPIES (root or sudo -n needed)"
ln -sfn "$TESSARO_FLOPPIES/disk1" "$WINEPREFIX/dosdevices/a:"
system=system32
[ "$WINEARCH" = win64 ] && [ "$TESSARO_PROGRAM_BITS" = 32 ] && system=syswow64
cp "$fm20" "$WINEPREFIX/drive_c/windows/$system/fm20.dll"
say "run prefix $WINEPREFIX ($WINEARCH, $TESSARO_PROGRAM_BITS-bit programs) copied in $(since "$t"), fm20.dll in $system"
say "floppies disk1..disk$floppy_disks, protected in $TESSARO_FLOPPIES, disk1 in A:"

# 4. One server for the whole run: programs start in well under 0.1 s then.
t=$(now)
wineserver -p </dev/null >"$run/wineserver.log" 2>&1
robot=$TESSARO_BUILD_DIR/tests/wine/robot.exe
if [ -f "$robot" ]; then
  wine "$robot" windows </dev/null >"$run/warm-up.log" 2>&1 || fail "robot.exe failed, see $run/warm-up.log"
else
  wine cmd.exe /c exit 0 </dev/null >"$run/warm-up.log" 2>&1
fi
say "wineserver up, first program ran in $(since "$t")"
say "ready in $(since "$start")"
