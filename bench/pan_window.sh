#!/usr/bin/env bash
# Drags the million-point chart window (show_line_million) with the right mouse button in a virtual X
# server: 100 steps of 4 pixels to the right, then 100 back, a step every 20 ms. Keeps screenshots from
# before, during and after the drag in the shots folder and says whether the chart came back to the same
# picture; the program prints the mouse moves it got and its draws, per second. Usage:
# bench/pan_window.sh <build folder> <shots folder> [--fast]
set -euo pipefail
build=$1 shots=$2 kind=${3:-}
mkdir -p "$shots"
name=line${kind:+-fast}
steps() { for _ in $(seq 100); do printf 'mousemove_relative -- %s 0 sleep 0.02 ' "$1"; done; }
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  set -euo pipefail
  "$1/bench/show_line_million" $3 40 > "$2/$4-draws.txt" &
  program=$!
  sleep 10
  import -window root "$2/$4-before.png"
  xdotool mousemove 800 500 mousedown 3 $5
  import -window root "$2/$4-during.png"
  xdotool $6 mouseup 3
  sleep 2
  import -window root "$2/$4-after.png"
  wait $program
' _ "$build" "$shots" "$kind" "$name" "$(steps 4)" "$(steps -4)"
cat "$shots/$name-draws.txt"
differ=$(compare -metric AE "$shots/$name-before.png" "$shots/$name-after.png" null: 2>&1 || true)
echo "pixels differing between before and after the drag: $differ"
