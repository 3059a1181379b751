# Wine environment of one test run. Source it:  . tests/wine/wine-env.sh BUILD_DIR
# (or with TESSARO_BUILD_DIR set). prefix-up.sh starts the run that this points at.
#
# Everything lives in the run folder (TESSARO_WINE_RUN, default BUILD_DIR/wine-run,
# or BUILD_DIR/wine-run-win32 for a 32-bit prefix):
#   prefix/  the run's Wine prefix      home/  a private HOME
#   display  the private Xvfb's number  *.pid, *.log  the run's processes
#   floppies/  the disks for drive A: (floppies.sh)
_tessaro_build=${1:-${TESSARO_BUILD_DIR:-}}
if [ -z "$_tessaro_build" ] || [ ! -d "$_tessaro_build" ]; then
  echo "wine-env.sh: give the build folder (argument or TESSARO_BUILD_DIR)" >&2
  return 2 2>/dev/null || exit 2
fi
export TESSARO_BUILD_DIR=$(cd "$_tessaro_build" && pwd)
unset _tessaro_build
# Which Windows the prefix is: a 64-bit one, as today's Windows 10 and 11,
# where 32-bit programs run under WOW64 (the default), or a 32-bit one
# (TESSARO_PREFIX=win32, for 32-bit programs only).
export WINEARCH=${TESSARO_PREFIX:-win64}
case $WINEARCH in
  win64) export TESSARO_WINE_RUN=${TESSARO_WINE_RUN:-$TESSARO_BUILD_DIR/wine-run} ;;
  win32) export TESSARO_WINE_RUN=${TESSARO_WINE_RUN:-$TESSARO_BUILD_DIR/wine-run-win32} ;;
  *) echo "wine-env.sh: TESSARO_PREFIX is win64 or win32, not $WINEARCH" >&2
     return 2 2>/dev/null || exit 2 ;;
esac
# The programs of the build: 32 (what we ship) or 64 (x86-64, for hosts that
# cannot run 32-bit programs), written by the build (tests/wine/CMakeLists.txt).
export TESSARO_PROGRAM_BITS=$(cat "$TESSARO_BUILD_DIR/wine-programs" 2>/dev/null || echo 32)
if [ "$TESSARO_PROGRAM_BITS" = 64 ]; then
  [ "$WINEARCH" = win64 ] || { echo "wine-env.sh: x86-64 programs need a win64 prefix" >&2; return 2 2>/dev/null || exit 2; }
  _tessaro_loader=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64-loader
  case ":$PATH:" in
    *":$_tessaro_loader:"*) ;;
    *) export PATH=$_tessaro_loader:$PATH ;;
  esac
  unset _tessaro_loader
fi
# The run's floppies (floppies.sh), a Unix path: the tests hand it to Wine's
# mount manager when they swap the disk in drive A:.
export TESSARO_FLOPPIES=$TESSARO_WINE_RUN/floppies

export WINEPREFIX=$TESSARO_WINE_RUN/prefix
export WINEDEBUG=${TESSARO_WINEDEBUG:--all}
# No desktop menu entries, no offer to download Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export HOME=$TESSARO_WINE_RUN/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
# Wine takes the ANSI code page from the Unix locale: C.UTF-8 gives 1252.
export LC_ALL=C.UTF-8
unset LANG LANGUAGE
# The run's display: a number for our own Xvfb, a whole name for the caller's.
if [ -s "$TESSARO_WINE_RUN/display" ]; then
  _tessaro_display=$(cat "$TESSARO_WINE_RUN/display")
  case "$_tessaro_display" in
    *:*) export DISPLAY=$_tessaro_display ;;
    *) export DISPLAY=":$_tessaro_display" ;;
  esac
  unset _tessaro_display
fi
