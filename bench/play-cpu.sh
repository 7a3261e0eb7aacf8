#!/usr/bin/env bash
# CPU used by the real game while a round is played: its own Xvfb (1920 x 1080
# unless SCREEN says otherwise; SCALE=2 runs the game with QT_SCALE_FACTOR=2),
# Play clicked, then the pointer moves without pause for 30 s
# while balloons fly. Prints the game's CPU time (utime + stime from
# /proc/<pid>/stat) over those 30 s as a percentage of one core. Goal: < 2.5 %.
#
# By default the pointer moves up and down the field's left edge strip, where
# the sting can never lie inside a balloon (balloons start at left 0 or more),
# so all 30 s are flight with a moving wasp and no prize pause cuts the load.
# SWEEP=1 sweeps the whole field instead: pops, bursts and counter updates
# join in (and the prize pause may come).
# Pointer paths are laid out in the game's logical pixels, so every screen and
# scale sees the same play. LOCK=1 plays a round with the child lock under
# openbox, where the lock keeps the field at the front. EASY=1 plays on easy
# play instead: the pointer parked in a corner, a key pressed once a second.
# GAME_WRAPPER is a command the game is started through (chroot ROOT for a
# game installed in another root, as bench/slow-machine.sh does).
# Usage: [SWEEP=1] [LOCK=1] [EASY=1] [SECONDS_TO_RUN=30] [SCREEN=WxH] [SCALE=1] [GAME_WRAPPER=...] bench/play-cpu.sh <path-to-zephyra>
set -uo pipefail

game=${1:?path to the zephyra executable}
duration=${SECONDS_TO_RUN:-30}
app_pid= mover_pid=
work=$(mktemp -d)
. "$(dirname "$0")/../tools/harness.sh"
on_exit '[[ -n $mover_pid ]] && kill "$mover_pid" 2>/dev/null; [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null; rm -rf "$work"'
fail_shows "$work/game.log" 20

screen=${SCREEN:-1920x1080}
scale=${SCALE:-1}
[[ $scale == 1 ]] || export QT_SCALE_FACTOR=$scale
# Device pixels from logical ones.
dev() { awk -v v="$1" -v s="$scale" 'BEGIN {printf "%d", v * s}'; }
start_display "${screen}x24" || fail "Xvfb did not start"

lock=()
if [[ ${LOCK:-} == 1 ]]; then
  lock=(--child-lock)
  start_wm openbox
fi
[[ ${EASY:-} == 1 ]] && lock+=(--easy)
${GAME_WRAPPER:-} "$game" "${lock[@]}" >"$work/game.log" 2>&1 &
app_pid=$!

# An emulated game takes its time.
wid=$(wait_window "$start_title" 300) || fail "start screen did not appear"
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + $(dev "${play_button[0]}"))) $((Y + $(dev "${play_button[1]}"))); sleep 0.3; xdotool click 1
wait_window "$field_title" 300 >/dev/null || fail "play field did not appear"

# One xdotool process moving the pointer every 20 ms (more often than the
# 50 ms tick), so the mover costs the game nothing but the pointer events.
steps=$(( (duration + 5) * 50 ))
if [[ ${EASY:-} == 1 ]]; then
  xdotool mousemove "$(dev 1915)" "$(dev 1075)"
  mapfile -t cmd < <(for ((i = 0; i < duration + 5; ++i)); do printf 'key\nspace\nsleep\n1\n'; done)
else
  mapfile -t cmd < <(awk -v n="$steps" -v s="$scale" -v sweep="${SWEEP:-0}" 'BEGIN {
    for (i = 0; i < n; ++i) {
      if (sweep == 1) { x = 40 + (i * 37) % 1840; y = 300 + int(i / 50) % 8 * 80 }
      else            { x = 4 + (i % 7) * 4;      y = 100 + (i * 23) % 900 }
      printf "mousemove\n%d\n%d\nsleep\n0.02\n", x * s, y * s
    }
  }')
fi
xdotool "${cmd[@]}" &
mover_pid=$!

sleep 2  # the first balloons are in the air
hz=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$app_pid/stat"; }
t0=$(date +%s.%N); c0=$(cpu)
sleep "$duration"
t1=$(date +%s.%N); c1=$(cpu)
kill -0 "$app_pid" 2>/dev/null || fail "the game ended during the run"
xdotool search --onlyvisible --name "^$field_title\$" >/dev/null || fail "play field no longer shown"

awk -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v hz="$hz" -v sweep="${SWEEP:-0}" -v easy="${EASY:-0}" 'BEGIN {
  secs = t1 - t0; used = (c1 - c0) / hz
  printf "game CPU over %.1f s of play (%s): %.2f s = %.2f %% of one core (goal at 1920x1080 < 2.5 %%)\n",
         secs, easy == 1 ? "easy play, a key a second" : sweep == 1 ? "sweeping the field" : "wasp moving, balloons flying",
         used, 100 * used / secs
}'
