#!/usr/bin/env bash
# End to end: the real program under X. The start screen is mapped at
# 700 x 500 and centred; Play opens the full-screen play field; Esc returns;
# minimising the field ends the round too (under the window manager); Exit
# ends the program with exit code 0. Runs once without and once with a
# window manager, as players have one.
set -u
app=${1:?path to zephyra}
: "${DISPLAY:?needs an X display}"
. "$(dirname "$0")/e2e-lib.sh"

on_exit '[[ -n ${app_pid:-} ]] && kill "$app_pid" 2>/dev/null'
read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/{split($2,d,"x"); print d[1], d[2]}')

run_round() {
  local label=$1
  "$app" &
  app_pid=$!
  start=$(wait_window "$start_title") || fail "start screen never appeared"
  wait_placed "$start"
  read -r x y w h < <(geometry "$start")
  [[ $w -eq ${start_size[0]} && $h -eq ${start_size[1]} ]] ||
    fail "start screen is ${w}x${h}, not ${start_size[0]}x${start_size[1]}"
  local cx=$(((screen_w - w) / 2)) cy=$(((screen_h - h) / 2))
  ((x >= cx - 2 && x <= cx + 2 && y >= cy - 30 && y <= cy + 2)) ||
    fail "start screen at $x,$y, expected centred at $cx,$cy"

  click_at $((x + play_button[0])) $((y + play_button[1]))            # Play
  play=$(wait_window "$field_title") || fail "play field never appeared"
  wait_placed "$play"
  read -r px py pw ph < <(geometry "$play")
  [[ $pw -eq $screen_w && $ph -eq $screen_h && $px -eq 0 && $py -eq 0 ]] ||
    fail "play field is ${pw}x${ph}+$px+$py, not the whole ${screen_w}x${screen_h} screen"
  xdotool search --onlyvisible --name "^$start_title\$" >/dev/null 2>&1 &&
    fail "start screen still visible during play"

  xdotool key Escape
  wait_gone "$field_title" || fail "Esc did not close the play field"
  start=$(wait_window "$start_title") || fail "start screen did not come back after Esc"
  wait_placed "$start"
  read -r x2 y2 _ _ < <(geometry "$start")
  [[ $x2 -eq $x && $y2 -eq $y ]] || fail "start screen moved from $x,$y to $x2,$y2"

  # Minimised by the window manager ("show desktop"): the round ends as with
  # Esc, so no program runs on without a window.
  if [[ -n ${wm_pid:-} ]]; then
    click_at $((x + play_button[0])) $((y + play_button[1]))          # Play
    play=$(wait_window "$field_title") || fail "play field never appeared again"
    wait_placed "$play"
    xdotool windowminimize "$play"
    start=$(wait_window "$start_title" 50) || fail "minimising the play field did not end the round"
    wait_gone "$field_title" 30 || fail "play field still shown after minimising"
    wait_placed "$start"
  fi

  click_at $((x + exit_button[0])) $((y + exit_button[1]))           # Exit
  wait_exit || fail "Exit did not end the program"
  [[ $exit_code -eq 0 ]] || fail "exit code $exit_code"
  echo "ok: $label"
}

run_bare_and_managed
