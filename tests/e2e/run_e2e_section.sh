#!/usr/bin/env bash
# The contoured section in a small view host under an X server, driven as a user would: the mouse over
# the picture (the status line shows the cursor read-out), a double-click right of the plot opens the
# view's pop-up menu, "Setup" with "Num levels" 5, Apply and Cancel, then "Save XYZ file" under a typed
# name, and the file checked. Screenshots land in the folder given.
# Usage: run_e2e_section.sh <host program> <grid file> <screenshot folder>
set -euo pipefail

host=$(realpath "$1") grid=$(realpath "$2") shots=$3

name="e2e section" shot_prefix=e2e_section
source "$(dirname "$0")/e2e_lib.sh"
e2e_needs_tools
e2e_under_x "$@"
e2e_begin

mkdir -p "$work/app" "$work/config" "$work/out" "$shots"
rm -f "$shots"/e2e_section_*.png
cp "$host" "$work/app/section_view_host"

# The pop-up menu that opened last: a shown window of the host other than the main window and the dialog.
popup_of() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    case "$(xdotool getwindowname "$w" 2>/dev/null)" in
      "Section view host" | "Contour-section setup") ;;
      *) echo "$w" ;;
    esac
  done | tail -1
}
popup_shown() { [[ -n "$(popup_of)" ]]; }
# closed <window>: the window is no longer shown.
closed() { ! xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qx "$1"; }
# pick <index>: a click on item index of the open pop-up menu (eight items of equal height).
pick() {
  local menu h
  menu=$(popup_of)
  h=$(xdotool getwindowgeometry --shell "$menu" | awk -F= '/HEIGHT/ { print $2 }')
  xdotool mousemove --window "$menu" 40 $(((2 * $1 + 1) * h / 16)) click 1
  wait_for 10 "the pop-up menu closed" closed "$menu"
}
# The view's rectangle on the screen, and a point at fractions (percent) of it.
VX=0 VY=0 VW=0 VH=0
view() { read -r _ _ VX VY VW VH _ <<<"$(entry control PseudoSection2d1)"; }
at() { echo "$((VX + VW * $1 / 100)) $((VY + VH * $2 / 100))"; }
# menu_here: a double-click at the mouse, then the pop-up menu.
menu_here() {
  xdotool click --repeat 2 --delay 80 1
  wait_for 10 "the view's pop-up menu" popup_shown
  sleep 0.3
}
# click_in <caption> <x> <y>: a click at a point of a dialog.
click_in() {
  xdotool mousemove --window "$(window_of "$1")" "$2" "$3" click 1
  sleep 0.3
}

export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb VSP_LAYOUT_FILE="$layout"
(cd "$work/app" && exec ./section_view_host "$grid") &
pid=$!
wait_for 30 "the host window" listed control PseudoSection2d1
sleep 1
view
shot shown

# The cursor read-out over the picture: x then y, both numbers.
read -r x y <<<"$(at 40 50)"
xdotool mousemove "$x" "$y"
sleep 0.2
xdotool mousemove_relative 3 2
readout() { [[ "$(status_text 0)" =~ ^-?[0-9.]+\ -?[0-9.]+$ ]]; }
wait_for 10 "the cursor read-out in the status line" readout
shot cursor_readout
# A double-click over the picture opens no menu.
xdotool click --repeat 2 --delay 80 1
sleep 1
popup_shown && fail "a menu opened over the picture"

# Right of the plot (where the colour bar stands): the menu, then "Setup".
read -r x y <<<"$(at 97 50)"
xdotool mousemove "$x" "$y"
sleep 0.2
xdotool mousemove_relative 1 1
menu_here
shot menu "$(popup_of)"
pick 3
wait_for 10 "the setup dialog" shown "Contour-section setup"
sleep 0.5
shot setup "$(window_of "Contour-section setup")"

# "Num levels" 5: its spin edit takes the typed value; Apply; the dialog stays; Cancel closes it.
dialog=$(window_of "Contour-section setup")
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
# Places in the dialog as its layout puts them (the screenshot "setup" shows them).
click_in "Contour-section setup" 405 167
xdotool key ctrl+a
xdotool type 5
xdotool key Tab
sleep 0.2
click_in "Contour-section setup" 320 297
sleep 0.5
shown "Contour-section setup" || fail "Apply closed the dialog"
shot applied
click_in "Contour-section setup" 412 297
wait_for 10 "the setup dialog closed" gone "Contour-section setup"
sleep 0.5
shot five_levels
# The bands are drawn again with the new levels: the middle of the section is not white.
read -r x y <<<"$(at 30 45)"
colour=$(convert "$last" -format "%[pixel:p{$x,$y}]" info:)
[[ "$colour" != "white" && "$colour" != "srgb(255,255,255)" ]] || fail "no bands after Apply ($colour)"

# "Save XYZ file" under a typed name with another extension: written with ".dat".
read -r x y <<<"$(at 97 50)"
xdotool mousemove "$x" "$y"
sleep 0.2
xdotool mousemove_relative 1 1
menu_here
pick 6
sleep 1.5
shot save_dialog
xdotool type "$work/out/section.txt"
xdotool key Return
wait_for 10 "the XYZ file" test -s "$work/out/section.dat"
[[ "$(head -1 "$work/out/section.dat")" == "X -Y  Z" ]] || fail "the XYZ file's header is $(head -1 "$work/out/section.dat")"
lines=$(wc -l <"$work/out/section.dat")
[[ "$lines" == 232 ]] || fail "the XYZ file has $lines lines, not 1 + 21 x 11"
awk 'NR > 1 && (NF != 3 || length($0) != 3 * 23 + 2) { bad = 1 } END { exit bad }' \
  "$work/out/section.dat" || fail "a line of the XYZ file is not three 23-character numbers"
echo "$name: passed"
