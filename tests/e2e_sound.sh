#!/usr/bin/env bash
# The sounds, heard: a private PulseAudio server with a null sink, the real
# game playing into it, the sink's monitor recorded. The prize count is set to
# 2 in the options dialog (with 1, the first pop wins and plays the fanfare
# alone): one pop, a pause, the second pop wins the prize. The recording must
# hold a sound of the pop's length and then one of the fanfare's, nothing else.
# Then, in one round, the server's troubles: the device in use goes away, the
# server dies and comes back, the server stops answering. The field goes on
# drawing and counting throughout, pops are heard again each time the server
# can play them, and Esc and Exit work while the server does not answer.
# Usage: e2e_sound.sh <path-to-zephyra>
set -uo pipefail

game=${1:?path to the zephyra executable}
: "${DISPLAY:?DISPLAY must name an X server}"
. "$(dirname "$0")/e2e-lib.sh"
. "$(dirname "$0")/pulse-lib.sh"
command -v parec >/dev/null && command -v sox >/dev/null \
  || { echo "parec or sox missing: tools/install-deps installs them" >&2; exit 1; }

start_hearing_check || exit 1
label=sound

# Starts the game, sets the prize count to $1 and opens the play field $play.
start_round() {
  launch_game
  start=$(wait_window "$start_title" 150) || fail "start screen did not appear"
  set_prize_count "$start" "$1" || fail "could not set the prize count"
  start=$(wait_window "$start_title" 50)
  click_in "$start" "${play_button[@]}"
  play=$(wait_window "$field_title" 100) || fail "play field did not appear"
}

start_round 2

# The prize pause is the only time the field stands still: no tick runs.
frozen() {
  local a b
  a=$(import -window root rgb:- 2>/dev/null | md5sum)
  sleep 0.5
  b=$(import -window root rgb:- 2>/dev/null | md5sum)
  [[ $a == "$b" ]]
}
# Waits up to 12 s for the prize pause to end.
wait_thawed() { for _ in $(seq 24); do frozen || return 0; done; return 1; }

# One pop, a pause with the sting off the screen, the winning pop. Two
# balloons popped together would win at once; then the round is played again.
for attempt in 1 2 3; do
  record zephyra_test.monitor "$work/rec.raw" || fail "the recorder did not start"
  play_until_pops "$play" 1 80 4 || fail "no first pop"
  xdotool mousemove 0 0
  sleep 1
  if frozen; then
    stop_recording
    wait_thawed || fail "the prize pause did not end"
    continue
  fi
  play_until_pops "$play" 1 80 4 || fail "no second pop"
  xdotool mousemove 0 0
  wait_until frozen 10 || fail "the second pop did not win the prize"  # once the prize shows
  wait_heard "$work/rec.raw" 100 2  # the fanfare plays out; what was heard is judged below
  stop_recording
  wait_thawed || fail "the prize pause did not end"
  break
done
[[ -f $work/rec.raw && -z $rec_pid ]] || fail "no round with two separate pops"
leave_and_exit "$play"

heard=$(segments "$work/rec.raw")
echo "$heard" | sed 's/^/heard: /'
# The same measure of the sounds themselves gives the lengths to expect.
sounds=$(dirname "$0")/../assets/sounds
pop_len=$(segments "$sounds/pop.wav" | awk '{ print $1 + $2; exit }')
fanfare_len=$(segments "$sounds/prize.wav" | awk '{ e = $1 + $2 } END { print e }')
awk -v pop="$pop_len" -v fan="$fanfare_len" '
  { len[NR] = $2 }
  END {
    if (NR != 2) { print "expected the pop and then the fanfare, heard " NR " sounds"; exit 1 }
    if (len[1] < pop - 0.05 || len[1] > pop + 0.05) { print "first sound lasts " len[1] " s, the pop " pop " s"; exit 1 }
    if (len[2] < fan - 0.1 || len[2] > fan + 0.1) { print "second sound lasts " len[2] " s, the fanfare " fan " s"; exit 1 }
  }' <<<"$heard" >"$work/verdict" || fail "$(cat "$work/verdict")"
echo "ok: pop then fanfare heard"

# ---- The server's troubles, in one round with no prize to pause the field.
label="server trouble"
start_round 1000
play_until_pops "$play" 1 80 4 || fail "no pop"

# Pops played into sink $1, the desktop's default, while $2 more are
# counted; fails unless one is heard within 10 s.
heard_on() {
  local sink=$1
  wait_until '[[ $(pactl info 2>/dev/null | sed -n "s/^Default Sink: //p") == "$sink" ]]' ||
    fail "$sink did not become the default $3"
  record "$1.monitor" "$work/$1.raw" || fail "the recorder did not start $3"
  play_until_pops "$play" "$2" 80 4 || fail "no pop $3"
  wait_heard "$work/$1.raw"
  stop_recording
  [[ -n $(segments "$work/$1.raw") ]] || fail "no pop heard $3"
}

# The device in use goes away; the desktop's default has moved to another.
pactl load-module module-null-sink sink_name=zephyra_second >/dev/null
pactl set-default-sink zephyra_second
pactl unload-module "$(pactl list short modules | awk '$3 == "sink_name=zephyra_test" { print $1 }')"
frozen && fail "the field stopped when the device went away"
heard_on zephyra_second 2 "on the new device"

# The server dies, and comes back.
stop_pulse
frozen && fail "the field stopped when the server died"
play_until_pops "$play" 1 80 4 || fail "no pop while the server was gone"
start_pulse || fail "the sound server did not start again"
# The next pop asks for the server again; one asked for while the answer is
# on its way is not played late, so the check listens once the game is
# connected.
play_until_pops "$play" 1 80 4 || fail "no pop once the server was back"
wait_until 'pactl list clients 2>/dev/null | grep -q "application.process.id = \"$app_pid\""' ||
  fail "the game did not connect to the server again"
heard_on zephyra_test 2 "after the server came back"

# The server stops answering: the field goes on, and Esc and Exit work.
kill -STOP "$pulse_pid"
frozen && fail "the field stopped when the server stopped answering"
play_until_pops "$play" 2 80 4 || fail "no pop while the server did not answer"
leave_and_exit "$play"
kill -CONT "$pulse_pid"
echo "ok: the field went on and sound came back through the server's troubles"
