#!/usr/bin/env bash
# One game at a time when a game stands still or is flooded, in the real
# program. With a session bus and without: a start never waits on a stopped
# game (SIGSTOP, its socket's queue full) longer than the answer time; once
# the stopped game runs again it gives way, or keeps the round on its screen
# and the later start gives way unless it has a round too. Without a bus: callers that say nothing or
# half a line are let go; 2,000 callers under a limit of 1,024 descriptors,
# or a few with none left, cost the game a moment of CPU and leave Options
# and Play working; a directory or a FIFO where the lock file belongs leaves
# one game, said in one line. Six starts at once while the game is stopped
# leave one game once it runs again. Prints what it measures ("figure").
# Usage: e2e_onegame.sh <path-to-zephyra>
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
. "$(dirname "$0")/e2e-lib.sh"
work=$(mktemp -d)
first= later= flood=
on_exit 'kill -CONT $first 2>/dev/null; kill -9 $first $later $flood 2>/dev/null; end_session; rm -rf "$work"'
now() { date +%s.%N; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a - b }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
figure() { echo "figure ($label): $1 $(minus "$(now)" "$2") s"; }
screens() { xdotool search --onlyvisible --name "^$start_title\$" 2>/dev/null | wc -l; }

# Connects $2 callers to socket $1, each saying $4 (may be half a line), and
# keeps those not let in yet trying for $3 seconds; prints how many got in
# and how many the game closed.
callers() {
  (ulimit -n 4096 2>/dev/null; exec perl -MSocket=:all -e '
    my ($path, $left, $seconds, $text) = @ARGV;
    my ($end, $got, $closed, @in) = (time + $seconds, 0, 0);
    while (time < $end && ($left || @in)) {
      while ($left) {
        socket(my $s, AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0) or last;
        connect($s, pack_sockaddr_un($path)) or last;
        syswrite($s, $text) if length $text;
        push @in, $s; --$left; ++$got;
      }
      select(undef, undef, undef, 0.01);
      @in = grep { my $n = sysread($_, my $byte, 1); (defined $n ? $n > 0 : $!{EAGAIN}) or !++$closed } @in;
    }
    print "connected $got closed $closed\n";' "$@")
}

# Callers wait in the game's full queue at $sock: more than the backlog it
# listens with (the address it was bound at, before its move into place).
queue_full() { ss -xlH | awk -v sock="$sock" 'index($5, sock) == 1 && $3 > $4 { full = 1 } END { exit !full }'; }
# Process $1 is stopped.
stopped() { [[ $(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) == T ]]; }

# Starts a game ($first) and waits for its start screen ($start); $sock is
# its socket when it has one.
first_game() {
  launch_game
  first=$app_pid
  start=$(wait_window "$start_title" 150) || fail "no start screen"
  sock=$(ls "$XDG_RUNTIME_DIR"/*.socket 2>/dev/null)
}

# A further start brings the game $first forward and ends with 0, leaving
# one start screen; then Exit ends the game with 0.
next_start_and_exit() {
  timeout 20 "$game" >/dev/null 2>&1 || fail "a further start ended with $?"
  wait_until '(($(screens) == 1))' 20 ended-too || fail "$(screens) start screens after a further start"
  app_pid=$first
  click_in "$(wait_window "$start_title" 50)" "${exit_button[@]}"
  wait_exit 100 && ((exit_code == 0)) || fail "Exit"
  first=
  echo "ok: $label"
}

# Visible windows of process $1 named exactly $2.
window_of() { xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n1; }

# $1: "socket" or "bus"; $2: what the stopped game shows, "start screen" or
# "round"; $3: "playing" when the later start has a round too.
stall() {
  label="$1, stopped at its $2${3:+, the later start $3}"
  own_session "$1"
  first_game
  if [[ $2 == round ]]; then
    click_in "$start" "${play_button[@]}"
    wait_window "$field_title" 100 >/dev/null || fail "no round"
  fi
  kill -STOP "$first"
  [[ -n $sock ]] && { callers "$sock" 8 10 front >/dev/null & flood=$!; }
  wait_until 'stopped "$first" && { [[ -z $sock ]] || queue_full; }' 30 ended-too
  local t
  t=$(now)
  "$game" >/dev/null 2>&1 &
  later=$!
  wait_until '[[ -n $(window_of "$later" "$start_title") ]]' 150 ended-too || fail "no start took over the stopped game"
  figure "the later start showed its start screen after" "$t"
  if [[ -n ${3:-} ]]; then
    click_in "$(window_of "$later" "$start_title")" "${play_button[@]}"
    wait_until '[[ -n $(window_of "$later" "$field_title") ]]' 100 ended-too || fail "no round in the later start"
  fi
  t=$(now)
  kill -CONT "$first"
  if [[ $2 == round && -z ${3:-} ]]; then
    wait_until '! kill -0 "$later" 2>/dev/null' 30 ended-too || fail "the later start did not give way"
    figure "the later start gave way after" "$t"
    [[ -n $(window_of "$first" "$field_title") ]] || fail "the round is gone"
  else
    wait_until '! kill -0 "$first" 2>/dev/null' 30 ended-too || fail "the resumed game did not give way"
    figure "the resumed game gave way after" "$t"
    first=$later
  fi
  later=
  kill "$flood" 2>/dev/null
  flood=
  [[ $2 == round ]] && xdotool key Escape
  wait_until '(($(screens) == 1))' 50 ended-too || fail "$(screens) start screens"
  next_start_and_exit
}

# $1: "socket" or "bus". Six starts at once while the game stands still:
# once it runs again, one game is left, with one start screen.
crowd() {
  label="$1, six starts while the game is stopped"
  own_session "$1"
  first_game
  kill -STOP "$first"
  local pids=() pid t
  for _ in 1 2 3 4 5 6; do
    "$game" >/dev/null 2>&1 &
    pids+=($!)
    later="${pids[*]}"
  done
  # Each start has ended or shows its start screen.
  decided() {
    for pid in "${pids[@]}"; do
      kill -0 "$pid" 2>/dev/null && [[ -z $(window_of "$pid" "$start_title") ]] && return 1
    done
    return 0
  }
  wait_until decided 200 ended-too || fail "the six starts did not settle"
  t=$(now)
  kill -CONT "$first"
  alive() { local n=0; for pid in "$first" "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && ((++n)); done; echo "$n"; }
  wait_until '(($(alive) == 1))' 100 ended-too || fail "$(alive) games left"
  figure "one game was left after" "$t"
  wait_until '(($(screens) == 1))' 50 ended-too || fail "$(screens) start screens"
  for pid in "$first" "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && first=$pid; done
  later=
  next_start_and_exit
}

cpu_seconds() { awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$first/stat"; }

socket() {
  label="callers that say nothing"
  own_session socket
  first_game
  for text in "" front; do
    [[ $(callers "$sock" 8 6 "$text") == "connected 8 closed 8" ]] || fail "'$text': not all let go"
  done
  next_start_and_exit

  label="2,000 callers, 1,024 descriptors"
  (ulimit -n 1024 && exec "$game") >/dev/null 2>&1 &
  app_pid=$! first=$!
  start=$(wait_window "$start_title" 150) || fail "no start screen"
  local cpu t seconds=8
  cpu=$(cpu_seconds)
  callers "$sock" 2000 $seconds >"$work/callers.txt" &
  flood=$!
  wait_until queue_full 30
  click_in "$start" "${options_button[@]}"
  t=$(wait_window "$options_title" 50) || fail "Options during the flood"
  click_in "$t" "${save_button[@]}"
  wait "$flood"
  flood=
  cpu=$(minus "$(cpu_seconds)" "$cpu")
  echo "figure ($label): $(<"$work/callers.txt") in $seconds s; the game's CPU: $cpu s"
  # A game spinning on its socket takes a whole core.
  below "$cpu" $((seconds / 4)) || fail "$cpu s of CPU in $seconds s"
  # Out of descriptors: a refused accept rests the socket.
  prlimit --pid "$first" --nofile=$(($(ls "/proc/$first/fd" | wc -l) + 2)):1024
  cpu=$(cpu_seconds)
  callers "$sock" 100 4 >/dev/null
  cpu=$(minus "$(cpu_seconds)" "$cpu")
  prlimit --pid "$first" --nofile=1024
  echo "figure ($label): out of descriptors, the game's CPU: $cpu s in 4 s"
  below "$cpu" 1 || fail "out of descriptors, $cpu s of CPU in 4 s"
  t=$(now)
  start=$(wait_window "$start_title" 50) && click_in "$start" "${play_button[@]}" &&
    play=$(wait_window "$field_title" 100) || fail "Play after the flood"
  figure "Play answered after" "$t"
  leave_and_exit "$play"
  first=
  echo "ok: $label"

  for kind in directory fifo; do
    label="a $kind where the lock belongs"
    own_session socket
    local lock=$XDG_RUNTIME_DIR/$(basename "${sock%.socket}").lock
    if [[ $kind == directory ]]; then mkdir "$lock"; else mkfifo "$lock"; fi
    first_game
    (($(grep -c "$lock cannot be the lock" "$work/out.txt") == 1)) || fail "not one line on stderr"
    next_start_and_exit
  done
}

start_display || fail "Xvfb did not start"
crowd socket
crowd bus
stall socket "start screen"
stall bus "start screen"
stall socket round
stall bus round
stall socket round playing
stall bus round playing
socket
