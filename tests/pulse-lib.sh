# Shared by the sound checks (sourced after tools/harness.sh, not run): a
# private PulseAudio server with a null sink, so a test hears what the game
# plays without touching anyone's sound, and the recording of what it heard. Its runtime folder and
# socket are $pulse_dir's own; it can be stopped and started again on the same
# socket, as a desktop's server is.

pulse_dir=$(mktemp -d)
chmod 700 "$pulse_dir"
export XDG_RUNTIME_DIR=$pulse_dir HOME=$pulse_dir PULSE_SERVER=unix:$pulse_dir/native
pulse_pid=

# Starts the server with the sink zephyra_test; $pulse_pid (and, for the
# programs it runs, ZEPHYRA_PULSE_PID) is its process.
start_pulse() {
  command -v pulseaudio >/dev/null || { echo "pulseaudio is not installed" >&2; return 1; }
  # No session bus: asked for one, the server would have libdbus start a bus
  # for the display (dbus-launch, dbus-daemon) that outlives it.
  DBUS_SESSION_BUS_ADDRESS=disabled: pulseaudio --daemonize=no -n --exit-idle-time=-1 --disable-shm --use-pid-file=no \
    --load="module-null-sink sink_name=zephyra_test" \
    --load="module-native-protocol-unix socket=$pulse_dir/native auth-anonymous=1" \
    >>"$pulse_dir/pulse.log" 2>&1 &
  pulse_pid=$!
  export ZEPHYRA_PULSE_PID=$pulse_pid
  wait_until 'pactl info >/dev/null 2>&1 || ! kill -0 "$pulse_pid" 2>/dev/null' 100 ended-too
  pactl info >/dev/null 2>&1 && return 0
  cat "$pulse_dir/pulse.log" >&2
  echo "the private sound server did not answer" >&2
  return 1
}

# Ends the server as a crash would (SIGKILL), or as asked ($1: a signal).
stop_pulse() {
  [[ -n $pulse_pid ]] || return 0
  kill "-${1:-KILL}" "$pulse_pid" 2>/dev/null
  wait "$pulse_pid" 2>/dev/null
  pulse_pid=
}

# Stops the server and removes its folder; for the script's EXIT trap.
end_pulse() {
  [[ -n $pulse_pid ]] && kill -CONT "$pulse_pid" 2>/dev/null
  stop_pulse TERM
  rm -rf "$pulse_dir"
}

# For a check that plays the game and hears it: a $work folder, the game's
# and the recorder's processes ($app_pid, $rec_pid), which end_game_and_recorder
# ends (and the exit too, with the server), and the server started.
start_hearing_check() {
  work=$(mktemp -d)
  app_pid= rec_pid=
  on_exit 'end_game_and_recorder; end_pulse; rm -rf "$work"'
  start_pulse
}
end_game_and_recorder() {
  local p
  for p in $app_pid $rec_pid; do kill "$p" 2>/dev/null; done
  app_pid= rec_pid=
}

# Sound segments of a recording (a .raw one of record's, also while it is
# made) or of a WAV file: 10 ms windows of a mono 8 kHz copy louder than the
# threshold, gaps under 150 ms bridged; "start length" in seconds.
segments() {
  local raw=()
  [[ $1 == *.raw ]] && raw=(-t raw -r 44100 -e signed -b 16 -c 2)
  sox "${raw[@]}" "$1" -r 8000 -c 1 -t dat - 2>/dev/null | awk '
    /^;/ { next }
    { w = int($1 * 100); a = $2 < 0 ? -$2 : $2; if (a > peak[w]) peak[w] = a; if (w > last) last = w }
    END {
      s = -1
      for (w = 0; w <= last; ++w)
        if (peak[w] > 0.02) { if (s < 0 || w - e > 15) { if (s >= 0) print s / 100, (e - s + 1) / 100; s = w } e = w }
      if (s >= 0) print s / 100, (e - s + 1) / 100
    }'
}

# Records what source $1 hears into $2 (FILE.raw), in small fragments so
# the file holds each sound moments after it is played; returns once the
# server delivers to the recorder, false if it never does.
record() {
  parec -d "$1" --raw --latency-msec=50 --format=s16le --rate=44100 --channels=2 >"$2" &
  rec_pid=$!
  wait_until 'pactl list source-outputs 2>/dev/null | grep -q "application.process.id = \"$rec_pid\""' 100
}
stop_recording() { kill -INT "$rec_pid"; wait "$rec_pid" 2>/dev/null; rec_pid=; }
# Waits up to $2 tenths of a second (default 100) until the recording $1
# holds at least $3 sounds (default 1), the last one ended.
wait_heard() {
  local recording=$1 sounds=${3:-1}
  wait_until '(( $(segments "$recording" | awk -v end="$(stat -c %s "$recording")" "
      { last = \$1 + \$2 } END { if (NR && end / 176400 - last > 0.2) print NR; else print NR - 1 }") >= sounds ))' \
    "${2:-100}"
}
