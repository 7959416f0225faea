# What the end-to-end scripts share, sourced after they set `name` (for messages) and `shots`: the
# programs the run needs, the X server the script runs itself under, a temporary folder removed at the
# end with the program started from it, the screenshots, waits with limits, the layout report the program
# writes (components' screen rectangles and the window's enabled state), clicks aimed with it and menus.

e2e_needs_tools() {
  local tool
  for tool in xvfb-run xauth Xvfb xdotool import convert; do
    if ! command -v "$tool" >/dev/null; then
      echo "$name: the program '$tool' is needed and missing (scripts/deps.sh installs it)"
      exit 1
    fi
  done
}

# Runs the calling script again under a virtual X server, once.
e2e_under_x() {
  if [[ -z "${E2E_INSIDE_X:-}" ]]; then
    export E2E_INSIDE_X=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
  fi
}

# Under the X server: the temporary folder, removed with the program at the end.
e2e_begin() {
  work=$(mktemp -d)
  pid=""
  step=0
  last=""
  layout="$work/layout.txt"
  trap e2e_cleanup EXIT
}
e2e_cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}

# shot <what> [window]: the whole screen, or the one window, into the next numbered picture of the run
# ($shot_prefix names them); $last is its path.
shot() {
  step=$((step + 1))
  last="$shots/$(printf '%s_%02d_%s.png' "$shot_prefix" "$step" "$1")"
  import -window "${2:-root}" "$last"
}
fail() {
  echo "$name: $*"
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
# status_text <panel>: the text of a status panel as the layout report gives it.
status_text() { awk -v n="$1" '$1 == "status" && $2 == n { sub(/^status [0-9]+ ?/, ""); print; exit }' "$layout" 2>/dev/null; }
status_is() { [[ "$(status_text "$1")" == "$2" ]]; }
# The buttons of the open message box, by caption, one line.
box_buttons() { awk '$1 == "button" { printf "%s ", $2 }' "$layout" 2>/dev/null; }
listed() { [[ -n "$(entry "$1" "$2")" ]]; }
window_field() { awk -v f="$1" '$1 == "window" { print $f; exit }' "$layout" 2>/dev/null; }
enabled() { [[ "$(window_field 6)" == 1 ]]; }
# middle <kind> <name>: the middle of a component of the layout report into MX and MY.
middle() {
  local kind name x y w h rest
  read -r kind name x y w h rest <<<"$(entry "$1" "$2")"
  [[ -n "${h:-}" ]] || fail "$1 $2 is not on the screen"
  MX=$((x + w / 2)) MY=$((y + h / 2))
}
# click <kind> <name>: a click in the middle of a component of the layout report.
click() {
  middle "$1" "$2"
  xdotool mousemove "$MX" "$MY" click 1
}
# menu_path <menu> <entry...>: opens a menu of the menu bar, rests the mouse on each entry named but the last
# (a sub-menu then opens), takes a screenshot and clicks the last.
menu_path() {
  click menu "$1"
  shift
  while (($# > 0)); do
    wait_for 10 "the entry $1" listed item "$1"
    if (($# > 1)); then
      middle item "$1"
      xdotool mousemove "$MX" "$MY"
    else
      shot "menu_$1"
      click item "$1"
    fi
    shift
  done
}
# The program's shown windows, and a window of that caption (exact; empty when there is none).
shown_windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
window_count_is() { [[ "$(shown_windows)" == "$1" ]]; }
window_of() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
shown() { [[ -n "$(window_of "$1")" ]]; }
gone() { [[ -z "$(window_of "$1")" ]]; }
