#!/usr/bin/env bash
# The login screen's session beside a plain start, each run $runs times
# (default 5), medians printed:
#  - time from launch to the start screen shown and painted (the session:
#    cage's command from the session file, its headless 1280x720 output,
#    XWayland, the watcher and the game; the plain start: the game on an
#    Xvfb of that size that is already up), looked at every 20 ms;
#  - memory with a round on the screen (Play clicked, 2 s later): the
#    game's RSS, and the proportional share (PSS, so shared libraries count
#    once) of the session's own processes (cage, XWayland, the watcher);
#  - the session only: time from the Exit click to cage's end.
# Usage: bench/session.sh <path-to-zephyra> [runs]
set -uo pipefail
app=$(realpath "${1:?path to zephyra}")
runs=${2:-5}
. "$(dirname "$0")/../tests/e2e-lib.sh"
session_prepare "$app" "$(echo "$(dirname "$app")"/wayland-sessions/*.desktop)"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
pss_kb() { awk '/^Pss:/ {print $2}' "/proc/$1/smaps_rollup"; }
# Waits for the start screen to show its picture; prints its window.
painted_start() {
  local id i
  for ((i = 0; i < 1500; ++i)); do
    id=$(xdotool search --onlyvisible --name "^$start_title\$" 2>/dev/null | head -n1)
    [[ -n $id ]] && (($(import -window "$id" -format '%k' info: 2>/dev/null || echo 0) > 1000)) && { echo "$id"; return 0; }
    sleep 0.02
  done
  return 1
}
# Clicks Play on start screen $1 and lets the round run 2 s.
into_round() {
  click_in "$1" "${play_button[@]}"
  wait_window "$field_title" 100 >/dev/null || fail "Play showed no play field"
  sleep 2
}

start_display 1280x720x24 || fail "Xvfb did not start"
plain_display=$DISPLAY
plain_ms=() plain_rss=() session_ms=() session_rss=() own_pss=() exit_ms=()
for ((run = 1; run <= runs; ++run)); do
  export DISPLAY=$plain_display
  t0=$(now_ms)
  "$app" >"$work/plain.log" 2>&1 &
  app_pid=$!
  start=$(painted_start) || fail "plain: no start screen"
  plain_ms+=($(($(now_ms) - t0)))
  into_round "$start"
  plain_rss+=("$(mb "$(rss_kb "$app_pid")")")
  kill "$app_pid"; wait "$app_pid" 2>/dev/null
  app_pid=

  t0=$(now_ms)
  start_session
  start=$(painted_start) || fail "session: no start screen"
  session_ms+=($(($(now_ms) - t0)))
  into_round "$start"
  game=$(pgrep -P "$game_watcher" | head -n1)
  session_rss+=("$(mb "$(rss_kb "$game")")")
  own=0
  for pid in "$cage_pid" "$game_watcher" $(pgrep -P "$cage_pid" -x Xwayland); do
    own=$((own + $(pss_kb "$pid")))
  done
  own_pss+=("$(mb "$own")")
  xdotool keydown Escape sleep 3.5 keyup Escape
  start=$(wait_window "$start_title" 100) || fail "no start screen after the round"
  click_in "$start" "${exit_button[@]}"
  t0=$(now_ms)
  while kill -0 "$cage_pid" 2>/dev/null && (($(now_ms) - t0 < 10000)); do sleep 0.01; done
  exit_ms+=($(($(now_ms) - t0)))
  wait "$cage_pid" 2>/dev/null
  cage_pid=
  echo "run $run: to the start screen ${plain_ms[-1]} ms plain, ${session_ms[-1]} ms session;" \
    "game RSS in a round ${plain_rss[-1]} MB plain, ${session_rss[-1]} MB session;" \
    "cage + XWayland + watcher PSS ${own_pss[-1]} MB; Exit to cage's end ${exit_ms[-1]} ms"
done
echo "median to the start screen: plain $(printf '%s\n' "${plain_ms[@]}" | median) ms," \
  "session $(printf '%s\n' "${session_ms[@]}" | median) ms"
echo "median game RSS in a round: plain $(printf '%s\n' "${plain_rss[@]}" | median) MB," \
  "session $(printf '%s\n' "${session_rss[@]}" | median) MB"
echo "median PSS of cage, XWayland and the watcher: $(printf '%s\n' "${own_pss[@]}" | median) MB"
echo "median Exit to cage's end: $(printf '%s\n' "${exit_ms[@]}" | median) ms"
