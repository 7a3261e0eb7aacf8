#!/usr/bin/env bash
# The game on the desktops families run, side by side in one run: a bare
# session, then the same X server with XDG_CURRENT_DESKTOP=GNOME and =KDE,
# as those sessions set it, with whatever Qt packages this machine has
# (tools/install-deps brings GNOME's and KDE's). No session bus, as on a
# display that has none. Per desktop, the medians of $runs starts (default 5):
#  - first paint: exec to the start screen painted (build/firstpaint);
#  - RSS at the start screen (1.5 s after the first paint, the audio output
#    open) and in a round (Play, 2 s of flight);
#  - shared objects mapped at the start screen;
#  - processes left 1 s after Esc and Exit (anything carrying this run's mark
#    in its environment: the game's children and theirs).
# Goal: every desktop within 3 MB RSS and 5 shared objects of the bare
# session, its first paint within the bare session's spread (min-max).
# On Debian 13: sudo tools/check-release trixie --run bench/desktops.sh build/zephyra
# Usage: bench/desktops.sh <path-to-zephyra> [runs]
set -uo pipefail
. "$(dirname "$0")/../tests/e2e-lib.sh"

start_measuring "$@"
fail_shows "$work/game.log" 20
start_display 1280x1024x24 || fail "Xvfb did not start"
mkdir -m 700 "$work/run"

mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$game_pid/status"; }

echo "| Desktop | First paint, ms (min-max) | RSS at the start screen, MB | RSS in a round, MB | Shared objects | Processes left after exit |"
echo "|---|---|---|---|---|---|"
for desktop in bare GNOME KDE; do
  label=$desktop
  paints=() starts=() rounds=() objects=() left=()
  for ((run = 1; run <= runs; ++run)); do
    mark=zephyra-desktops-$$-$desktop-$run
    desktop_env=()
    [[ $desktop != bare ]] && desktop_env=(XDG_CURRENT_DESKTOP="$desktop")
    read -r game_pid ms < <(env -u DBUS_SESSION_BUS_ADDRESS -u XDG_CURRENT_DESKTOP XDG_RUNTIME_DIR="$work/run" \
      ZEPHYRA_BENCH_MARK="$mark" "${desktop_env[@]}" "$probe" "$start_title" 10000 "$game" 2>>"$work/game.log")
    [[ $ms == timeout || -z $ms ]] && fail "no first paint within 10 s"
    paints+=("$ms")
    sleep 1.5
    starts+=("$(mb "$(rss_kb)")")
    objects+=("$(awk '$6 ~ /\.so/ {print $6}' "/proc/$game_pid/maps" | sort -u | wc -l)")
    start=$(xdotool search --onlyvisible --name "^$start_title\$" | head -n1)
    read -r x y _ _ < <(geometry "$start")
    xdotool mousemove $((x + play_button[0])) $((y + play_button[1])) sleep 0.2 click 1
    play=$(wait_window "$field_title") || fail "Play showed no play field"
    sleep 2
    rounds+=("$(mb "$(rss_kb)")")
    xdotool windowfocus --sync "$play" key Escape 2>/dev/null
    start=$(wait_window "$start_title") || fail "Esc did not bring back the start screen"
    sleep 0.3
    xdotool mousemove $((x + exit_button[0])) $((y + exit_button[1])) sleep 0.2 click 1
    for _ in $(seq 100); do
      grep -qs '^State:[[:space:]]*[^Z]' "/proc/$game_pid/status" || break
      sleep 0.1
    done
    grep -qs '^State:[[:space:]]*[^Z]' "/proc/$game_pid/status" && fail "Exit did not end the game"
    game_pid=
    sleep 1
    pids=$(grep -lsF "ZEPHYRA_BENCH_MARK=$mark" /proc/[0-9]*/environ | cut -d/ -f3)
    left+=("$(wc -w <<<"$pids")")
    names=$(for pid in $pids; do ps -o comm= -p "$pid"; done | tr '\n' ' ')
    for pid in $pids; do kill "$pid" 2>/dev/null; done  # so the next start finds none
  done
  printf '| %s | %s (%s-%s) | %s | %s | %s | %s%s |\n' "$desktop" \
    "$(printf '%s\n' "${paints[@]}" | median)" \
    "$(printf '%s\n' "${paints[@]}" | sort -g | head -n1)" "$(printf '%s\n' "${paints[@]}" | sort -g | tail -n1)" \
    "$(printf '%s\n' "${starts[@]}" | median)" "$(printf '%s\n' "${rounds[@]}" | median)" \
    "$(printf '%s\n' "${objects[@]}" | median)" "$(printf '%s\n' "${left[@]}" | median)" \
    "${names:+ (${names% })}"
done
