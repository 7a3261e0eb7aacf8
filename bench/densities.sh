#!/usr/bin/env bash
# One run over the screens the game must serve: 1920 x 1080, 3840 x 2160, and
# 3840 x 2160 at scale 2 (QT_SCALE_FACTOR=2). For each it measures first
# paint, resident memory with the play field (settled and peak) through
# startup.sh, and CPU while playing through play-cpu.sh, then prints every
# figure with its ratio to the 1920 x 1080 one of the same run.
#
# CPU figures move in 10 ms steps and with the machine's load, so the play
# runs go round the screens in turn (load drifts hit all of them alike) and
# the medians are compared. The load average before and after is printed.
# Usage: [CPU_RUNS=3] [SECONDS_TO_RUN=30] [STARTUP_RUNS=5] bench/densities.sh <path-to-zephyra>
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
here=$(dirname "$(realpath "$0")")
. "$here/../tools/harness.sh"  # median, fail
cpu_runs=${CPU_RUNS:-3}
startup_runs=${STARTUP_RUNS:-5}
screens=("1920x1080 1" "3840x2160 1" "3840x2160 2")

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A paint rss peak cpus
for s in "${screens[@]}"; do
  read -r size scale <<<"$s"
  # One retry: a display number taken at the same moment by another run fails a run.
  out=$(SCREEN=$size SCALE=$scale bash "$here/startup.sh" "$game" "$startup_runs") \
    || out=$(SCREEN=$size SCALE=$scale bash "$here/startup.sh" "$game" "$startup_runs") || {
    echo "$out" >&2; fail "startup at $s"; }
  paint[$s]=$(sed -n 's/^median first paint: \([0-9.]*\) ms.*/\1/p' <<<"$out")
  rss[$s]=$(sed -n 's/^median RSS after the play field: \([0-9.]*\) MB.*/\1/p' <<<"$out")
  peak[$s]=$(sed -n 's/^median peak RSS: \([0-9.]*\) MB.*/\1/p' <<<"$out")
  echo "startup $size scale $scale: paint ${paint[$s]} ms, RSS ${rss[$s]} MB, peak ${peak[$s]} MB"
done
for ((run = 1; run <= cpu_runs; ++run)); do
  for s in "${screens[@]}"; do
    read -r size scale <<<"$s"
    out=$(SCREEN=$size SCALE=$scale bash "$here/play-cpu.sh" "$game") \
      || out=$(SCREEN=$size SCALE=$scale bash "$here/play-cpu.sh" "$game") || {
      echo "$out" >&2; fail "play CPU at $s"; }
    pct=$(sed -n 's/.* = \([0-9.]*\) % of one core.*/\1/p' <<<"$out")
    cpus[$s]+="$pct "
    echo "play CPU run $run $size scale $scale: $pct %"
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

base="${screens[0]}"
cpu_base=$(tr ' ' '\n' <<<"${cpus[$base]}" | grep . | median)
printf '\n%-22s %12s %16s %16s %16s\n' screen "CPU %" "first paint ms" "RSS MB" "peak RSS MB"
for s in "${screens[@]}"; do
  read -r size scale <<<"$s"
  c=$(tr ' ' '\n' <<<"${cpus[$s]}" | grep . | median)
  awk -v n="$size scale $scale" -v c="$c" -v cb="$cpu_base" -v p="${paint[$s]}" -v pb="${paint[$base]}" \
      -v r="${rss[$s]}" -v rb="${rss[$base]}" -v k="${peak[$s]}" -v kb="${peak[$base]}" 'BEGIN {
    printf "%-22s %5.2f (x%.2f) %7.1f (x%.2f) %7.1f (x%.2f) %7.1f (x%.2f)\n",
           n, c, c / cb, p, p / pb, r, r / rb, k, k / kb }'
done
