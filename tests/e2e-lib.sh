# The steps the end-to-end scripts share (sourced, not run): a round driven
# through the real program, another client's grabs, a session of one's own.
# The titles, the controls' places, fail, the waits, the X server and the
# window manager come from tools/harness.sh.

. "$(dirname "${BASH_SOURCE[0]}")/../tools/harness.sh"

# The game reads the grown-ups' settings files: each script starts from none,
# whatever the machine or its user has.
e2e_config=$(mktemp -d)
wm_environment=("XDG_CONFIG_HOME=${XDG_CONFIG_HOME-}" "XDG_CONFIG_DIRS=${XDG_CONFIG_DIRS-}")
export XDG_CONFIG_HOME=$e2e_config/home XDG_CONFIG_DIRS=$e2e_config/system
on_exit 'rm -rf "$e2e_config"'

# The checks read the game's own texts (the dialog's title, the counters):
# the game runs under the C locale's texts whatever the desktop speaks; a
# case that wants a language sets it for the game alone.
export LANGUAGE= LC_ALL=C.UTF-8

# Succeeds when another client could take the keyboard now ("pointer": the
# pointer); it gives it back at once. Debian's Python, with python3-xlib.
can_take() {
  /usr/bin/python3 - "${1:-keyboard}" <<'EOF'
import sys
from Xlib import X, display
root = display.Display().screen().root
if sys.argv[1] == "pointer":
    status = root.grab_pointer(False, 0, X.GrabModeAsync, X.GrabModeAsync, X.NONE, X.NONE, X.CurrentTime)
else:
    status = root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
sys.exit(status != X.GrabSuccess)
EOF
}

# Runs the script's run_round once bare and once under openbox, as players
# have a window manager (stopped on exit by the harness, also after a
# failure). On a desktop that already
# manages the windows (named in $E2E_DESKTOP) there is one round.
run_bare_and_managed() {
  [[ -n ${E2E_DESKTOP:-} ]] && { run_round "$E2E_DESKTOP"; return 0; }
  run_round "no window manager"
  command -v openbox >/dev/null || return 0
  start_wm openbox
  run_round "openbox"
  stop_wm
  return 0
}

# Gives the games started next a runtime folder of their own under $work,
# with a session bus of their own for $1 "bus" ($bus_pid), or none for
# "socket": the two ways one game at a time is kept.
own_session() {
  end_session
  XDG_RUNTIME_DIR=$(mktemp -d -p "$work" run.XXXX)
  export XDG_RUNTIME_DIR
  unset DBUS_SESSION_BUS_ADDRESS
  if [[ $1 == bus ]]; then
    read -r DBUS_SESSION_BUS_ADDRESS bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -s -d ' ')
    export DBUS_SESSION_BUS_ADDRESS
  fi
}
end_session() {
  [[ -n ${bus_pid:-} ]] && kill "$bus_pid" 2>/dev/null
  bus_pid=
}

# ---- Driving the real program through a round. The scripts set $game (the
# executable); $work is their scratch folder; a failure names the case in $label.

# Starts the game with the given extra environment ("NAME=value" words),
# through the command prefix in $game_wrapper when there is one (valgrind).
launch_game() {
  env "$@" ${game_wrapper:-} "$game" >"$work/out.txt" 2>&1 &
  app_pid=$!
}

# The popped counter's display on play field $1: not a pixel more, or a
# balloon passing beside it looks like a pop. The window, not the root:
# rootless XWayland cannot read the root.
counter_shot() {
  local x y w h
  read -r x y w h <<<"${popped_counter[*]}"
  import -window "$1" -crop "${w}x$h+$x+$y" +repage rgb:- 2>/dev/null | md5sum
}

# Opens Options from start screen $1, types $2 as the prize count, saves.
set_prize_count() {
  local options
  click_in "$1" "${options_button[@]}"
  options=$(wait_window "$options_title" 100) || return 1
  wait_placed "$options"
  click_in "$options" "${prize_count_box[@]}"
  # Delete takes away what the box's completion offers after the typed text.
  xdotool key ctrl+a BackSpace type "$2"
  xdotool key Delete
  click_in "$options" "${save_button[@]}"
  wait_window "$start_title" 50 >/dev/null && wait_gone "$options_title" 30
}

# Plays on field $1 until the popped counter has
# changed $2 times, sweeping the lower half where balloons rise; gives up after
# $3 sweeps (default 80). The counter is looked at every $4 moves (default
# once a sweep), so a caller can stop soon after a pop.
play_until_pops() {
  local play=$1 want=$2 sweeps=${3:-80} every=${4:-1000} seen=0 before now y x pass n=0
  local fx fy fw fh
  read -r fx fy fw fh < <(geometry "$play")
  # A settled picture of the counter: two equal shots in a row.
  wait_steady 'counter_shot "$play"' 60
  before=$steady
  for ((pass = 0; pass < sweeps && seen < want; ++pass)); do
    y=$((fy + fh / 2 + (pass % 4) * fh / 10))
    for ((x = fx + 40; x < fx + fw - 40 && seen < want; x += 30)); do
      xdotool mousemove "$x" "$y"
      sleep 0.02
      ((++n % every)) || { now=$(counter_shot "$play"); [[ $now != "$before" ]] && { ((++seen)); before=$now; }; }
    done
    now=$(counter_shot "$play")
    [[ $now != "$before" ]] && { ((++seen)); before=$now; }
    kill -0 "$app_pid" 2>/dev/null || return 1
  done
  ((seen >= want))
}

# Plays on field $1 for $2 seconds, wandering over the lower half.
play_for() {
  local fx fy fw fh end x y
  read -r fx fy fw fh < <(geometry "$1")
  end=$((SECONDS + $2))
  while ((SECONDS < end)); do
    x=$((fx + RANDOM % fw)) y=$((fy + fh / 2 + RANDOM % (fh / 2)))
    xdotool mousemove "$x" "$y"
    sleep 0.05
    kill -0 "$app_pid" 2>/dev/null || return 1
  done
}

# The Qt plugins process $1 has mapped beyond the two the game runs with (the
# xcb platform, the compose input method), one a line.
extra_plugins() {
  awk '$6 ~ /\/plugins\// {print $6}' "/proc/$1/maps" | sort -u |
    grep -Ev '/platforms/libqxcb\.so$|/platforminputcontexts/libcomposeplatforminputcontextplugin\.so$'
}

# Fails unless the only visible window with the play field's title is the
# full-screen play field $1 (the standard error box carries the same caption).
no_error_box() {
  local id n=0
  for id in $(xdotool search --onlyvisible --name "^$field_title\$" 2>/dev/null); do
    [[ $id == "$1" ]] || ((++n))
  done
  ((n == 0))
}

# Holds key $2 (with $1 "key"), or mouse button $2 (with $1 "mouse"), for $3
# seconds, sent by the command given after (default xdotool): how long it is
# held is what the checks ask of the game.
hold_for() {
  local kind=$1 what=$2 seconds=$3
  shift 3
  local send=("${@:-xdotool}")
  "${send[@]}" "${kind}down" "$what"
  sleep "$seconds"
  "${send[@]}" "${kind}up" "$what"
}

# Starts the game with the arguments given and clicks Play: $start and $play
# name the start screen and the field, which stands in place and holds the
# keyboard.
begin_round() {
  "$game" "$@" >"$work/out.txt" 2>&1 &
  app_pid=$!
  start=$(wait_window "$start_title" 300) || fail "no start screen"
  wait_placed "$start"
  click_in "$start" "${play_button[@]}"
  play=$(wait_window "$field_title" 100) || fail "no play field"
  wait_placed "$play"
  wait_until '! can_take' 30
}

# Esc held 3.5 s, sent by the command given (default xdotool), leaves a
# locked round: $start is the start screen it brings back.
leave_locked() {
  hold_for key Escape 3.5 "$@"
  start=$(wait_window "$start_title" 50) || fail "Esc held 3.5 s did not leave"
}

# Esc on field $1 brings the start screen back; Exit on it ends the program
# with 0. $label names the case in a failure.
leave_and_exit() {
  local start
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key Escape
  start=$(wait_window "$start_title" "${ui_wait:-50}") || fail "Esc did not bring back the start screen"
  # No window with the field's title is left, so no error box either.
  wait_gone "$field_title" 30 || fail "play field or an error box still shown after Esc"
  click_in "$start" "${exit_button[@]}"
  wait_exit "${exit_wait:-300}" || fail "Exit did not end the program"
  ((exit_code == 0)) || { cat "$work/out.txt" >&2; fail "exit status $exit_code"; }
}

# ---- The login screen's session, run by cage as an ordinary user (nobody
# when run as root: cage refuses root), the game inside through XWayland.
# Cage runs on its X11 backend, its output a window on the script's Xvfb
# ($host_display), so xdotool's input there reaches cage as a real mouse
# and keyboard would: its headless backend has no pointer, and XWayland
# hands a click only to the window under the compositor's pointer. The
# waits and the windows' pictures use XWayland's display ($DISPLAY).

# Prepares $work (made here) for sessions of game $1 by the command of
# session file $2, on the Xvfb of $DISPLAY: a copy of the game that user
# can run, its home and runtime folders. $as_user runs a command as that
# user. With $session_root, all of it happens in that root (as root: see
# tools/release-root.sh), with the game installed there. From here on
# xdotool's input goes to the Xvfb.
session_prepare() {
  host_display=$DISPLAY
  work=$(mktemp -d -p "${session_root:-}/tmp")
  session_work=${work#"${session_root:-}"}  # as the session sees it
  chmod 711 "$work"
  as_user=()
  local owner=$(id -u):$(id -g) i
  if [[ -n ${session_root:-} ]]; then
    as_user=(chroot --userspec=nobody:nogroup "$session_root")
    owner=nobody:nogroup
  elif (($(id -u) == 0)); then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    owner=nobody:nogroup
  fi
  mkdir -p "$work/bin" "$work/home" "$work/run"
  [[ -n ${session_root:-} ]] || install -m 755 "$1" "$work/bin/zephyra"
  chown "$owner" "$work/home" "$work/run"
  chmod 700 "$work/run"
  cage_pid=
  on_exit '[[ -n $cage_pid ]] && kill "$cage_pid" 2>/dev/null && wait "$cage_pid" 2>/dev/null; rm -rf "$work"'
  fail_shows "$work/cage.log" 15
  # Exec= with the game where the user can run it.
  read -ra session_command < <(sed -n 's/^Exec=//p' "$2")
  [[ ${#session_command[@]} -gt 0 ]] || fail "no Exec= in $2"
  if [[ -z ${session_root:-} ]]; then
    for i in "${!session_command[@]}"; do
      [[ ${session_command[i]} == zephyra ]] && session_command[i]=$work/bin/zephyra
    done
  fi
  input_to "$host_display"
}

# From here on xdotool's input (moves, clicks, keys) goes to the X server of
# display $1, a compositor's window there; its questions (windows, where
# they are) still go to $DISPLAY.
input_to() {
  input_display=$1
  xdotool() {
    case $1 in
      mousemove | click | key | keydown | keyup | mousedown | mouseup | type) DISPLAY=$input_display command xdotool "$@" ;;
      *) command xdotool "$@" ;;
    esac
  }
}

# Starts a session ($cage_pid, also $app_pid for the waits) with a home
# holding no settings; $DISPLAY and $WAYLAND_DISPLAY become its own, read
# from the environment of the process that watches the game
# ($game_watcher).
start_session() {
  rm -rf "${work:?}/home/.config"
  "${as_user[@]}" env -i PATH="$session_work/bin:/usr/bin:/bin" HOME="$session_work/home" XDG_RUNTIME_DIR="$session_work/run" \
    LANG=C.UTF-8 DISPLAY="$host_display" WLR_BACKENDS=x11 \
    "${session_command[@]}" >"$work/cage.log" 2>&1 &
  cage_pid=$! app_pid=$!
  game_watcher=
  wait_until 'game_watcher=$(pgrep -P "$cage_pid" -f -- "--kiosk" | head -n1)
              [[ -n $game_watcher ]] && grep -qz "^DISPLAY=" "/proc/$game_watcher/environ" 2>/dev/null' 300 ||
    kill -0 "$cage_pid" 2>/dev/null || fail "cage ended at start"
  [[ -n $game_watcher ]] || fail "cage started no game"
  DISPLAY=$(tr '\0' '\n' <"/proc/$game_watcher/environ" | sed -n 's/^DISPLAY=//p')
  WAYLAND_DISPLAY=$(tr '\0' '\n' <"/proc/$game_watcher/environ" | sed -n 's/^WAYLAND_DISPLAY=//p')
  export DISPLAY WAYLAND_DISPLAY
  # XWayland lets only its own user in: this script's user is let in too.
  "${as_user[@]}" env DISPLAY="$DISPLAY" xhost "+si:localuser:$(id -un)" >/dev/null ||
    fail "XWayland on $DISPLAY does not answer"
}

# What cage shows on its output, $2 x $3 pixels, as a PNG in $1.
output_shot() { DISPLAY=$host_display import -window root -crop "${2}x$3+0+0" +repage "$1"; }
