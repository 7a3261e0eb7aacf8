#!/usr/bin/env bash
# Plays a real round on the X display in $DISPLAY: start screen, Play, sweep
# the pointer across the field until the popped counter changes, a message
# window takes the keyboard, Esc still goes back to the start screen (under
# openbox after the window manager has restarted mid-round, which drops the
# keyboard), Play again and Alt+F4 ends the round too, Exit with status 0.
# Runs once bare and once more under openbox when it is installed, as players
# have a window manager.
# Usage: e2e_play.sh <path-to-zephyra>
set -uo pipefail

game=${1:?path to the zephyra executable}
: "${DISPLAY:?DISPLAY must name an X server}"
. "$(dirname "$0")/e2e-lib.sh"
work=$(mktemp -d)
app_pid=
msg_pid=
spy_pid=

cleanup() {
  local pid
  for pid in $app_pid $msg_pid $spy_pid; do kill "$pid" 2>/dev/null; done
  app_pid= msg_pid= spy_pid=
}
on_exit 'cleanup; rm -rf "$work"'

active() { printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | awk '{print $NF}')"; }

run_round() {
  local label=$1 start play sx sy
  launch_game

  start=$(wait_window "$start_title" 150) || fail "start screen did not appear"
  click_in "$start" "${play_button[@]}"
  play=$(wait_window "$field_title" 100) || fail "play field did not appear"
  wait_gone "$start_title" 30 || fail "start screen still shown during play"
  eval "$(xdotool getdisplaygeometry --shell)"
  sx=$WIDTH sy=$HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$play")"
  (( WIDTH == sx && HEIGHT == sy && X == 0 && Y == 0 )) \
    || fail "play field is ${WIDTH}x${HEIGHT}+$X+$Y, not the whole ${sx}x${sy} screen"

  play_until_pops "$play" 1 || fail "no pop seen on the counter after 80 sweeps"

  # A window manager that restarts lets go of every window for a moment,
  # and the keyboard with it; the field takes it back. Openbox is back once
  # it names itself on the root window again, after it was gone.
  if [[ $label == openbox ]]; then
    xprop -root -spy _OPENBOX_PID >"$work/openbox.txt" 2>&1 &
    spy_pid=$!
    wait_until '[[ -s $work/openbox.txt ]]' 20
    openbox --restart
    wait_until '(($(grep -c "^_OPENBOX_PID(" "$work/openbox.txt") >= 2))' 50
    kill "$spy_pid"; spy_pid=
    wait_placed "$play"
    wait_until '! can_take' 30
  fi

  # Another window takes the keyboard (a message popping up): Esc still leaves.
  xmessage -center "a message" >/dev/null 2>&1 &
  msg_pid=$!
  msg=$(wait_window 'xmessage' 50) || fail "the message window did not appear"
  # A window manager gives it the focus.
  [[ $label == "no window manager" ]] || wait_until '[[ $(active) == "$msg" ]]' 20
  xdotool key Escape
  start=$(wait_window "$start_title" 50) || fail "Esc did not bring back the start screen"
  kill "$msg_pid" 2>/dev/null; wait "$msg_pid" 2>/dev/null; msg_pid=
  wait_gone "$field_title" 30 || fail "play field still shown after Esc"

  # The round holds the keyboard, so Alt+F4 reaches the field, which closes.
  click_in "$start" "${play_button[@]}"
  play=$(wait_window "$field_title" 100) || fail "play field did not appear again"
  wait_placed "$play"
  xdotool key alt+F4
  start=$(wait_window "$start_title" 50) || fail "Alt+F4 did not end the round"
  wait_gone "$field_title" 30 || fail "play field still shown after Alt+F4"

  click_in "$start" "${exit_button[@]}"
  wait_exit || fail "Exit did not end the program"
  (( exit_code == 0 )) || { cat "$work/out.txt" >&2; fail "exit status $exit_code"; }
  echo "ok ($label): popped, Esc, Alt+F4, Exit"
}

run_bare_and_managed
