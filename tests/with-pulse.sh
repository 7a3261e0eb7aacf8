#!/usr/bin/env bash
# Runs a command against a private PulseAudio server with a null sink
# (tests/pulse-lib.sh), stopped at the end.
# Usage: with-pulse.sh <command> [args...]
set -uo pipefail
. "$(dirname "$0")/../tools/harness.sh"
. "$(dirname "$0")/pulse-lib.sh"
on_exit end_pulse
start_pulse || exit 1
"$@"
