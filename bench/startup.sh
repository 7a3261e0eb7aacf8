#!/usr/bin/env bash
# Start-up cost of the real program, measured from outside under its own Xvfb:
#  - time from exec to the start screen's first paint (the window is mapped
#    and shows its picture), and
#  - resident memory (VmRSS) once the play field has been shown (Play clicked,
#    2 s later), and the peak (VmHWM) up to then.
# Each is run 5 times; the medians are printed. Goals at 1920 x 1080: < 150 ms,
# < 60 MB. SCALE=2 runs the game with QT_SCALE_FACTOR=2 (a high-density screen).
# The probe is build/firstpaint (bench/firstpaint.cpp), beside the game;
# FIRSTPAINT names another.
# ARGS are given to the game (ARGS=--easy).
# Usage: [SCREEN=1920x1080] [SCALE=1] [ARGS=...] bench/startup.sh <path-to-zephyra> [runs]
set -uo pipefail
. "$(dirname "$0")/../tools/harness.sh"

start_measuring "$@"

scale=${SCALE:-1}
[[ $scale == 1 ]] || export QT_SCALE_FACTOR=$scale
start_display "${SCREEN:-1280x1024}x24" || fail "Xvfb did not start"

paints=() rss=() peaks=()
for ((run = 1; run <= runs; ++run)); do
  read -r game_pid ms < <("$probe" "$start_title" 10000 "$game" ${ARGS:-} 2>>"$work/game.log")
  [[ $ms == timeout || -z $ms ]] && {
    echo "run $run: no first paint within 10 s" >&2; tail -n 20 "$work/game.log" >&2; exit 1; }
  paints+=("$ms")
  # Click Play and let the play field come up and fly for 2 s.
  wid=$(xdotool search --onlyvisible --name "^$start_title\$" | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The Play button's middle, in the screen's device pixels.
  xdotool mousemove "$(awk -v o="$X" -v s="$scale" -v p="${play_button[0]}" 'BEGIN {printf "%d", o + p * s}')" \
                    "$(awk -v o="$Y" -v s="$scale" -v p="${play_button[1]}" 'BEGIN {printf "%d", o + p * s}')"
  sleep 0.2; xdotool click 1
  wait_window "$field_title" 50 >/dev/null
  sleep 2
  kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$game_pid/status")
  rss+=("$(awk -v k="$kb" 'BEGIN {printf "%.1f", k / 1024}')")
  hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$game_pid/status")
  peaks+=("$(awk -v k="$hwm" 'BEGIN {printf "%.1f", k / 1024}')")
  parts=$(awk '/^Rss(Anon|File|Shmem):/ {printf "%s %.1f ", $1, $2 / 1024}' "/proc/$game_pid/status")
  echo "run $run: first paint ${ms} ms, RSS with the play field ${rss[-1]} MB ($parts), peak ${peaks[-1]} MB"
  # Gone for good before the next run, or the probe may find its window.
  kill "$game_pid"
  for _ in $(seq 100); do
    grep -qs '^State:[[:space:]]*[^Z]' "/proc/$game_pid/status" || break  # ended (a zombie is)
    sleep 0.1
  done
  game_pid=
  sleep 0.3
done

echo "median first paint: $(printf '%s\n' "${paints[@]}" | median) ms (goal < 150)"
echo "median RSS after the play field: $(printf '%s\n' "${rss[@]}" | median) MB (goal at 1920x1080 < 60)"
echo "median peak RSS: $(printf '%s\n' "${peaks[@]}" | median) MB"
