#!/usr/bin/env bash
# The model view edited by hand in the real program under an X server: the sample survey named on the
# command line, "Add polygon" with four clicks and a right click that closes it, "Move node" with one of its
# nodes dragged and placed by a right click, then Esc, which takes the move back. The node marks are counted
# and found in a screenshot after each step (blue: free nodes). Screenshots land in the folder given.
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
echo "e2e edit: passed; screenshots in $shots"
