#!/usr/bin/env bash
# Frame pacing of the play field against a bare Qt window doing the same
# drawing (bench/pacing_reference.cpp), quiet and with the machine busy, as
# the X server sees it (bench/pacing.cpp: Damage reports on the window).
#
# Its own Xvfb (SCREEN, 1920 x 1080 unless said otherwise). Each run starts
# the program (for the game: Play clicked), moves the pointer five times a
# second up and down the field's left edge strip, where the sting never lies
# inside a balloon, so no pop and no prize pause breaks the rhythm, lets it
# settle for 2 s, then measures SECONDS_TO_RUN (15) s. "Busy" runs two shell
# busy loops at normal priority during the measurement. The four runs go in
# turn, ROUNDS (2) times, so a drift in the machine's load hits all alike.
# Goal under load: p99 <= 75 ms, nothing over 150 ms, at least as steady as
# the reference.
# Usage: [ROUNDS=2] [SECONDS_TO_RUN=15] [SCREEN=WxH] bench/pacing.sh <path-to-zephyra> [folder of pacing tools]
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
tools=$(realpath "${2:-$(dirname "$game")}")
rounds=${ROUNDS:-2}
duration=${SECONDS_TO_RUN:-15}
screen=${SCREEN:-1920x1080}
. "$(dirname "$0")/pacing-lib.sh"
start_display "${screen}x24" || fail "Xvfb did not start"

# "Busy": two shell busy loops at normal priority during the measurement.
busy() {
  for _ in 1 2; do bash -c 'while :; do :; done' & busy_pids+=($!); done
}

declare -A results
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((round = 1; round <= rounds; ++round)); do
  for case in "game quiet" "reference quiet" "game busy" "reference busy"; do
    read -r kind load <<<"$case"
    line=$(pacing_run "$kind" "$([[ $load == busy ]] && echo busy)") || exit 1
    echo "round $round, $kind, $load: $line"
    results[$case]+="$line"$'\n'
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "| | fps | median | p95 | p99 | max | intervals over 75 ms | over 150 ms |"
echo "|---|---|---|---|---|---|---|---|"
for case in "game quiet" "reference quiet" "game busy" "reference busy"; do
  read -r kind load <<<"$case"
  who=$([[ $kind == game ]] && echo ZEPHYRA || echo reference)
  echo "| $who, $load |$(cells "${results[$case]}" fps median p95 p99 max over75 over150)"
done
