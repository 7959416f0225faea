#!/usr/bin/env bash
# The real program under an X server, driven by X events as a user drives it: File > Open file with the
# sample's path typed into the dialog and OK to its configuration, "Forward problem", "Inversion", File >
# Save file with a path typed (default kind), File > Exit. The program reports its components' screen
# rectangles and its enabled state to a file (VSP_LAYOUT_FILE); clicks are aimed with them, and waits poll
# with limits. A screenshot follows every step. The saved file and its ".cfg" must be byte for byte what the
# core writes after the same steps without a window, the exit status 0, and the settings file what closing
# writes, in the user's configuration folder.
# Usage: run_e2e.sh <program> <reference helper> <examples folder> <screenshot folder>
set -euo pipefail

program=$1 reference=$2 examples=$3 shots=$4

name=e2e shot_prefix=e2e
source "$(dirname "$0")/e2e_lib.sh"
e2e_needs_tools
e2e_under_x "$@"
e2e_begin

mkdir -p "$work/app" "$work/data" "$work/config" "$work/out" "$shots"
rm -f "$shots"/e2e_*.png
cp "$program" "$work/app/vornsp2dp"
cp "$examples/sample.sp2" "$examples/sample.cfg" "$work/data/"

disabled_count() { window_field 7; }
expect_windows() {
  [[ "$(shown_windows)" == "$1" ]] || fail "$(shown_windows) windows shown where $1 were expected (${2})"
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
picture=$last
[[ "$(red_pixels "$picture")" -lt 200 ]] || fail "$(red_pixels "$picture") red pixels in the empty data view"

# File > Open file: the path typed into the dialog, OK to the configuration.
menu_path File1 Openfile1
wait_for 20 "open dialog" window_count_is 2
sleep 0.5
shot open_dialog
xdotool type --delay 10 "$work/data/sample.sp2"
xdotool key Return
wait_for 20 "question \"Load project configuration\"" shown Confirm
asked() { [[ "$(box_buttons)" == "OK Cancel " ]]; }
wait_for 10 "the question's buttons OK and Cancel (the report lists: $(box_buttons))" asked
sleep 0.3
shot question
click button OK
opened() { listed control uiBiSplit1 && enabled && [[ "$(disabled_count)" -ge 1 ]]; }
wait_for 60 "the sample shown and computed" opened
sleep 0.5
shot opened
expect_windows 1 "after the open"
# The sample's model: 19 free nodes (blue) and 23 nodes on the frame (grey) besides its four corners.
picture=$last
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
menu_path File1 Savefile1
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
menu_path File1 Exit1
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

settings="$work/config/VornSP2Dp/vornsp2dp.in"
[[ -f "$settings" ]] || fail "no settings file in the configuration folder"
[[ ! -e "$work/app/vornsp2dp.in" ]] || fail "a settings file beside the program"
keys=$(awk '/^\[/ { section = $0; next } section == "[common]" && /=/ { sub(/=.*/, ""); printf "%s ", $0 }' "$settings")
[[ "$keys" == "LastPath FilterIndex AddDataType DataType DataPlotType graphicstype Defpolparams infperc redperc numqp recetha " ]] ||
  fail "section common holds: $keys"
grep -qx "LastPath=$work/data/sample.sp2" "$settings" || fail "LastPath is not the opened survey"
grep -qx "1=$work/data/sample.sp2" "$settings" || fail "the opened survey is not first among the recent files"
echo "e2e: passed; screenshots in $shots"
