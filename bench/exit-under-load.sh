#!/usr/bin/env bash
# The real program on a busy machine: LOAD busy loops (default 2) run beside
# it on its own Xvfb. RUNS times (default 200): start, wait for the start
# screen, click Exit, and time from the click to the end of the process.
# Prints how many runs crashed (killed by a signal), ended with another code
# than 0 or hung (still running 10 s after Exit), and the median and slowest
# exit. Goal: every run ends with 0 within 1 s.
# DAMAGED=1 runs a copy of the program with one embedded picture damaged
# instead (RUNS default 10) and times from the start to the error box that
# names it. Goal: within 2 s.
# Usage: [RUNS=n] [LOAD=n] [DAMAGED=1] bench/exit-under-load.sh <path-to-zephyra>
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
damaged=${DAMAGED:-}
runs=${RUNS:-$([[ -n $damaged ]] && echo 10 || echo 200)}
load=${LOAD:-2}
work=$(mktemp -d)
. "$(dirname "$0")/../tools/harness.sh"
app_pid= loads=()
on_exit 'for p in $app_pid "${loads[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"'

# The last picture the start-up check reaches, never shown at density 1:
# bytes in the middle of its compressed data are changed in a copy of the
# program (pictures lie uncompressed in the executable).
if [[ -n $damaged ]]; then
  picture=$(dirname "$0")/../assets/pictures/wasp-small@2x.png
  PICTURE=$picture perl -e '
    local $/; open my $p, "<:raw", $ENV{PICTURE} or die; my $pic = <$p>;
    open my $g, "<:raw", $ARGV[0] or die; my $bin = <$g>;
    my $at = index($bin, $pic); die "picture not found in the program\n" if $at < 0;
    substr($bin, $at + int(length($pic) / 2), 8) = "ZEPHYRA!";
    open my $o, ">:raw", $ARGV[1] or die; print $o $bin;' "$game" "$work/zephyra" || exit 1
  chmod +x "$work/zephyra"
  game=$work/zephyra
fi

start_display 1280x1024x24 || fail "Xvfb did not start"

for ((i = 0; i < load; ++i)); do
  bash -c 'while :; do :; done' &
  loads+=($!)
done

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
# Prints the id of the visible window named exactly $1, looking every 20 ms
# for at least $2 s, so the times measured are close.
window() { wait_window "$1" $(($2 * 50)) 0.02; }
# Waits up to 10 s for the game to end; its status goes to $status (-1: hung).
await_end() {
  local end=$(($(now_ms) + 10000))
  while kill -0 "$app_pid" 2>/dev/null && (($(now_ms) < end)); do sleep 0.005; done
  if kill -0 "$app_pid" 2>/dev/null; then
    kill -9 "$app_pid"; wait "$app_pid" 2>/dev/null; status=-1
  else
    wait "$app_pid"; status=$?
  fi
  app_pid=
}

times=() crashes=0 others=0 hangs=0 missing=0
for ((run = 1; run <= runs; ++run)); do
  t0=$(now_ms)
  "$game" >>"$work/game.log" 2>&1 &
  app_pid=$!
  if [[ -n $damaged ]]; then
    if box=$(window "$field_title" 60); then
      times+=($(($(now_ms) - t0)))
      xdotool windowfocus "$box" key Return 2>/dev/null
    else
      ((++missing))
    fi
    await_end
    ((status == 1)) || echo "run $run: status $status, not 1 after the error box" >&2
  else
    start=$(window "$start_title" 30) || { ((++missing)); kill "$app_pid"; await_end; continue; }
    eval "$(xdotool getwindowgeometry --shell "$start")"
    xdotool mousemove $((X + exit_button[0])) $((Y + exit_button[1])) sleep 0.3 click 1
    t1=$(now_ms)
    await_end
    times+=($(($(now_ms) - t1)))
  fi
  ((status > 128)) && ((++crashes))
  ((status == -1)) && ((++hangs))
  ((status != 0 && status != -1 && status <= 128)) && ((++others))
done

sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(awk '{v[NR]=$1} END {print NR ? v[int((NR+1)/2)] : "-"}' <<<"$sorted")
slowest=$(tail -n1 <<<"$sorted")
if [[ -n $damaged ]]; then
  echo "$runs runs, $load busy loops: error box after median $median ms, slowest $slowest ms" \
       "(goal < 2000); $missing without a box, crashes $crashes"
else
  echo "$runs runs, $load busy loops: exit after median $median ms, slowest $slowest ms (goal < 1000);" \
       "crashes $crashes, other exit codes $others, hangs $hangs, no start screen $missing"
fi
grep -v -e '^$' -e XDG_RUNTIME "$work/game.log" | sort | uniq -c | sort -rn | head -n 5
