#!/usr/bin/env bash
# valgrind's memcheck over the real program: start-up, a round with a prize
# (prize count 1, set in the options dialog), Esc, Exit. Fails on any invalid
# read or write and on bytes definitely lost; tests/valgrind.supp names what
# is not ours. Slow (minutes): ./test.sh --full runs it.
# Usage: valgrind_round.sh <path-to-zephyra>
set -uo pipefail

game=${1:?path to the zephyra executable}
: "${DISPLAY:?DISPLAY must name an X server}"
. "$(dirname "$0")/e2e-lib.sh"
work=$(mktemp -d)
app_pid=
on_exit '[[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null; rm -rf "$work"'
fail_shows "$work/memcheck.log" 30
label=valgrind
game_wrapper="valgrind --tool=memcheck --error-exitcode=99 --leak-check=full
  --show-leak-kinds=definite --errors-for-leak-kinds=definite --track-origins=no
  --num-callers=30 --suppressions=$(dirname "$0")/valgrind.supp --gen-suppressions=all
  --log-file=$work/memcheck.log"
exit_wait=3000 ui_wait=300

launch_game QT_LOGGING_RULES='qt.multimedia*=false'
start=$(wait_window "$start_title" 1200) || fail "start screen did not appear"
wait_placed "$start" 100
set_prize_count "$start" 1 || fail "could not set the prize count"
start=$(wait_window "$start_title" 300)
wait_placed "$start" 100
click_in "$start" "${play_button[@]}"
play=$(wait_window "$field_title" 600) || fail "play field did not appear"
wait_placed "$play" 100
play_until_pops "$play" 1 150 || fail "no pop"
sleep 20  # the 10 s prize pause, with room for valgrind's pace
# At valgrind's pace the pause may still run: Esc again until the round ends.
for _ in 1 2 3; do
  xdotool key Escape
  wait_window "$start_title" 150 >/dev/null && break
done
leave_and_exit "$play"
grep -E "ERROR SUMMARY|definitely lost|Invalid (read|write)" "$work/memcheck.log"
echo "ok: memcheck clean over start-up, a round with a prize and exit"
