#!/usr/bin/env bash
# The child lock on KDE Plasma's compositor on Wayland: KWin windowed on an
# Xvfb, with XWayland, keys and clicks typed into its window as a keyboard and
# a mouse would. With no round Alt+Tab gives another window the focus, so the
# check can see it; in a locked round Alt+Tab, Alt+Shift+Tab, Super+D (show
# the desktop) and Ctrl+F10 (every window) give no other window the focus at
# all, and Esc held 3.5 s leaves.
# Usage: e2e_kwin.sh <path-to-zephyra>
set -uo pipefail
game=$(realpath "${1:?path to the zephyra executable}")
. "$(dirname "$0")/e2e-lib.sh"
command -v kwin_wayland >/dev/null || { echo "SKIP: KWin is not installed here (tools/install-deps brings it)"; exit 0; }
work=$(mktemp -d)
chmod 700 "$work"
session_pid= app_pid= other_pid= spy_pid=
cleanup() {
  local kwin
  for pid in $app_pid $other_pid $spy_pid; do kill "$pid" 2>/dev/null; done
  kwin=$([[ -n $session_pid ]] && pgrep -P "$session_pid" -x kwin_wayland)
  [[ -n $kwin ]] && kill "$kwin" 2>/dev/null
  [[ -n $session_pid ]] && wait "$session_pid" 2>/dev/null
  # What KWin started outlives it.
  [[ -s $work/program ]] && kill "$(cat "$work/program")" 2>/dev/null
  rm -rf "$work"
}
on_exit cleanup
fail_shows "$work/kwin.log" 10
fail_shows "$work/out.txt"

start_display 1280x800x24 || fail "Xvfb did not start"
host=$DISPLAY
export XDG_RUNTIME_DIR=$work/run XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-zephyra-kwin
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS
# A copy runs where the installed one's file capability (a higher limit on
# resources) is not allowed, as in a container; KWin needs none of it here.
cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
# KWin starts the program given it once XWayland is up, with the display in
# its environment.
setsid env "${wm_environment[@]}" QT_QPA_PLATFORM=xcb dbus-run-session -- "$work/kwin_wayland" --xwayland \
  --socket "$WAYLAND_DISPLAY" --x11-display "$host" --width 1280 --height 800 --no-lockscreen \
  "sh -c 'echo \$\$ >$work/program; echo \$DISPLAY >$work/display; exec sleep 100000'" >"$work/kwin.log" 2>&1 &
session_pid=$!
wait_until '[[ -s $work/display ]] || ! kill -0 "$session_pid" 2>/dev/null' 600 ended-too
[[ -s $work/display ]] || fail "KWin started no XWayland"
DISPLAY=$(cat "$work/display")
export DISPLAY
xdpyinfo >/dev/null 2>&1 || fail "XWayland on $DISPLAY does not answer"
# Keys and the mouse reach KWin through its window on the Xvfb.
input_to "$host"
xdotool mousemove 640 400
kwin_window=$(DISPLAY=$host xwininfo -root -children | awk '/^ +0x/ && /1280x800/ {print $1; exit}')
[[ -n $kwin_window ]] || fail "no KWin window on the Xvfb"
DISPLAY=$host xdotool windowfocus "$kwin_window"
# KWin repeats a held key itself; the Xvfb's own repeat on top would reach
# the game as the key let go and pressed again.
DISPLAY=$host xset r off
active() { printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | awk '{print $NF}')"; }

xmessage -name other "another program" 2>/dev/null &
other_pid=$!
wait_window other 100 >/dev/null || fail "no other window"

# Clicks on the KWin window land where its output shows them.
begin_round --child-lock
wait_until '[[ $(active) == "$play" ]]' 50
[[ $(active) == "$play" ]] || fail "the field does not have the focus"

label="KWin on Wayland, child lock"
# A chord "alt+Tab" as fingers press it: the modifiers held, the last key
# tapped, the modifiers let go; KWin switches only once its popup is up.
chord() { xdotool keydown "${1%+*}" key --delay 300 "${1##*+}" sleep 0.5 keyup "${1%+*}"; }
# Every change of the active window, as KWin sets it; others() names those
# that were not the field.
xprop -root -spy _NET_ACTIVE_WINDOW >"$work/active.txt" 2>/dev/null &
spy_pid=$!
others() { awk '{print $NF}' "$work/active.txt" | while read -r id; do printf '%d\n' "$id"; done | grep -vx "$play"; }
for keys in alt+Tab alt+shift+Tab super+d ctrl+F10; do
  chord "$keys"
  wait_until '[[ -n $(others) ]]' 10 && fail "$keys gave another window the focus: $(others)"
  echo "ok: $label: $keys holds"
done
kill "$spy_pid"; spy_pid=
leave_locked
echo "ok: $label: Esc held 3.5 s leaves"

label="KWin on Wayland, start screen"
chord alt+Tab
wait_until '[[ $(active) != "$start" ]]' 30
[[ $(active) != "$start" ]] || fail "Alt+Tab did nothing: the check would see no escape"
echo "ok: $label: Alt+Tab gives another window the focus, as without a round"
click_in "$start" "${exit_button[@]}"
wait_exit 100 && ((exit_code == 0)) || fail "Exit did not end the game with 0"
