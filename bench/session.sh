#!/usr/bin/env bash
# The login screen's session beside a plain start, each run $runs times
# (default 5), medians printed:
#  - time from launch to the start screen shown and painted: the session
#    is cage's command from the session file (cage on its X11 backend, a
#    1024x768 output filling this script's Xvfb, XWayland, the watcher and
#    the game, as tests/e2e_session.sh runs it); the plain start is the game
#    on that Xvfb, which is already up. Looked at every 20 ms;
#  - memory with a round on the screen (Play clicked, 2 s later): the
#    game's RSS, and the proportional share (PSS, so shared libraries count
#    once) of the session's own processes (cage, XWayland, the watcher);
#  - the session only: time from the Exit click to cage's end.
# Usage: bench/session.sh <path-to-zephyra> [runs]
set -uo pipefail
app=$(realpath "${1:?path to zephyra}")
runs=${2:-5}
. "$(dirname "$0")/../tests/e2e-lib.sh"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
pss_kb() { awk '/^Pss:/ {print $2}' "/proc/$1/smaps_rollup"; }
# Waits for window $1 to show the start screen's picture (700 x 500 at
# $2, $3 in it); prints the window.
painted_start() {
  local id i
  for ((i = 0; i < 1500; ++i)); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [[ -n $id ]] && (($(import -window "$id" -crop "700x500+$2+$3" -format '%k' info: 2>/dev/null || echo 0) > 1000)) &&
      { echo "$id"; return 0; }
    sleep 0.02
  done
  return 1
}
# Clicks Play at $1, $2 and lets the round run 2 s.
into_round() {
  click_at $(($1 + play_button[0])) $(($2 + play_button[1]))
  wait_window "$field_title" 100 >/dev/null || fail "Play showed no play field"
  sleep 2
}

start_display 1024x768x24 || fail "Xvfb did not start"
session_prepare "$app" "$(echo "$(dirname "$app")"/wayland-sessions/*.desktop)"
plain_display=$DISPLAY
plain_ms=() plain_rss=() session_ms=() session_rss=() own_pss=() exit_ms=()
for ((run = 1; run <= runs; ++run)); do
  export DISPLAY=$plain_display
  xdotool mousemove 0 0
  t0=$(now_ms)
  "$app" >"$work/plain.log" 2>&1 &
  app_pid=$!
  start=$(painted_start "$start_title" 0 0) || fail "plain: no start screen"
  plain_ms+=($(($(now_ms) - t0)))
  read -r x y _ _ < <(geometry "$start")
  into_round "$x" "$y"
  plain_rss+=("$(mb "$(rss_kb "$app_pid")")")
  kill "$app_pid"; wait "$app_pid" 2>/dev/null
  app_pid=

  # The start screen stands in the middle of the 1024 x 768 output.
  t0=$(now_ms)
  start_session
  painted_start "$backdrop_title" 162 134 >/dev/null || fail "session: no start screen"
  session_ms+=($(($(now_ms) - t0)))
  into_round 162 134
  game=$(pgrep -P "$game_watcher" | head -n1)
  session_rss+=("$(mb "$(rss_kb "$game")")")
  own=0 parts=
  for pid in "$cage_pid" $(pgrep -f "^Xwayland $DISPLAY( |$)") "$game_watcher"; do
    own=$((own + $(pss_kb "$pid")))
    parts+=" $(mb "$(pss_kb "$pid")")"
  done
  own_pss+=("$(mb "$own")")
  xdotool keydown Escape sleep 3.5 keyup Escape
  wait_gone "$field_title" 100 || fail "Esc held did not leave the round"
  xdotool mousemove $((162 + exit_button[0])) $((134 + exit_button[1])) sleep 0.2
  t0=$(now_ms)
  xdotool click 1
  while kill -0 "$cage_pid" 2>/dev/null && (($(now_ms) - t0 < 10000)); do sleep 0.01; done
  exit_ms+=($(($(now_ms) - t0)))
  wait "$cage_pid" 2>/dev/null
  cage_pid=
  echo "run $run: to the start screen ${plain_ms[-1]} ms plain, ${session_ms[-1]} ms session;" \
    "game RSS in a round ${plain_rss[-1]} MB plain, ${session_rss[-1]} MB session;" \
    "cage + XWayland + watcher PSS ${own_pss[-1]} MB (${parts# }); Exit to cage's end ${exit_ms[-1]} ms"
done
echo "median to the start screen: plain $(printf '%s\n' "${plain_ms[@]}" | median) ms," \
  "session $(printf '%s\n' "${session_ms[@]}" | median) ms"
echo "median game RSS in a round: plain $(printf '%s\n' "${plain_rss[@]}" | median) MB," \
  "session $(printf '%s\n' "${session_rss[@]}" | median) MB"
echo "median PSS of cage, XWayland and the watcher: $(printf '%s\n' "${own_pss[@]}" | median) MB"
echo "median Exit to cage's end: $(printf '%s\n' "${exit_ms[@]}" | median) ms"
