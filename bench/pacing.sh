#!/usr/bin/env bash
# Frame pacing of the play field against a bare Qt window doing the same
# drawing (bench/pacing_reference.cpp), quiet and with the machine busy, as
# the X server sees it (bench/pacing.cpp: Damage reports on the window).
#
# Its own Xvfb (SCREEN, 1920 x 1080 unless said otherwise). Each run starts
# the program (for the game: Play clicked), moves the pointer five times a
# second up and down the field's left edge strip, where the sting never lies
# inside a balloon, so no pop and no prize pause breaks the rhythm, lets it
# settle for 2 s, then measures SECONDS_TO_RUN (15) s. "Busy" runs two shell
# busy loops at normal priority during the measurement. The four runs go in
# turn, ROUNDS (2) times, so a drift in the machine's load hits all alike.
# Goal under load: p99 <= 75 ms, nothing over 150 ms, at least as steady as
# the reference.
# Usage: [ROUNDS=2] [SECONDS_TO_RUN=15] [SCREEN=WxH] bench/pacing.sh <path-to-zephyra> [folder of pacing tools]
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
tools=$(realpath "${2:-$(dirname "$game")}")
here=$(dirname "$(realpath "$0")")
pictures=$here/../assets/pictures
rounds=${ROUNDS:-2}
duration=${SECONDS_TO_RUN:-15}
screen=${SCREEN:-1920x1080}
. "$here/../tools/harness.sh"
for t in pacing pacing_reference; do
  [[ -x $tools/$t ]] || fail "$tools/$t not built (needs libxcb-damage0-dev)"
done
app_pid= mover_pid=
busy_pids=()
work=$(mktemp -d)

stop_run() {
  for p in "${busy_pids[@]}" $mover_pid $app_pid; do kill "$p" 2>/dev/null; done
  for p in "${busy_pids[@]}" $mover_pid $app_pid; do wait "$p" 2>/dev/null; done
  busy_pids=() mover_pid= app_pid=
}
on_exit 'stop_run; rm -rf "$work"'
fail_shows "$work/app.log" 20

start_display "${screen}x24" || fail "Xvfb did not start"

# One run: kind (game | reference), load (quiet | busy); prints pacing's line.
run() {
  local kind=$1 load=$2 wid
  if [[ $kind == game ]]; then
    "$game" >"$work/app.log" 2>&1 &
    app_pid=$!
    wid=$(wait_window "$start_title" 100) || fail "start screen did not appear"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    xdotool mousemove $((X + play_button[0])) $((Y + play_button[1])); sleep 0.3; xdotool click 1
    wid=$(wait_window "$field_title" 100) || fail "play field did not appear"
  else
    "$tools/pacing_reference" "$pictures" >"$work/app.log" 2>&1 &
    app_pid=$!
    wid=$(wait_window 'pacing reference' 100) || fail "reference window did not appear"
  fi
  local steps=$(( (duration + 10) * 5 ))
  mapfile -t cmd < <(awk -v n="$steps" 'BEGIN {
    for (i = 0; i < n; ++i) printf "mousemove\n%d\n%d\nsleep\n0.2\n", 4 + (i % 7) * 4, 100 + (i * 113) % 900 }')
  xdotool "${cmd[@]}" &
  mover_pid=$!
  sleep 2
  if [[ $load == busy ]]; then
    for _ in 1 2; do bash -c 'while :; do :; done' & busy_pids+=($!); done
  fi
  "$tools/pacing" --seconds "$duration" "$wid" || fail "pacing failed on $kind"
  kill -0 "$app_pid" 2>/dev/null || fail "$kind ended during the run"
  stop_run
  sleep 0.5
}

declare -A results
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((round = 1; round <= rounds; ++round)); do
  for case in "game quiet" "reference quiet" "game busy" "reference busy"; do
    read -r kind load <<<"$case"
    line=$(run "$kind" "$load") || exit 1
    echo "round $round, $kind, $load: $line"
    results[$case]+="$line"$'\n'
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

# The span over the rounds of one column: "a" or "a-b".
span() {  # case, field
  printf '%s' "${results[$1]}" | sed -n "s/.* $2=\([0-9.]*\).*/\1/p" | sort -g |
    awk 'NR == 1 {lo = $1} {hi = $1} END {printf (lo == hi) ? "%s" : "%s-%s", lo, hi}'
}
echo
echo "| | fps | median | p95 | p99 | max | intervals over 75 ms | over 150 ms |"
echo "|---|---|---|---|---|---|---|---|"
for case in "game quiet" "reference quiet" "game busy" "reference busy"; do
  read -r kind load <<<"$case"
  who=$([[ $kind == game ]] && echo ZEPHYRA || echo reference)
  echo "| $who, $load | $(span "$case" fps) | $(span "$case" median) | $(span "$case" p95) | $(span "$case" p99) | $(span "$case" max) | $(span "$case" over75) | $(span "$case" over150) |"
done
