#!/usr/bin/env bash
# robot.exe as scripts use it, against boxdemo.exe:  robot-cli-test.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh" "${1:?usage: robot-cli-test.sh BUILD_DIR}" || exit 2
bin=$TESSARO_BUILD_DIR/tests/wine
failures=0
passes=0

# Wine hands its unix stderr down to every program started, so stderr goes to
# a file: a program left running must not keep $(...) waiting.
robot() { wine "$bin/robot.exe" "$@" </dev/null 2>>"$TESSARO_WINE_RUN/robot-cli.log"; }
# expect WHAT OUTPUT PATTERN...: each extended regular expression must match a
# whole line of OUTPUT.
expect() {
  local what=$1 output=$2 pattern
  shift 2
  for pattern in "$@"; do
    if ! grep -qxE -- "$pattern" <<<"$output"; then
      echo "FAILED $what: no line like '$pattern' in:"
      sed 's/^/  | /' <<<"$output"
      failures=$((failures + 1))
      return
    fi
  done
  echo "ok $what"
  passes=$((passes + 1))
}

out=$(robot run --answer OK --answer No --answer OK --answer Ignore --answer OK "$bin/boxdemo.exe" boxes)
expect "run answers every box" "$out" \
  'box "Demo question" icon=question buttons=Yes\|No' '  text "Overwrite the file\?"' \
  'answer No' 'box "Demo plain" icon=none buttons=OK' 'exit 17151'

out=$(robot run --answer OK "$bin/boxdemo.exe" boxes)
status=$?
expect "run stops at a box without answer" "$out" 'box "Demo question" icon=question buttons=Yes\|No'
[ $status -eq 1 ] || { echo "FAILED: status $status, not 1"; failures=$((failures + 1)); }

out=$(robot run --until-class BoxDemoWindow "$bin/boxdemo.exe" window)
pid=$(sed -n 's/^pid \([0-9]*\)$/\1/p' <<<"$out")
expect "run leaves the program at its window" "$out" \
  "window 0x[0-9a-f]+ pid $pid class \"BoxDemoWindow\" title \"Box demo\" at .*"
out=$(robot set-text --pid "$pid" --class BoxDemoWindow --id 101 --text 'from the script')
expect "set-text waits for the control" "$out" 'text set'
out=$(robot controls --pid "$pid" --class BoxDemoWindow)
expect "controls lists id, class, text and place" "$out" \
  '\[101\] Edit "from the script" at 80,10 200x22 0x[0-9a-f]+'
out=$(robot press --pid "$pid" --class BoxDemoWindow --button Next)
expect "press" "$out" 'pressed Next'
out=$(robot boxes --pid "$pid" --answer OK)
expect "boxes answers a running program's box" "$out" '  text "Next pressed: from the script"' 'exit 41'

# A mouse click in the middle of a control, as the demo clicks image buttons.
out=$(robot run --until-class BoxDemoWindow "$bin/boxdemo.exe" window)
pid=$(sed -n 's/^pid \([0-9]*\)$/\1/p' <<<"$out")
out=$(robot click --pid "$pid" --class BoxDemoWindow --id 102)
expect "click" "$out" 'clicked 102'
out=$(robot boxes --pid "$pid" --answer OK)
expect "the click reached the button" "$out" '  text "Next pressed: .*"' 'exit 41'

# wait-box shows a box and leaves it open for press.
out=$(robot run --until-class BoxDemoWindow "$bin/boxdemo.exe" window)
pid=$(sed -n 's/^pid \([0-9]*\)$/\1/p' <<<"$out")
robot click --pid "$pid" --class BoxDemoWindow --id 102 >/dev/null  # waits for the button
out=$(robot wait-box --pid "$pid")
expect "wait-box" "$out" 'box "Box demo" icon=information buttons=OK' '  text "Next pressed: .*"'
out=$(robot press --pid "$pid" --class '#32770' --button OK; robot wait-exit --pid "$pid")
expect "the box stayed open for press" "$out" 'pressed OK' 'exit 41'

# floppy swaps the disk in A: (scripts see it through cmd's dir).
disk=$TESSARO_FLOPPIES/disk5
dir_a() { wine cmd.exe /c dir /b 'A:\' </dev/null 2>>"$TESSARO_WINE_RUN/robot-cli.log" | tr -d '\r'; }
printf 'x' >"$disk/robot-cli.txt"
out=$(robot floppy --path "$disk"; dir_a)
expect "floppy inserts a folder" "$out" "floppy $disk in A:" 'robot-cli.txt'
rm -f "$disk/robot-cli.txt"
out=$(robot floppy --path "$TESSARO_FLOPPIES/none"; dir_a)
if grep -qx 'robot-cli.txt' <<<"$out"; then
  echo "FAILED floppy: A: still lists the disk after it was emptied"; failures=$((failures + 1))
else
  expect "floppy empties the drive" "$out" "floppy $TESSARO_FLOPPIES/none in A:"
fi
robot floppy --path "$TESSARO_FLOPPIES/disk1" >/dev/null

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
