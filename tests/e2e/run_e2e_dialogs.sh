#!/usr/bin/env bash
# The program's dialogs under an X server, each reached as a user reaches it on the sample survey: the
# chart editors through the charts' pop-ups and legend (Shift and a right click), and the buttons inside
# them. A screenshot of every dialog and of every tab lands in the screenshot folder; a dialog that does
# not open fails the run with its name. Clicks inside a dialog are aimed relative to its window, which
# opens without decorations (no window manager).
# Usage: run_e2e_dialogs.sh <program> <examples folder> <screenshot folder>
set -euo pipefail

program=$1 examples=$2 shots=$3

name="e2e dialogs" shot_prefix=dlg
source "$(dirname "$0")/e2e_lib.sh"
e2e_needs_tools
e2e_under_x "$@"
e2e_begin

mkdir -p "$work/app" "$work/config" "$shots"
rm -f "$shots"/dlg_*.png
cp "$program" "$work/app/vornsp2dp"
cp "$examples/sample.sp2" "$examples/sample.cfg" "$work/app/"

# The pop-up menu that opened last: a window of the program without a caption of its own.
popup_of() { xdotool search --onlyvisible --pid "$pid" --name '^vornsp2dp$' 2>/dev/null | tail -1; }
popup_shown() { [[ -n "$(popup_of)" ]]; }
# open <caption>: waits for the dialog of that caption and lets it paint.
open() {
  wait_for 10 "dialog \"$1\"" shown "$1"
  sleep 0.4
}
# picture <caption> <name>: a screenshot of the dialog alone.
picture() { shot "$2" "$(window_of "$1")"; }
# click_in <caption> <x> <y>: a click at a point of the dialog; negative coordinates count from its right
# or bottom edge.
click_in() {
  local w width height x=$2 y=$3
  w=$(window_of "$1")
  [[ -n "$w" ]] || fail "dialog \"$1\" is not shown"
  read -r width height < <(xdotool getwindowgeometry --shell "$w" | awk -F= '/WIDTH/ { w = $2 } /HEIGHT/ { h = $2 } END { print w, h }')
  ((x < 0)) && x=$((width + x))
  ((y < 0)) && y=$((height + y))
  xdotool mousemove --window "$w" "$x" "$y" click 1
  sleep 0.4
}
# close <caption>: Escape on the dialog, then waits until it is gone.
close() {
  xdotool windowfocus --sync "$(window_of "$1")" 2>/dev/null || true
  xdotool key Escape
  wait_for 10 "the close of \"$1\"" gone "$1"
  sleep 0.2
}
# pages <caption> <name> <y> <x...>: clicks each tab (at height y, at each x) and takes a picture of it.
pages() {
  local caption=$1 name=$2 y=$3 x i=0
  shift 3
  for x in "$@"; do
    i=$((i + 1))
    click_in "$caption" "$x" "$y"
    picture "$caption" "${name}_$i"
  done
}
# at <control> <x> <y>: the screen point of a point of a main-window component (negative: from its right
# or bottom edge).
at() {
  local kind name cx cy w h rest x=$2 y=$3
  read -r kind name cx cy w h rest <<<"$(entry control "$1")"
  [[ -n "${h:-}" ]] || fail "$1 is not on the screen"
  ((x < 0)) && x=$((w + x))
  ((y < 0)) && y=$((h + y))
  echo "$((cx + x)) $((cy + y))"
}
# popup_option <control> <x> <y>: Shift and a right click there, then the pop-up's first item "Options".
popup_option() {
  local x y menu
  read -r x y <<<"$(at "$1" "$2" "$3")"
  xdotool mousemove "$x" "$y" keydown shift click 3 keyup shift
  wait_for 10 "the pop-up menu at $1 ($2, $3)" popup_shown
  sleep 0.3
  menu=$(popup_of)
  xdotool mousemove --window "$menu" 40 11 click 1
}
right_click() {
  local x y
  read -r x y <<<"$(at "$1" "$2" "$3")"
  xdotool mousemove "$x" "$y" click 3
}

export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb VSP_LAYOUT_FILE="$layout"
unset VSP_EXIT_AFTER_FIRST_PAINT
(cd "$work/app" && exec ./vornsp2dp -ns sample.sp2) &
pid=$!
wait_for 30 "question \"Load project configuration\"" shown Confirm
xdotool key Return
opened() { listed control PolygonChart1 && enabled; }
wait_for 60 "the sample shown and computed" opened
sleep 1

# ---- Chart editors -----------------------------------------------------------------------------------

# The data graph "dUobs" by a right click on its legend item: Format, Point and Marks with its pages.
G="Graphic editor"
right_click PseudoSection2d1 -32 28
open "$G"
pages "$G" graphic_line 13 33 94 151
pages "$G" graphic_line_marks 41 31 118 158 226 284 341 421
# The marks' arrows: the callout's "Pointer..." opens the pointer dialog.
click_in "$G" 118 41
click_in "$G" 55 103
open Pointer
picture Pointer pointer
close Pointer
# "Shadow..." of the line's format page.
click_in "$G" 33 13
click_in "$G" 50 195
open "Shadow editor"
picture "Shadow editor" shadow
close "Shadow editor"
# The point page's "Gradient...": the gradient editor with each of its tabs.
click_in "$G" 94 13
click_in "$G" 216 187
open "Gradient Editor"
picture "Gradient Editor" gradient
pages "Gradient Editor" gradient 52 44 115 176 254
close "Gradient Editor"
click_in "$G" -45 -16
wait_for 10 "the close of the Graphic editor" gone "$G"

# The electrode marks of the model view, a point series, by the series pop-up's "Options".
popup_option PolygonChart1 63 37
open "$G"
pages "$G" graphic_electrodes 13 33 94
click_in "$G" -45 -16
wait_for 10 "the close of the Graphic editor" gone "$G"

# The data view's bottom axis by the axis pop-up's "Options": every page, the title's and the labels'
# inner pages, the range dialog of the minimum and the increment dialog.
A="Bottom axis edit"
popup_option PseudoSection2d1 375 -26
open "$A"
pages "$A" axis 23 43 99 155 214 270 335
click_in "$A" 99 23
pages "$A" axis_title 59 49 101
click_in "$A" 155 23
pages "$A" axis_labels 59 49 101
click_in "$A" 43 23
click_in "$A" 240 114
open "Minimum Bottom Axis"
picture "Minimum Bottom Axis" axis_minimum
close "Minimum Bottom Axis"
click_in "$A" 404 209
open "Desired Bottom Axis Increment"
picture "Desired Bottom Axis Increment" axis_increment
close "Desired Bottom Axis Increment"
close "$A"

# The data view's legend by the legend pop-up's "Options".
L="Legend options"
popup_option PseudoSection2d1 -32 28
open "$L"
pages "$L" legend 15 38 100 174 237 296 352 410 492
click_in "$L" 237 15
picture "$L" legend_title
close "$L"

# ---- Application dialogs -------------------------------------------------------------------------------

# double_click <control> <x> <y>
double_click() {
  local x y
  read -r x y <<<"$(at "$1" "$2" "$3")"
  xdotool mousemove "$x" "$y" sleep 0.2 click --repeat 2 --delay 80 1
}
click_control() {
  local x y
  read -r x y <<<"$(at "$1" "$2" "$3")"
  xdotool mousemove "$x" "$y" click 1
}

# Program setup from its tool button: the Sources page (first) with the source curve of the forward run the
# open made, then the Forward modelling page.
P="Program setup"
click_control SpeedButton4 11 11
open "$P"
picture "$P" program_setup_sources
click_in "$P" 60 22
picture "$P" program_setup_forward
close "$P"

# The model view's pop-up by a double-click beside the plot (on its title), its "Setup": the section setup,
# and its "Marks font" button: the font editor as a dialog.
S="Section setup"
double_click PolygonChart1 395 8
wait_for 10 "the model view's pop-up" popup_shown
sleep 0.3
xdotool mousemove --window "$(popup_of)" 40 11 click 1
open "$S"
picture "$S" section_setup
click_in "$S" 514 137
open "LumFont Editor"
picture "LumFont Editor" font_editor
close "LumFont Editor"
close "$S"

# A double-click inside the dyke: its body parameters.
B="Body parameters"
double_click PolygonChart1 536 66
open "$B"
picture "$B" body_parameters
close "$B"

# Options > Import/Export > Output settings: the picture settings.
menu_path Options1 ImportExport1 Outputsettings1
open "Picture settings"
picture "Picture settings" picture_settings
close "Picture settings"

# Options > Advanced > Reverse line: its "Line shift" box answered, then a command of another menu (File >
# Open file, cancelled). A box opened from a menu entry once left that menu deleted under Qt, which wrote
# into it when the box closed.
menu_path Options1 Advanced1 Reversepseudosection1
open "Line shift"
picture "Line shift" line_shift
xdotool type "10"
xdotool key Return
wait_for 10 "the close of \"Line shift\"" gone "Line shift"
menu_path File1 Openfile1
wait_for 10 "the open dialog" window_count_is 2
sleep 0.4
shot open_after_line_shift
xdotool key Escape
wait_for 10 "the close of the open dialog" window_count_is 1
# And back off: "Reverse line" switched off asks nothing.
menu_path Options1 Advanced1 Reversepseudosection1
sleep 0.5
window_count_is 1 || fail "a window opened when \"Reverse line\" was switched off"

# The electrode editor from its tool button, a row chosen: its electrodes marked on both views.
E="Electrode editor"
click_control SpeedButton5 11 11
open "$E"
click_in "$E" 120 110
sleep 0.4
picture "$E" electrode_editor
# Beside the main window, so that the marks on both views show.
xdotool windowmove "$(window_of "$E")" 960 300
sleep 0.4
shot electrode_marks
close "$E"

echo "e2e dialogs: passed; screenshots in $shots"
