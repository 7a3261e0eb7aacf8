# The pieces of a frame-pacing measurement (sourced by bench/pacing.sh and
# bench/slow-machine.sh). The caller sets $game (the zephyra executable),
# $tools (the folder of build/pacing and build/pacing_reference), $duration
# (seconds measured) and a display. One run starts the play field (Play
# clicked) or the bare reference, moves the pointer five times a second up and
# down the field's left edge strip, where the sting never lies inside a
# balloon, so no pop and no prize pause breaks the rhythm, lets it settle for
# 2 s, runs the caller's hook, then measures.

pictures=$(dirname "${BASH_SOURCE[0]}")/../assets/pictures
. "$(dirname "${BASH_SOURCE[0]}")/../tools/harness.sh"
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

# One run of kind (game | reference); the command $2 runs after the settling,
# with the program's process in $app_pid. Prints pacing's line.
pacing_run() {
  local kind=$1 hook=${2:-} wid
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
  local steps=$(( (duration + 15) * 5 ))
  mapfile -t cmd < <(awk -v n="$steps" 'BEGIN {
    for (i = 0; i < n; ++i) printf "mousemove\n%d\n%d\nsleep\n0.2\n", 4 + (i % 7) * 4, 100 + (i * 113) % 900 }')
  xdotool "${cmd[@]}" &
  mover_pid=$!
  sleep 2
  eval "$hook"
  "$tools/pacing" --seconds "$duration" "$wid" || fail "pacing failed on $kind"
  kill -0 "$app_pid" 2>/dev/null || fail "$kind ended during the run"
  stop_run
  sleep 0.5
}

# The span over the rounds of one column of pacing's lines ($1): "a" or "a-b".
span() {  # lines, field
  printf '%s' "$1" | sed -n "s/.* $2=\([0-9.]*\).*/\1/p" | sort -g |
    awk 'NR == 1 {lo = $1} {hi = $1} END {printf (lo == hi) ? "%s" : "%s-%s", lo, hi}'
}

# Table cells "| a | b |" of the given columns over pacing's lines $1.
cells() {
  local lines=$1 field
  shift
  for field; do printf ' %s |' "$(span "$lines" "$field")"; done
}
