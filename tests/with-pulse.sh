#!/usr/bin/env bash
# Runs a command against a private PulseAudio server with a null sink, so a
# test hears what the game plays without touching anyone's sound: its own
# runtime folder and socket, stopped by its PID at the end.
# Usage: with-pulse.sh <command> [args...]
set -uo pipefail
command -v pulseaudio >/dev/null || { echo "pulseaudio is not installed" >&2; exit 1; }
dir=$(mktemp -d)
chmod 700 "$dir"
export XDG_RUNTIME_DIR=$dir HOME=$dir
pulseaudio --daemonize=no -n --exit-idle-time=-1 --disable-shm --use-pid-file=no \
  --load="module-null-sink sink_name=zephyra_test" \
  --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
  >"$dir/pulse.log" 2>&1 &
pulse_pid=$!
trap 'kill "$pulse_pid" 2>/dev/null; wait "$pulse_pid" 2>/dev/null; rm -rf "$dir"' EXIT
export PULSE_SERVER=unix:$dir/native ZEPHYRA_PULSE_PID=$pulse_pid
for _ in $(seq 100); do
  pactl info >/dev/null 2>&1 && break
  kill -0 "$pulse_pid" 2>/dev/null || { cat "$dir/pulse.log" >&2; exit 1; }
  sleep 0.1
done
pactl info >/dev/null 2>&1 || { echo "the private sound server did not answer" >&2; exit 1; }
"$@"
