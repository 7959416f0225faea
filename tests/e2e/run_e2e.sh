#!/usr/bin/env bash
# The real program under an X server, driven by X events as a user drives it: File > Open file with the
# sample's path typed into the dialog and Yes to its configuration, "Forward problem", "Inversion", File >
# Save file with a path typed (default kind), File > Exit. The program reports its components' screen
# rectangles and its enabled state to a file (VSP_LAYOUT_FILE); clicks are aimed with them, and waits poll
# with limits. A screenshot follows every step. The saved file and its ".cfg" must be byte for byte what the
# core writes after the same steps without a window, the exit status 0, and the settings file what closing
# writes.
# Usage: run_e2e.sh <program> <reference helper> <examples folder> <screenshot folder>
set -euo pipefail

program=$1 reference=$2 examples=$3 shots=$4

for tool in xvfb-run xauth Xvfb xdotool import convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "e2e: the program '$tool' is needed and missing (scripts/deps.sh installs it)"
    exit 1
  fi
done

if [[ -z "${E2E_INSIDE_X:-}" ]]; then
  export E2E_INSIDE_X=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

work=$(mktemp -d)
pid=""
step=0
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/app" "$work/data" "$work/config" "$work/out" "$shots"
rm -f "$shots"/e2e_*.png
cp "$program" "$work/app/vornsp2dp"
cp "$examples/sample.sp2" "$examples/sample.cfg" "$work/data/"
layout="$work/layout.txt"

shot() {
  step=$((step + 1))
  import -window root "$shots/$(printf 'e2e_%02d_%s.png' "$step" "$1")"
}
fail() {
  echo "e2e: $*"
  [[ -f "$layout" ]] && { echo "--- layout report"; cat "$layout"; }
  shot failure || true
  exit 1
}
# wait_for <seconds> <what> <command...>: polls the command every tenth of a second.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local i
  for ((i = 0; i < limit * 10; i++)); do
    if "$@"; then return 0; fi
    if [[ -n "$pid" ]] && ! kill -0 "$pid" 2>/dev/null; then fail "the program ended while waiting for $what"; fi
    sleep 0.1
  done
  fail "no $what after $limit s"
}
entry() { awk -v k="$1" -v n="$2" '$1 == k && $2 == n { print; exit }' "$layout" 2>/dev/null; }
listed() { [[ -n "$(entry "$1" "$2")" ]]; }
window_field() { awk -v f="$1" '$1 == "window" { print $f; exit }' "$layout" 2>/dev/null; }
enabled() { [[ "$(window_field 6)" == 1 ]]; }
disabled_count() { window_field 7; }
# click <kind> <name>: the middle of a component of the layout report.
click() {
  local kind name x y w h rest
  read -r kind name x y w h rest <<<"$(entry "$1" "$2")"
  [[ -n "${h:-}" ]] || fail "$1 $2 is not on the screen"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
window_count_is() { [[ "$(windows)" == "$1" ]]; }
named_window() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
expect_windows() { [[ "$(windows)" == "$1" ]] || fail "$(windows) windows shown where $1 were expected (${2})"; }
# menu <menu> <item>: opens a menu of the menu bar and clicks one of its entries.
menu() {
  click menu "$1"
  wait_for 10 "the entry $2 of $1" listed item "$2"
  shot "menu_$2"
  click item "$2"
}
# node_marks <picture> <colour>: the model view's node marks of that colour in a screenshot, counted as
# the pixels whose 3 x 3 block is all of it (one per mark).
node_marks() {
  local kind name x y w h rest
  read -r kind name x y w h rest <<<"$(entry control PolygonChart1)"
  convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -fill black +opaque "$2" -fill white -opaque "$2" \
    -morphology Erode Square:1 -format "%[fx:round(mean*w*h)]" info:
}
# red_pixels <picture>: the pure red pixels of the data view in a screenshot (its dotted calculated curve).
red_pixels() {
  local kind name x y w h rest
  read -r kind name x y w h rest <<<"$(entry control PseudoSection2d1)"
  convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -fill black +opaque "#FF0000" -fill white -opaque "#FF0000" \
    -format "%[fx:round(mean*w*h)]" info:
}
# run_button <name>: clicks a run button and waits until the window was disabled once more and is enabled.
run_button() {
  local before
  before=$(disabled_count)
  click control "$1"
  ran() { [[ "$(disabled_count)" -gt "$before" ]] && enabled; }
  wait_for 120 "the end of the run of $1" ran
}

export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb VSP_LAYOUT_FILE="$layout"
unset VSP_EXIT_AFTER_FIRST_PAINT
(cd "$work/app" && exec ./vornsp2dp -ns) &
pid=$!

wait_for 30 "main window" listed control ToolBar1
sleep 0.5
shot started
expect_windows 1 "at start"
# No curve before a survey is open: the probe below tells a drawn curve from none.
picture="$shots/$(printf 'e2e_%02d_started.png' "$step")"
[[ "$(red_pixels "$picture")" -lt 200 ]] || fail "$(red_pixels "$picture") red pixels in the empty data view"

# File > Open file: the path typed into the dialog, Yes to the configuration.
menu File1 Openfile1
wait_for 20 "open dialog" window_count_is 2
sleep 0.5
shot open_dialog
xdotool type --delay 10 "$work/data/sample.sp2"
xdotool key Return
wait_for 20 "question \"Load project configuration\"" named_window Confirm
sleep 0.3
shot question
xdotool key Return
opened() { listed control uiBiSplit1 && enabled && [[ "$(disabled_count)" -ge 1 ]]; }
wait_for 60 "the sample shown and computed" opened
sleep 0.5
shot opened
expect_windows 1 "after the open"
# The sample's model: 19 free nodes (blue) and 23 nodes on the frame (grey) besides its four corners.
picture="$shots/$(printf 'e2e_%02d_opened.png' "$step")"
[[ "$(node_marks "$picture" "#0000FF")" == 19 ]] || fail "$(node_marks "$picture" "#0000FF") blue node marks, not 19"
[[ "$(node_marks "$picture" "#808080")" == 23 ]] || fail "$(node_marks "$picture" "#808080") grey node marks, not 23"
# The data view: the calculated curve of the forward run the open made, red and dotted, across the plot (a
# legend sample alone is a few dozen pixels).
[[ "$(red_pixels "$picture")" -ge 200 ]] || fail "$(red_pixels "$picture") red pixels in the data view, no calculated curve"

run_button SpeedButton6
sleep 0.3
shot forward
expect_windows 1 "after the forward run"

run_button SpeedButton22
sleep 0.3
shot inversion
expect_windows 1 "after the inversion"

# File > Save file: a path typed, the default kind (project data).
menu File1 Savefile1
wait_for 20 "save dialog" window_count_is 2
sleep 0.5
shot save_dialog
xdotool type --delay 10 "$work/out/result.sp2"
xdotool key Return
saved() { [[ -s "$work/out/result.sp2" && -s "$work/out/result.cfg" ]]; }
wait_for 20 "the saved files" saved
sleep 0.3
shot saved
expect_windows 1 "after saving"

# File > Exit.
menu File1 Exit1
ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_for 20 "the end of the program" ended
status=0
wait "$pid" || status=$?
pid=""
[[ $status -eq 0 ]] || fail "the program ended with status $status"

"$reference" "$work/data/sample.sp2" "$work/out/reference.sp2" "$work/out/result.sp2" ||
  fail "the headless reference failed"
cmp "$work/out/result.sp2" "$work/out/reference.sp2" || fail "the saved survey differs from the core's"
cmp "$work/out/result.cfg" "$work/out/reference.cfg" || fail "the saved configuration differs from the core's"

settings="$work/app/vornsp2dp.in"
[[ -f "$settings" ]] || fail "no settings file beside the program"
keys=$(awk '/^\[/ { section = $0; next } section == "[common]" && /=/ { sub(/=.*/, ""); printf "%s ", $0 }' "$settings")
[[ "$keys" == "LastPath FilterIndex AddDataType DataType DataPlotType graphicstype Defpolparams infperc redperc numqp recetha " ]] ||
  fail "section common holds: $keys"
grep -qx "LastPath=$work/data/sample.sp2" "$settings" || fail "LastPath is not the opened survey"
grep -qx "1=$work/data/sample.sp2" "$settings" || fail "the opened survey is not first among the recent files"
echo "e2e: passed; screenshots in $shots"
