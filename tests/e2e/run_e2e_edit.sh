#!/usr/bin/env bash
# The model view edited by hand in the real program under an X server: the sample survey named on the
# command line, "Add polygon" with four clicks and a right click that closes it, "Move node" with one of its
# nodes dragged and placed by a right click, then Esc, which takes the move back. The node marks are counted
# and found in a screenshot after each step (blue: free nodes). Then a place outside the box refused with its
# reason in status panel 5, the misfit marked "(old)" after the completed move and unmarked by Space, and a
# garbled survey opened through File > Open file with its unreadable lines named in panel 5. Screenshots
# land in the folder given.
# Usage: run_e2e_edit.sh <program> <examples folder> <screenshot folder>
set -euo pipefail

program=$1 examples=$2 shots=$3

name="e2e edit" shot_prefix=e2e_edit
source "$(dirname "$0")/e2e_lib.sh"
e2e_needs_tools
e2e_under_x "$@"
e2e_begin

mkdir -p "$work/app" "$work/data" "$work/config" "$shots"
rm -f "$shots"/e2e_edit_*.png
cp "$program" "$work/app/vornsp2dp"
# Without its ".cfg" the sample opens without a question.
cp "$examples/sample.sp2" "$work/data/"

# The model view's rectangle on the screen.
VX=0 VY=0 VW=0 VH=0
view() { read -r _ _ VX VY VW VH _ <<<"$(entry control PolygonChart1)"; }
# at <fx> <fy>: the screen point at these fractions of the model view.
at() { echo "$((VX + VW * $1 / 100)) $((VY + VH * $2 / 100))"; }
# The 3 x 3 blocks of a colour in the model view of the last screenshot: their centres, one a line.
marks() {
  convert "$last" -crop "${VW}x${VH}+${VX}+${VY}" +repage -fill black +opaque "$1" -fill white -opaque "$1" \
    -morphology Erode Square:1 txt:- | awk -F'[,: ]+' '/#FFFFFF/ { print $1, $2 }'
}
count() { marks "$1" | wc -l; }
# mark_at <x> <y> <colour>: a mark of the colour centred within a pixel of the screen point.
mark_at() {
  local mx=$(($1 - VX)) my=$(($2 - VY))
  marks "$3" | awk -v x="$mx" -v y="$my" '{ if (($1 - x) ^ 2 <= 1 && ($2 - y) ^ 2 <= 1) found = 1 } END { exit !found }'
}
blue="#0000FF"

export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb VSP_LAYOUT_FILE="$layout"
(cd "$work/app" && exec ./vornsp2dp -ns "$work/data/sample.sp2") &
pid=$!

opened() { listed control uiBiSplit1 && listed control SpeedButton9 && enabled; }
wait_for 60 "the sample shown and computed" opened
sleep 0.5
view
shot opened
before=$(count "$blue")
[[ "$before" == 19 ]] || fail "$before blue node marks after the open, not 19"

# "Add polygon": four points in the empty lower left of the section, the last one by the right click.
click control SpeedButton9
sleep 0.3
points=("22 62" "34 62" "34 80" "22 80")
for p in "${points[@]:0:3}"; do
  read -r sx sy <<<"$(at $p)"
  xdotool mousemove "$sx" "$sy" click 1
  sleep 0.2
done
shot picked
read -r sx sy <<<"$(at ${points[3]})"
xdotool mousemove "$sx" "$sy" click 3
sleep 0.5
shot closed
after=$(count "$blue")
[[ "$after" == $((before + 4)) ]] || fail "$after blue node marks after the new polygon, not $((before + 4))"
for p in "${points[@]}"; do
  read -r sx sy <<<"$(at $p)"
  mark_at "$sx" "$sy" "$blue" || fail "no node mark where the polygon was clicked at $sx $sy"
done

# "Move node": the polygon's first node dragged down and right, placed by the right click.
click control SpeedButton20
sleep 0.3
read -r ax ay <<<"$(at ${points[0]})"
bx=$((ax - 12)) by=$((ay - 10))
xdotool mousemove "$ax" "$ay"
sleep 0.2
xdotool mousedown 1
for k in 1 2 3 4; do
  xdotool mousemove $((ax - 3 * k)) $((ay - 5 * k / 2))
  sleep 0.1
done
xdotool mouseup 1
sleep 0.2
shot dragged
xdotool mousemove "$bx" "$by" click 3
sleep 0.5
shot placed
mark_at "$bx" "$by" "$blue" || fail "no node mark where the node was placed"
mark_at "$ax" "$ay" "$blue" && fail "a node mark still where the node was"

# Esc takes the move back.
xdotool key Escape
sleep 0.5
shot undone
mark_at "$ax" "$ay" "$blue" || fail "no node mark where the node was before the move"
mark_at "$bx" "$by" "$blue" && fail "a node mark still where the node had been placed"
[[ "$(count "$blue")" == $((before + 4)) ]] || fail "$(count "$blue") blue node marks after Esc"
# A place outside the model box is refused: panel 5 says why and what to do while the node follows the
# mouse; placed inside, the edit completes and the mode's help comes back.
help_move='"Move node" mode. Use left-click dragging for nodes moving, right-click for new position placing'
refused='Refused: the node would lie outside the model box. Place it elsewhere with a right click, or press Esc.'
status_is 5 "$help_move" || fail "panel 5 shows \"$(status_text 5)\", not the help of \"Move node\""
# The edits above left the results of the open's run behind: marked old until Space computes again.
[[ "$(status_text 3)" == *" (old)" ]] || fail "the misfit \"$(status_text 3)\" is not marked old after the edits"
fresh() { local m; m=$(status_text 3); [[ -n "$m" && "$m" != *"(old)"* ]] && enabled; }
xdotool key space
wait_for 60 "a misfit without the mark after Space (it shows \"$(status_text 3)\")" fresh
misfit=$(status_text 3)
ox=$((VX + VW - 30)) oy=$((VY + VH / 2))
xdotool mousemove "$ax" "$ay"
sleep 0.2
xdotool mousedown 1
xdotool mousemove $((ax + 3)) $((ay + 2))
xdotool mouseup 1
xdotool mousemove "$ox" "$oy"
sleep 0.2
xdotool click 3
wait_for 5 "the refusal in panel 5 (it shows \"$(status_text 5)\")" status_is 5 "$refused"
sleep 0.3
shot refused
xdotool mousemove "$bx" "$by"
sleep 0.2
xdotool click 3
wait_for 5 "the help back in panel 5 (it shows \"$(status_text 5)\")" status_is 5 "$help_move"
sleep 0.3
# The completed move leaves the last run's results behind: the misfit is marked old until Space runs again.
old_marked() { [[ "$(status_text 3)" == "$misfit (old)" ]]; }
wait_for 5 "the misfit marked old (it shows \"$(status_text 3)\")" old_marked
shot old_results
xdotool key space
wait_for 60 "a misfit without the mark after Space (it shows \"$(status_text 3)\")" fresh
sleep 0.5
shot computed_again

# A survey with a garbled number (line 3) and a line cut short (line 5) opens; panel 5 names the lines.
awk 'NR == 3 { $3 = "3.3x9" } NR == 5 { $0 = $1 } { print }' "$work/data/sample.sp2" >"$work/data/garbled.sp2"
menu_path File1 Openfile1
wait_for 20 "open dialog" window_count_is 2
sleep 0.5
xdotool type --delay 10 "$work/data/garbled.sp2"
xdotool key Return
message="2 lines could not be read: 3, 5"
wait_for 60 "the message \"$message\" in panel 5 (it shows \"$(status_text 5)\")" status_is 5 "$message"
wait_for 60 "the garbled survey computed" enabled
[[ "$(shown_windows)" == 1 ]] || fail "a message box besides the window after the garbled survey"
sleep 0.5
shot garbled
echo "e2e edit: passed; screenshots in $shots"
