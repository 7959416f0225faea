#!/usr/bin/env bash
# Drags the million-point chart window (show_line_million) with the right mouse button in a virtual X
# server: 60 steps of 4 pixels to the right, then 60 back, about 40 steps a second. Keeps screenshots from
# before, during and after the drag in the shots folder and says whether the chart came back to the same
# picture; the program prints its draws per second. Usage: bench/pan_window.sh <build folder> <shots
# folder> [--fast]
set -euo pipefail
build=$1 shots=$2 kind=${3:-}
mkdir -p "$shots"
name=line${kind:+-fast}
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  set -euo pipefail
  "$1/bench/show_line_million" $3 14 > "$2/$4-draws.txt" &
  program=$!
  sleep 6
  import -window root "$2/$4-before.png"
  xdotool mousemove 800 500 mousedown 3
  for i in $(seq 60); do xdotool mousemove_relative -- 4 0; sleep 0.025; done
  import -window root "$2/$4-during.png"
  for i in $(seq 60); do xdotool mousemove_relative -- -4 0; sleep 0.025; done
  xdotool mouseup 3
  sleep 1
  import -window root "$2/$4-after.png"
  wait $program
' _ "$build" "$shots" "$kind" "$name"
cat "$shots/$name-draws.txt"
differ=$(compare -metric AE "$shots/$name-before.png" "$shots/$name-after.png" null: 2>&1 || true)
echo "pixels differing between before and after the drag: $differ"
