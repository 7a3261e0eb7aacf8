#!/usr/bin/env bash
# The child lock on GNOME on Wayland, the desktop most families get: GNOME
# Shell on mutter's headless backend with XWayland, on a private session bus,
# keys sent through mutter's remote-desktop API, so the shell's own bindings
# see them as a keyboard's. In a locked round Super, Super+A, Super+S,
# Alt+F2, Alt+Space, Print, Alt+Tab, Alt+Esc, Super+Tab (with another window
# open), Ctrl+Alt+Right, Super+Page Down and Super after Super+Esc give
# nothing the keyboard, the focus or another workspace, as the shell itself reports it; Esc held
# 3.5 s leaves. An unlocked round still lets Super open the overview.
# (Ctrl+Alt+Delete and Super+L belong to GNOME's settings daemon, which this
# session does not run.)
# Usage: e2e_gnome.sh <path-to-zephyra>
set -uo pipefail
game=$(realpath "${1:?path to the zephyra executable}")
here=$(dirname "$0")
. "$here/e2e-lib.sh"
command -v gnome-shell >/dev/null || { echo "SKIP: GNOME Shell is not installed here (tools/install-deps brings it)"; exit 0; }
work=$(mktemp -d)
chmod 700 "$work"
session_pid= system_bus_pid= app_pid= other_pid=
cleanup() {
  local shell
  [[ -n $app_pid ]] && kill -9 "$app_pid" 2>/dev/null
  [[ -n $other_pid ]] && kill "$other_pid" 2>/dev/null
  shell=$([[ -n $session_pid ]] && pgrep -P "$session_pid" -x gnome-shell)
  [[ -n $shell ]] && kill "$shell" 2>/dev/null
  [[ -n $session_pid ]] && wait "$session_pid" 2>/dev/null
  [[ -n $system_bus_pid ]] && kill "$system_bus_pid" 2>/dev/null
  rm -rf "$work"
}
on_exit cleanup
fail_shows "$work/shell.log" 15
fail_shows "$work/out.txt"

# A session of its own: runtime folder, settings (GSettings in a key file,
# the probe extension switched on), and a bus standing in for the system's
# (the shell asks the login manager there, and ends without one).
export XDG_RUNTIME_DIR=$work/run XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-zephyra-gnome
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS
shell_home=$work/home
mkdir -p "$shell_home/config/glib-2.0/settings" "$shell_home/data/gnome-shell/extensions"
probe=$shell_home/data/gnome-shell/extensions/probe@zephyra.tests
cp -r "$here/gnome-probe" "$probe"
if (($(gnome-shell --version | sed 's/[^0-9]*\([0-9]*\).*/\1/') >= 45)); then
  sed -i '/^function init() {$/,$d' "$probe/extension.js"
  echo 'export default Probe;' >>"$probe/extension.js"
fi
cat >"$shell_home/config/glib-2.0/settings/keyfile" <<'KEYS'
[org/gnome/shell]
enabled-extensions=['probe@zephyra.tests']
disable-user-extensions=false
disable-extension-version-validation=true
welcome-dialog-last-shown-version='999'
KEYS
read -r system_bus system_bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -s -d ' ')
setsid env "${wm_environment[@]}" DBUS_SYSTEM_BUS_ADDRESS="$system_bus" GSETTINGS_BACKEND=keyfile \
  XDG_CONFIG_HOME="$shell_home/config" XDG_DATA_HOME="$shell_home/data" \
  dbus-run-session -- bash -c 'echo "$DBUS_SESSION_BUS_ADDRESS" >"$0"; exec gnome-shell --wayland --headless \
    --virtual-monitor 1280x800 --wayland-display="$WAYLAND_DISPLAY"' "$work/bus" >"$work/shell.log" 2>&1 &
session_pid=$!

# The shell's answer to a line of its own JavaScript, as text (a string
# without its quotes).
shell_eval() {
  gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.gnome.Shell.Eval "$1" 2>/dev/null |
    sed -n "s/^(true, '\(.*\)')\$/\1/p" | sed 's/^"\(.*\)"$/\1/'
}
wait_until 'DISPLAY=$(sed -n "s/.*Using public X11 display \(:[0-9]*\).*/\1/p" "$work/shell.log" 2>/dev/null)
            DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus" 2>/dev/null)
            export DISPLAY DBUS_SESSION_BUS_ADDRESS
            [[ -n $DISPLAY && $(shell_eval "Main.layoutManager._startingUp") == false ]] ||
              ! kill -0 "$session_pid" 2>/dev/null' 300 ended-too
[[ -n $DISPLAY ]] || fail "GNOME Shell did not start, or started no XWayland"
[[ $(shell_eval 'Main.layoutManager._startingUp') == false ]] || fail "GNOME Shell does not answer (the probe extension is not on)"
export XAUTHORITY
XAUTHORITY=$(echo "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.*)

# Keys as a keyboard types them, through the compositor: a remote-desktop
# session lives as long as the client that made it, so one client sends
# them all, a line "KEYSYM 1" (down) or "KEYSYM 0" (up) at a time, and
# answers each once it is sent.
coproc desk {
  /usr/bin/python3 -u -c '
import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
def call(path, iface, method, args=None):
    return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, iface, method, args, None, 0, 30000, None)
session = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop", "CreateSession").unpack()[0]
iface = "org.gnome.Mutter.RemoteDesktop.Session"
call(session, iface, "Start")
print("ready")
for line in sys.stdin:
    sym, down = line.split()
    call(session, iface, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (int(sym, 0), down == "1")))
    print("ok")
' 2>>"$work/shell.log"
}
read -r -t 10 answer <&"${desk[0]}" && [[ $answer == ready ]] || fail "no remote-desktop session"
declare -A keysym=([Super]=0xffeb [Alt]=0xffe9 [Control]=0xffe3 [Tab]=0xff09 [F2]=0xffbf [Print]=0xff61
                   [Escape]=0xff1b [space]=0x20 [a]=0x61 [s]=0x73 [Left]=0xff51 [Right]=0xff53 [Page_Down]=0xff56)
send_key() { echo "${keysym[$1]} $2" >&"${desk[1]}"; read -r -t 40 answer <&"${desk[0]}" || fail "the key $1 was not sent"; }
key_down() { send_key "$1" 1; }
key_up() { send_key "$1" 0; }
# As xdotool says it: "keydown KEY", "keyup KEY".
remote() { send_key "$2" "$([[ $1 == keydown ]] && echo 1 || echo 0)"; }
# A chord "Alt+Tab": down in order, up in reverse.
press() {
  local keys i
  IFS=+ read -ra keys <<<"$1"
  for ((i = 0; i < ${#keys[@]}; ++i)); do key_down "${keys[i]}"; done
  # Held a moment, as fingers do: the shell takes a Super tapped faster
  # for no press, and Alt+Tab switches only once its popup is up.
  sleep 0.5
  for ((i = ${#keys[@]} - 1; i >= 0; --i)); do key_up "${keys[i]}"; done
}

# What took the focus from the field or the keyboard since the last look, as
# the shell tells it.
forget_seen() { shell_eval 'global.probeFocus = []; global.probeModal = []; 0' >/dev/null; }
seen() {
  shell_eval '[...global.probeFocus.filter(t => t !== "'"$field_title"'"),
               ...(global.workspace_manager.get_active_workspace_index() ? ["another workspace"] : []),
               ...global.probeModal.map(m => m.replace(/^\[\S+ /, "").replace(/\]$/, ""))].join(", ")'
}
# Waits up to $1 tenths of a second for the shell to see anything.
wait_seen() { wait_until '[[ -n $(seen) ]]' "$1"; }

overview_opens() { wait_until '[[ $(shell_eval "Main.overview.visible") == true ]]' 30; }
# The shell takes a first key for the new keyboard's own; after it, Super
# opens the overview, or the check would see no escape at all.
press Super
overview_opens || { press Super; overview_opens; } || fail "Super does not open the overview"
shell_eval 'Main.overview.hide(); 0' >/dev/null

# Another program, as a child finds one on the desktop.
xmessage -name other "another program" 2>/dev/null &
other_pid=$!
wait_window other 100 >/dev/null || fail "no other window"

# A round begun (begin_round) with the focus on the field, as the shell says;
# what the shell saw until then is forgotten.
shell_round() {
  begin_round "$@"
  wait_until '[[ $(shell_eval "global.display.focus_window ? global.display.focus_window.get_title() : \"\"") == "$field_title" ]]' 50
  forget_seen
}

label="GNOME on Wayland, unlocked round"
shell_round
press Super
overview_opens || fail "Super did not open the overview"
echo "ok: $label: Super opens the overview, as without the lock"
kill -9 "$app_pid"; wait "$app_pid" 2>/dev/null; app_pid=
shell_eval 'Main.overview.hide(); 0' >/dev/null

label="GNOME on Wayland, child lock"
shell_round --child-lock
for keys in Super Super+a Super+s Alt+F2 Alt+space Print Alt+Tab Alt+Escape Super+Tab Control+Alt+Right \
            Super+Page_Down "Super+Escape Super"; do
  for chord in $keys; do press "$chord"; sleep 0.3; done
  wait_seen 10 && fail "$keys: $(seen)"
  echo "ok: $label: $keys holds"
done
leave_locked remote
echo "ok: $label: Esc held 3.5 s leaves"
click_in "$start" "${exit_button[@]}"
wait_exit 100 && ((exit_code == 0)) || fail "Exit did not end the game with 0"
