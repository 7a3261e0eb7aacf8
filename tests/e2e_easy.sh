#!/usr/bin/env bash
# Easy play in the real program, its pops heard by a private sound server: a
# child who cannot aim presses random keys, one every $INTERVAL s ($PRESSES
# of them), with the pointer parked in a corner. With --easy every press is
# a pop heard, and a key held 8 s, a mouse button held 8 s and a turn of the
# wheel one each; without it none is, as always. Then with --easy
# --child-lock: keys pop, and Esc held 3.5 s leaves (what else holding Esc
# does under the lock, test_input and e2e_parent check). Last, at the start
# values, 15 presses 1.2 s apart from the round's third second. Prints what it hears. A pop is a sound the server starts to
# play (a new stream): a recording of the sink under a busy machine loses
# stretches, but the server's own record does not. The remembered options
# launch a balloon every 0.3 s, pop by a left click, so a resting wasp pops
# nothing by its touch, and show no prize to pause the field: every press is
# one pop, and nothing else is.
# DEFAULTS=1 plays with the start values throughout, as a parent first would.
# Usage: [PRESSES=8] [INTERVAL=1] [DEFAULTS=1] e2e_easy.sh <path-to-zephyra>
set -uo pipefail

game=${1:?path to the zephyra executable}
: "${DISPLAY:?DISPLAY must name an X server}"
. "$(dirname "$0")/e2e-lib.sh"
. "$(dirname "$0")/pulse-lib.sh"
presses=${PRESSES:-8} interval=${INTERVAL:-1}
start_hearing_check || exit 1
fail_shows "$work/out.txt"

if [[ ${DEFAULTS:-} != 1 ]]; then
  mkdir -p "$XDG_CONFIG_HOME/zephyra"
  printf '[grown-ups]\nremember-options=true\n[options]\ninterval=1\npop-mode=left-click\nprize=false\n' \
    >"$XDG_CONFIG_HOME/zephyra/zephyra.conf"
fi
keys=(a s d f j k l space Return Tab Shift_L Control_L 1 2 3 Left Down BackSpace)
# Starts the game with the given options, Play; the pointer is parked in the
# screen's lower right corner, and balloons rise (with $settle "no", no wait
# for them).
start_round() {
  "$game" "$@" >"$work/out.txt" 2>&1 &
  app_pid=$!
  start=$(wait_window "$start_title" 150) || fail "start screen did not appear"
  [[ ${DEFAULTS:-} != 1 ]] || set_prize_count "$start" 1000 || fail "could not set the prize count"
  click_in "$start" "${play_button[@]}"
  play=$(wait_window "$field_title" 100) || fail "play field did not appear"
  read -r sw sh < <(xdotool getdisplaygeometry)
  xdotool mousemove $((sw - 1)) $((sh - 1))
  [[ ${settle:-} == no ]] && return 0
  # Balloons in the air: the lower field, away from the parked wasp, moves.
  local before= now
  wait_until 'now=$(import -window "$play" -crop "$((sw * 3 / 4))x$((sh / 2))+0+$((sh / 2))" rgb:- 2>/dev/null | md5sum)
              [[ -n $before && $now != "$before" ]] || { before=$now; false; }' 50
}
# Runs the given command; $heard is the pops heard meanwhile.
hear() {
  pactl subscribe >"$work/events" & rec_pid=$!
  # Listening once it hears a client come and go.
  wait_until 'pactl info >/dev/null; grep -q " on client " "$work/events"' 50
  "$@"
  sleep 0.7
  kill "$rec_pid"; wait "$rec_pid" 2>/dev/null; rec_pid=
  heard=$(grep -c "'new' on sink-input" "$work/events")
}
press_each() {
  local i
  for ((i = 0; i < presses; ++i)); do
    xdotool key "${keys[RANDOM % ${#keys[@]}]}"
    sleep "$interval"
  done
}
# A round with the given options; $presses keys are heard.
press_keys() {
  start_round "$@"
  hear press_each
}
start_and_press() { start_round "$@"; press_each; }

label="easy play"
press_keys --easy
echo "easy play: $presses presses, $heard pops heard"
# With the start values a resting wasp may also pop by its touch a balloon
# that rises into it, as it always does, and a press may find no balloon.
if [[ ${DEFAULTS:-} == 1 ]]; then
  ((heard >= presses - 2 && heard <= presses + 2)) || fail "$heard pops heard for $presses presses"
else
  ((heard == presses)) || fail "$heard pops heard for $presses presses"
  # However long it is held, and however many notches a turn clicks: one press.
  for what in "key space" "mouse 1" "wheel"; do
    label="easy play, $what held 8 s"
    if [[ $what == wheel ]]; then
      label="easy play, a turn of the wheel (5 notches)"
      hear xdotool click --repeat 5 --delay 60 4
    else
      hear hold_for $what 8
    fi
    echo "$label: $heard pops heard"
    ((heard == 1)) || fail "$heard pops heard for one press"
  done
fi
leave_and_exit "$play"

label="without easy play"
press_keys
echo "without easy play: $presses presses, $heard pops heard"
((heard == 0)) || fail "$heard pops heard, none expected"
leave_and_exit "$play"

label="easy play under the child lock"
presses=4
press_keys --easy --child-lock
echo "easy play under the child lock: $presses presses, $heard pops heard"
((heard == presses)) || [[ ${DEFAULTS:-} == 1 ]] || fail "$heard pops heard for $presses presses"
leave_locked
click_in "$start" "${exit_button[@]}"
wait_exit 300 || fail "Exit did not end the program"

# As a parent first plays it: every press answers, also one before the first
# balloon rises (a second after Play); a resting wasp may pop more by its touch.
label="easy play at the start values, a press before the first balloon"
rm -f "$XDG_CONFIG_HOME/zephyra/zephyra.conf"
DEFAULTS=1 settle=no presses=1 interval=2 hear start_and_press --easy
echo "$label: $heard pops heard"
((heard >= 1)) || fail "no pop heard"
label="easy play at the start values, 15 presses"
presses=15 interval=1.2 hear press_each
echo "$label: $heard pops heard"
((heard >= 14)) || fail "$heard pops heard for 15 presses"
leave_and_exit "$play"
echo "ok: presses pop in easy play, once each however held, none without it; the lock holds"
