#!/usr/bin/env bash
# One game at a time when the game stands still or is flooded, in the real
# program, with a session bus and without one: a start never waits on a
# stopped game (SIGSTOP; its socket's queue full) longer than the answer
# time; the stopped game, once it runs again, gives way and one start screen
# is left, or, with a round on its screen, keeps it and the start in its
# place gives way. Without a bus: callers that say nothing, or half a line,
# are let go; 2,000 callers under a limit of 1,024 descriptors cost the game
# a moment of CPU and leave Options and Play working; a directory or a FIFO
# where the lock file belongs still leaves one game, and one line says so.
# Prints the figures it measures.
# Usage: e2e_onegame.sh <path-to-zephyra>
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
callers=$(dirname "$game")/socket_callers
. "$(dirname "$0")/e2e-lib.sh"
work=$(mktemp -d)
first_pid= second_pid= callers_pid=
cleanup() {
  local pid
  for pid in $first_pid $second_pid $callers_pid; do kill -CONT "$pid" 2>/dev/null; kill -9 "$pid" 2>/dev/null; done
  first_pid= second_pid= callers_pid=
  end_session
}
on_exit 'cleanup; rm -rf "$work"'
label=
fail() { echo "FAIL ($label): $*" >&2; [[ -s $work/out.txt ]] && tail -5 "$work/out.txt" >&2; exit 1; }
now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc | sed 's/^\./0./'; }

# The start screens shown: all, or those of process $1.
screens() { xdotool search --all --onlyvisible ${1:+--pid "$1"} --name '^GAME -ZEPHYRA$' 2>/dev/null | wc -l; }

# Waits up to $2 tenths of a second for condition $1 (a command).
within() {
  local i
  for ((i = 0; i < $2; ++i)); do
    eval "$1" && return 0
    sleep 0.1
  done
  return 1
}

# Starts the game as $first_pid and waits for its start screen.
first_game() {
  launch_game "$@"
  first_pid=$app_pid
  start=$(wait_window 'GAME -ZEPHYRA' 150) || fail "start screen did not appear"
  sleep 0.3
}

# A second start brings the running game forward and ends with 0, leaving
# one start screen.
second_start_ends() {
  timeout 20 "$game" >>"$work/second.txt" 2>&1
  local status=$?
  ((status == 0)) || fail "a second start ended with $status"
  within '(($(screens) == 1))' 20 || fail "$(screens) start screens after a second start"
}

# Exit on the start screen of the game $first_pid ends it with 0.
exit_first() {
  app_pid=$first_pid
  click_in "$(wait_window 'GAME -ZEPHYRA' 50)" "${exit_button[@]}"
  wait_exit 100 && ((exit_code == 0)) || fail "Exit"
  first_pid=
}

# $1: "socket" or "bus"; $2: "start screen" or "round", what the first game
# shows when it is stopped.
stall() {
  label="$1, stopped at its $2"
  own_session "$1"
  first_game
  if [[ $2 == round ]]; then
    click_in "$start" "${play_button[@]}"
    wait_window 'ZEPHYRA' 100 >/dev/null || fail "play field did not appear"
  fi
  sock=$(ls "$XDG_RUNTIME_DIR"/*.socket 2>/dev/null)
  kill -STOP "$first_pid"
  # Callers fill the stopped game's queue, so a start cannot even connect.
  [[ -n $sock ]] && { "$callers" "$sock" 8 10 "front" >/dev/null & callers_pid=$!; }
  sleep 0.3
  local t0
  t0=$(now)
  "$game" >"$work/second.txt" 2>&1 &
  second_pid=$!
  within '(($(screens "$second_pid") == 1))' 150 || fail "no start took over from the stopped game"
  echo "figure ($label): the next start showed its start screen after $(since "$t0") s"
  t0=$(now)
  kill -CONT "$first_pid"
  if [[ $2 == round ]]; then
    within '! kill -0 "$second_pid" 2>/dev/null' 30 || fail "the start in the round's place did not give way"
    echo "figure ($label): the later start gave way after $(since "$t0") s"
    wait "$second_pid"
    second_pid=
    kill -0 "$first_pid" 2>/dev/null || fail "the game with the round ended"
    wait_window 'ZEPHYRA' 10 >/dev/null || fail "the round is not shown"
    xdotool key Escape
  else
    within '! kill -0 "$first_pid" 2>/dev/null && (($(screens) == 1))' 30 ||
      fail "$(screens) start screens; the resumed game $(kill -0 "$first_pid" 2>/dev/null && echo still runs)"
    echo "figure ($label): the resumed game gave way after $(since "$t0") s"
    wait "$first_pid"
    first_pid=$second_pid second_pid=
  fi
  [[ -n $callers_pid ]] && { kill "$callers_pid"; wait "$callers_pid"; } 2>/dev/null
  callers_pid=
  # The one left is the game: the next start finds it.
  within '(($(screens) == 1))' 50 || fail "no start screen left"
  second_start_ends
  kill -0 "$first_pid" 2>/dev/null || fail "the game left ended"
  exit_first
  end_session
  echo "ok: $label"
}

# CPU seconds the game $1 has used.
cpu_seconds() { awk -v hz="$(getconf CLK_TCK)" '{printf "%.2f", ($14 + $15) / hz}' "/proc/$1/stat"; }

socket() {
  own_session socket
  label="callers that say nothing"
  first_game
  sock=$(ls "$XDG_RUNTIME_DIR"/*.socket)
  for text in "" "front"; do
    read -r _ in _ closed < <("$callers" "$sock" 8 6 "$text")
    ((in == 8 && closed == 8)) || fail "'$text': $closed of $in callers let go, of 8"
  done
  second_start_ends
  echo "ok: $label"
  kill -9 "$first_pid"
  wait "$first_pid" 2>/dev/null

  label="2,000 callers, 1,024 descriptors"
  (ulimit -n 1024 && exec "$game") >"$work/out.txt" 2>&1 &
  app_pid=$! first_pid=$!
  start=$(wait_window 'GAME -ZEPHYRA' 150) || fail "start screen did not appear"
  sleep 0.3
  local cpu t0 flood=8
  cpu=$(cpu_seconds "$first_pid")
  "$callers" "$sock" 2000 "$flood" >"$work/callers.txt" &
  callers_pid=$!
  sleep 2
  click_in "$start" "${options_button[@]}"
  options=$(wait_window 'Options' 50) || fail "Options did not open during the flood"
  click_in "$options" "${save_button[@]}"
  wait "$callers_pid"
  callers_pid=
  cpu=$(echo "$(cpu_seconds "$first_pid") - $cpu" | bc)
  echo "figure ($label): $(cat "$work/callers.txt") in $flood s; the game used $cpu s of CPU"
  # A game spinning on its socket takes a whole core.
  (($(echo "$cpu < $flood / 4" | bc))) || fail "the game used $cpu s of CPU in $flood s"
  t0=$(now)
  start=$(wait_window 'GAME -ZEPHYRA' 50) || fail "no start screen after the flood"
  click_in "$start" "${play_button[@]}"
  play=$(wait_window 'ZEPHYRA' 100) || fail "Play after the flood"
  echo "figure ($label): Play answered $(since "$t0") s after the flood"
  leave_and_exit "$play"
  first_pid=
  echo "ok: $label"

  # Something that is not a file where the lock belongs.
  local lock
  for kind in directory fifo; do
    label="a $kind where the lock belongs"
    own_session socket
    lock=$XDG_RUNTIME_DIR/$(basename "${sock%.socket}").lock
    if [[ $kind == directory ]]; then mkdir "$lock"; else mkfifo "$lock"; fi
    first_game
    (($(grep -c "$lock cannot be the lock" "$work/out.txt") == 1)) || fail "not one line on stderr"
    second_start_ends
    exit_first
    echo "ok: $label"
  done
}

start_display || fail "Xvfb did not start"
stall socket "start screen"
stall bus "start screen"
stall socket round
stall bus round
socket
