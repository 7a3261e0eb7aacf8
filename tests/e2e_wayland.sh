#!/usr/bin/env bash
# On a Wayland desktop the game runs through XWayland: under GNOME's
# compositor (mutter, headless, with XWayland) and with no platform chosen,
# the window-flow, play and grown-ups' checks pass on XWayland's display:
# start screen centred, play field full screen, the wasp pops under the
# pointer, Esc back, Exit, one game at a time, the child lock. A platform the user chose stands: with QT_QPA_PLATFORM=offscreen no
# window reaches XWayland.
# Usage: e2e_wayland.sh <path-to-zephyra>
set -uo pipefail
app=$(realpath "${1:?path to zephyra}")
here=$(dirname "$0")
. "$here/e2e-lib.sh"
runtime=$(mktemp -d)
chmod 700 "$runtime"
session_pid=
app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  local wm
  wm=$([[ -n $session_pid ]] && pgrep -P "$session_pid" -x mutter)
  [[ -n $wm ]] && kill "$wm" 2>/dev/null
  [[ -n $session_pid ]] && wait "$session_pid" 2>/dev/null
  rm -rf "$runtime"
}
on_exit cleanup
fail_shows "$runtime/mutter.log"

export XDG_RUNTIME_DIR=$runtime XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-zephyra-test
unset DISPLAY QT_QPA_PLATFORM
# In a session of its own, so nothing the compositor signals reaches this script.
setsid env "${wm_environment[@]}" dbus-run-session -- mutter --wayland --headless --virtual-monitor 1280x800 \
  --wayland-display="$WAYLAND_DISPLAY" >"$runtime/mutter.log" 2>&1 &
session_pid=$!
wait_until 'DISPLAY=$(sed -n "s/.*Using public X11 display \(:[0-9]*\).*/\1/p" "$runtime/mutter.log" 2>/dev/null)
            [[ -n $DISPLAY ]]' 100 ended-too
[[ -n $DISPLAY ]] || fail "mutter started no XWayland"
export DISPLAY XAUTHORITY
XAUTHORITY=$(echo "$runtime"/.mutter-Xwaylandauth.*)
xdpyinfo >/dev/null 2>&1 || fail "XWayland on $DISPLAY does not answer"

export E2E_DESKTOP="mutter, XWayland"
bash "$here/e2e_flow.sh" "$app" || fail "window flow through XWayland"
bash "$here/e2e_play.sh" "$app" || fail "play through XWayland"
bash "$here/e2e_parent.sh" "$app" || fail "the grown-ups' choices through XWayland"

QT_QPA_PLATFORM=offscreen "$app" >/dev/null 2>&1 &
app_pid=$!
wait_window "$start_title" 30 >/dev/null && fail "QT_QPA_PLATFORM=offscreen was overridden: the window is on XWayland"
kill -0 "$app_pid" 2>/dev/null || fail "the game did not run on the platform the user chose"
echo "ok: the user's platform stands"
