#!/usr/bin/env bash
# Plays a real round on the X display in $DISPLAY: start screen, Play, sweep
# the pointer across the field until the popped counter changes, a message
# window takes the keyboard, Esc still goes back to the start screen, Exit
# with status 0. Runs once bare and once more under
# openbox when it is installed, as players have a window manager.
# Usage: e2e_play.sh <path-to-zephyra>
set -uo pipefail

game=${1:?path to the zephyra executable}
: "${DISPLAY:?DISPLAY must name an X server}"
. "$(dirname "$0")/e2e-lib.sh"
work=$(mktemp -d)
app_pid=
wm_pid=
msg_pid=

cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  [[ -n $wm_pid ]] && kill "$wm_pid" 2>/dev/null
  [[ -n $msg_pid ]] && kill "$msg_pid" 2>/dev/null
  app_pid= wm_pid= msg_pid=
}
trap 'cleanup; rm -rf "$work"' EXIT

fail() { echo "FAIL ($1): $2" >&2; cleanup; exit 1; }

# Clicks at (x, y) inside window $1.
click_in() {
  local x y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3))
  sleep 0.3  # the button lights under the pointer first
  xdotool click 1
}

# The popped counter's display, in screen coordinates of the full-screen field.
# The play window itself, not the root: rootless XWayland cannot read the root.
counter_shot() { import -window "$play" -crop 366x66+536+8 +repage rgb:- 2>/dev/null | md5sum; }

run_round() {
  local label=$1 start play before now sx sy
  "$game" >"$work/out.txt" 2>&1 &
  app_pid=$!

  start=$(wait_window 'GAME -ZEPHYRA' 150) || fail "$label" "start screen did not appear"
  click_in "$start" $((32 + 66)) $((168 + 24))
  play=$(wait_window 'ZEPHYRA' 100) || fail "$label" "play field did not appear"
  wait_gone 'GAME -ZEPHYRA' 30 || fail "$label" "start screen still shown during play"
  eval "$(xdotool getdisplaygeometry --shell)"
  sx=$WIDTH sy=$HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$play")"
  (( WIDTH == sx && HEIGHT == sy && X == 0 && Y == 0 )) \
    || fail "$label" "play field is ${WIDTH}x${HEIGHT}+$X+$Y, not the whole ${sx}x${sy} screen"

  # A settled picture of the counter: two equal shots in a row.
  before=$(counter_shot)
  for ((i = 0; i < 20; ++i)); do
    sleep 0.3
    now=$(counter_shot)
    [[ $now == "$before" ]] && break
    before=$now
  done
  # Sweep across the lower half, where balloons rise from, until a pop shows.
  local popped=0 y x
  for ((pass = 0; pass < 80 && !popped; ++pass)); do
    y=$((sy / 2 + (pass % 4) * sy / 10))
    for ((x = 40; x < sx - 40; x += 30)); do
      xdotool mousemove "$x" "$y"
      sleep 0.02
    done
    now=$(counter_shot)
    [[ $now != "$before" ]] && popped=1
    kill -0 "$app_pid" 2>/dev/null || fail "$label" "the game ended during play"
  done
  (( popped )) || fail "$label" "no pop seen on the counter after 80 sweeps"

  # Another window takes the keyboard (a message popping up): Esc still leaves.
  xmessage -center "a message" >/dev/null 2>&1 &
  msg_pid=$!
  wait_window 'xmessage' 50 >/dev/null || fail "$label" "the message window did not appear"
  sleep 0.5
  xdotool key Escape
  start=$(wait_window 'GAME -ZEPHYRA' 50) || fail "$label" "Esc did not bring back the start screen"
  kill "$msg_pid" 2>/dev/null; wait "$msg_pid" 2>/dev/null; msg_pid=
  wait_gone 'ZEPHYRA' 30 || fail "$label" "play field still shown after Esc"

  click_in "$start" $((544 + 61)) $((168 + 25))
  wait_exit || fail "$label" "Exit did not end the program"
  (( exit_code == 0 )) || { cat "$work/out.txt" >&2; fail "$label" "exit status $exit_code"; }
  echo "ok ($label): popped, Esc, Exit"
}

run_bare_and_managed
