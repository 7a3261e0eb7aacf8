#!/usr/bin/env bash
# The grown-ups' choices in the real program, where the window manager
# matters: one game at a time (a second start brings the first to the front
# and ends with 0, and a later start's child lock locks the round under way;
# a game killed with -9 leaves nothing that stops the next),
# on the session bus and without one; the child lock (Alt+F4, the window
# manager's close and minimise refused, a window put over the field or a
# program on another desktop taking the focus loses it again, openbox's
# mouse bindings do nothing, a field sent to another desktop or unmapped
# comes back, no other client takes the keyboard, Esc held 1 s stays, Esc
# held 3.5 s leaves; on two monitors the pointer stays on the field's).
# Under openbox and mutter on X11; e2e_wayland.sh runs it under mutter
# through XWayland. Under openbox an unlocked round sent away by Alt+wheel
# ends to the start screen. The command line's answers need no display.
# Under openbox, the settings for grown-ups and their files (also a pipe in
# a file's place).
# ZEPHYRA_FULL=1 adds a locked round whose one minute of play runs out.
# Usage: e2e_parent.sh <path-to-zephyra>
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
. "$(dirname "$0")/e2e-lib.sh"
work=$(mktemp -d)
app_pid= first_pid= other_pid=
cleanup() {
  local pid
  for pid in $app_pid $first_pid $other_pid; do kill -9 "$pid" 2>/dev/null; done
  app_pid= first_pid= other_pid=
  end_session
}
on_exit 'cleanup; rm -rf "$work"'
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
label=
fail_shows "$work/out.txt"

# ---- The command line, before any display.
label="command line"
for bad in "--minutes 0" "--minutes 241" "--minutes x" "--minutes" "--child-lock --minutes -1" "--nosuch"; do
  # shellcheck disable=SC2086 # the words are the arguments
  env -u DISPLAY -u WAYLAND_DISPLAY "$game" $bad >"$work/stdout" 2>"$work/stderr"
  status=$?
  ((status == 2)) || fail "'$bad': status $status, not 2"
  (($(wc -l <"$work/stderr") == 1)) && [[ ! -s $work/stdout ]] || fail "'$bad': not one line on stderr"
done
env -u DISPLAY "$game" --help >"$work/stdout" 2>&1 && grep -q -- '--child-lock' "$work/stdout" \
  && grep -q -- '--minutes <N>' "$work/stdout" || fail "--help without a display"
echo "ok: command line"

active() { printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')"; }
on_top() { printf '%d' "$(xprop -root _NET_CLIENT_LIST_STACKING | awk '{print $NF}')"; }
current_desktop() { xprop -root _NET_CURRENT_DESKTOP | awk '{print $NF}'; }

# Waits up to 3 s for window $1 to be the active one and on top.
wait_front() {
  local window=$1
  wait_until '[[ $(active) == "$window" && $(on_top) == "$window" ]]' 30
}

# A second start while the game ($first_pid) shows window $1 brings it to the
# front over another program's window and ends with 0.
second_start_raises() {
  xmessage -name other "another program" 2>/dev/null &
  other_pid=$!
  local other
  other=$(wait_window other 50) || fail "no other window"
  # Some window managers do not focus a new window by themselves.
  wmctrl -i -a "$other"
  wait_until '[[ $(active) == "$other" ]]' 20
  [[ $(active) != "$1" ]] || fail "the other window did not take the focus"
  timeout 20 "$game" >>"$work/out.txt" 2>&1
  status=$?
  ((status == 0)) || fail "the second start ended with $status"
  kill -0 "$first_pid" 2>/dev/null || fail "the first game ended"
  wait_front "$1" || fail "the game is not at the front: $(active) active, $(on_top) on top"
  (($(xdotool search --onlyvisible --name "^$start_title\$" | wc -l) <= 1)) || fail "two start screens"
  kill "$other_pid" 2>/dev/null
  other_pid=
}

# $1: "bus" (a session bus of its own) or "socket" (none).
one_game() {
  label="$desktop, $1"
  own_session "$1"
  local start play
  launch_game
  first_pid=$app_pid
  start=$(wait_window "$start_title" 150) || fail "start screen did not appear"
  wait_placed "$start"
  second_start_raises "$start"
  click_in "$start" "${play_button[@]}"
  play=$(wait_window "$field_title" 100) || fail "play field did not appear"
  wait_placed "$play"
  second_start_raises "$play"
  # A grown-up picks the lock from the menu: the round under way holds the
  # pointer too from then on.
  can_take pointer || fail "an unlocked round holds the pointer"
  timeout 20 "$game" --child-lock >>"$work/out.txt" 2>&1 || fail "a start with the lock ended with $?"
  wait_until '! can_take pointer' 30
  can_take pointer && fail "a later start's lock did not reach the round"
  # Killed as a crash would end it: the next start is the game.
  kill -9 "$first_pid"
  wait "$first_pid" 2>/dev/null
  first_pid=
  launch_game
  start=$(wait_window "$start_title" 150) || fail "a start after kill -9 showed no start screen"
  click_in "$start" "${exit_button[@]}"
  wait_exit 100 && ((exit_code == 0)) || fail "Exit after a restart"
  end_session
  echo "ok: $label: one game at a time"
}

# Exit on the start screen ends the game with 0.
exit_game() {
  click_in "$start" "${exit_button[@]}"
  wait_exit 100 && ((exit_code == 0)) || fail "Exit did not end the game with 0"
}

child_lock() {
  label="$desktop, child lock"
  local start play
  begin_round --child-lock
  wait_front "$play"
  local shown
  shown=$(current_desktop)
  for how in "key alt+F4" close minimise Alt+Shift+wheel Alt+wheel Alt+middle cover "activate elsewhere" \
             "another desktop" unmap; do
    case $how in
      key*) xdotool $how ;;
      close) wmctrl -i -c "$play" ;;
      minimise) xdotool windowminimize "$play" ;;
      # openbox's mouse bindings: send to a desktop, show another, lower.
      Alt+Shift+wheel) xdotool mousemove 900 600 keydown alt keydown shift click 5 keyup shift keyup alt ;;
      Alt+wheel) xdotool keydown alt click 5 keyup alt ;;
      Alt+middle) xdotool keydown alt click 2 keyup alt sleep 0.1
        [[ $(active) == "$play" ]] || fail "Alt+middle gave another window the focus" ;;
      cover)
        xmessage -name other -geometry 600x400+0+0 "over the field" 2>/dev/null &
        other_pid=$!
        wmctrl -i -a "$(wait_window other 50)" ;;
      activate*)
        # A program on another desktop asks for the focus: window managers
        # switch desktops for it.
        kill "$other_pid" 2>/dev/null
        xmessage -name other "on another desktop" 2>/dev/null &
        other_pid=$!
        local other
        other=$(wait_window other 50)
        xdotool set_desktop_for_window "$other" 1 2>/dev/null
        xdotool windowactivate "$other" 2>/dev/null ;;
      # Another program hides the field: sent to a desktop not shown, unmapped.
      another*) xdotool set_desktop_for_window "$play" 1; xdotool set_desktop 0 ;;
      unmap) xdotool windowunmap "$play" ;;
    esac
    # A refused request leaves nothing to wait for: the window manager and
    # the field's looks at the front (four a second) get the time to act.
    sleep 1.5
    wait_window "$field_title" 10 >/dev/null || fail "$how ended or hid the locked round"
    wait_front "$play" || fail "after $how the field is not at the front"
    can_take && fail "after $how another client took the keyboard"
    [[ $how == Alt* && $(current_desktop) != "$shown" ]] && fail "$how showed another desktop"
  done
  kill "$other_pid" 2>/dev/null
  other_pid=
  hold_for key Escape 1
  wait_gone "$field_title" 5 && fail "Esc held 1 s left the locked round"
  leave_locked
  wait_gone "$field_title" 30 || fail "the field is still shown"
  exit_game
  echo "ok: $label"
}

# A locked round with one minute of play: it runs out, the goodnight picture
# stays until Esc is held, and Play stays closed.
play_time() {
  label="$desktop, play time"
  local start play
  begin_round --child-lock --minutes 1
  play_for "$play" 70 || fail "the game ended during play"
  wait_window "$field_title" 10 >/dev/null || fail "the goodnight picture did not stay"
  leave_locked
  click_in "$start" "${play_button[@]}"
  wait_window "$field_title" 20 >/dev/null && fail "Play was not refused after the play time"
  exit_game
  echo "ok: $label"
}

# An unlocked round that openbox's Alt+wheel leaves on a desktop no longer
# shown ends: the start screen is where the player is.
sent_away() {
  label="$desktop, unlocked round sent away"
  local start play
  begin_round
  xdotool mousemove 900 600 keydown alt click 5 keyup alt
  start=$(wait_window "$start_title" 30) || fail "no start screen on the desktop shown"
  exit_game
  echo "ok: $label"
}

# Two monitors side by side: the locked field covers the start screen's, and
# the pointer cannot leave it, so a click meant for the program on the other
# monitor reaches nothing.
two_monitors() {
  label="openbox, two monitors, child lock"
  local start play x y w h
  start_display 2560x1024x24 +extension RANDR || fail "Xvfb did not start"
  if ! split_monitors 2560 1024; then
    echo "SKIP ($label): this X server did not split its screen into two monitors"
    return 0
  fi
  start_wm openbox
  xmessage -name other -buttons close:0 -geometry +1900+400 "another program" 2>/dev/null &
  other_pid=$!
  wait_window other 50 >/dev/null || fail "no other window"
  begin_round --child-lock
  [[ $(geometry "$play") == "0 0 1280 1024" ]] || fail "the field is not on the left monitor: $(geometry "$play")"
  wait_until '! can_take pointer' 30
  # The lock's next hold on the pointer puts it back on the field.
  xdotool mousemove 2500 500
  wait_until 'eval "$(xdotool getmouselocation --shell)"; ((X < 1280))' 3
  ((X < 1280)) || fail "the pointer left the field's monitor, to $X,$Y"
  # The other program's close button.
  read -r x y w h < <(geometry "$(wait_window other 10)")
  click_at $((x + 29)) $((y + 49))
  wait_until '! kill -0 "$other_pid" 2>/dev/null' 5 && fail "a click on the other monitor closed another program"
  wait_front "$play" || fail "the field lost the front"
  leave_locked
  exit_game
  kill "$other_pid"
  other_pid=
  echo "ok: $label"
}

# A round begun with the arguments given is locked: a short Esc stays, one
# held 3.5 s leaves; or, with "unlocked" first, a short Esc leaves.
round_is() {
  local start play how=$1
  shift
  begin_round "$@"
  xdotool key Escape
  if [[ $how == unlocked ]]; then
    start=$(wait_window "$start_title" 50) || fail "a short Esc did not leave"
  else
    wait_gone "$field_title" 10 && fail "a short Esc left the round"
    leave_locked
  fi
  exit_game
}

# The settings for grown-ups: the lock and 10 minutes chosen with the
# keyboard and saved hold at the next plain start. Then the files' order: a
# system file's lock, a user file's none over it, --child-lock over both; a
# damaged line is named in one line on stderr.
grown_ups() {
  label="$desktop, settings for grown-ups"
  local corner user=$XDG_CONFIG_HOME/zephyra/zephyra.conf system=$XDG_CONFIG_DIRS/zephyra/zephyra.conf
  rm -rf "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS"
  "$game" --grown-ups >"$work/out.txt" 2>&1 &
  app_pid=$!
  corner=$(wait_window "$grown_ups_title" 150) || fail "the settings for grown-ups did not open"
  wait_placed "$corner"
  # The lock has the focus, the play time is next; back from the lock, past
  # the hidden button, is Save.
  xdotool windowfocus --sync "$corner" key space Tab ctrl+a type 10
  xdotool key shift+Tab shift+Tab space
  wait_exit 50 && ((exit_code == 0)) || fail "Save did not end the settings with 0"
  grep -qx 'child-lock=true' "$user" && grep -qx 'minutes=10' "$user" || fail "not saved: $(cat "$user")"
  round_is locked
  echo "ok: $label: kept for the next start"

  label="$desktop, settings files"
  rm -f "$user"
  mkdir -p "${system%/*}"
  printf '[grown-ups]\nchild-lock=true\n' >"$system"
  round_is locked
  printf '[grown-ups]\nchild-lock=false\nvolume=-3\n' >"$user"
  round_is unlocked
  [[ $(cat "$work/out.txt") == "zephyra: $user: left out volume=-3 (line 3: not 0 to 100)" ]] \
    || fail "not one line naming what was left out: $(cat "$work/out.txt")"
  round_is locked --child-lock
  rm -rf "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS"
  echo "ok: $label: the system's, the user's over it, the command line over both"

  # A pipe in a file's place is never opened: the start screen comes with one
  # line, and the corner opens and its Save puts a file there.
  label="$desktop, a pipe in a settings file's place"
  local file
  for file in "$system" "$user"; do
    rm -rf "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS"
    mkdir -p "${file%/*}"
    mkfifo "$file"
    "$game" >"$work/out.txt" 2>&1 &
    app_pid=$!
    start=$(wait_window "$start_title" 150) || fail "no start screen with a pipe as $file"
    [[ $(cat "$work/out.txt") == "zephyra: $file: left out the whole file (it is no regular file)" ]] \
      || fail "not one line naming the pipe: $(cat "$work/out.txt")"
    exit_game
  done
  "$game" --grown-ups >"$work/out.txt" 2>&1 &
  app_pid=$!
  corner=$(wait_window "$grown_ups_title" 150) || fail "the settings for grown-ups did not open"
  wait_placed "$corner"
  # The lock has the focus; back from it, past the hidden button, is Save.
  xdotool windowfocus --sync "$corner" key space shift+Tab space
  wait_exit 50 && ((exit_code == 0)) || fail "Save did not end the settings with 0"
  [[ -f $user && -p $user.old ]] && grep -qx 'child-lock=true' "$user" || fail "the pipe was not mended"
  rm -rf "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS"
  echo "ok: $label"
}

checks() {
  desktop=$1
  one_game socket
  one_game bus
  child_lock
  [[ $desktop == openbox ]] && { sent_away; grown_ups; }
  [[ ${ZEPHYRA_FULL:-} == 1 ]] && play_time
  return 0
}

if [[ -n ${E2E_DESKTOP:-} ]]; then
  checks "$E2E_DESKTOP"
  exit 0
fi
start_display || fail "Xvfb did not start"
start_wm openbox
checks openbox
stop_wm
first_display=$DISPLAY
two_monitors
stop_display
export DISPLAY=$first_display
# GNOME's window manager on X11, with a session bus of its own.
setsid env "${wm_environment[@]}" dbus-run-session -- mutter --x11 --replace >"$work/mutter.log" 2>&1 &
session_pid=$!
on_exit 'pkill -P "$session_pid" -x mutter; wait "$session_pid" 2>/dev/null'
wait_until 'wmctrl -m 2>/dev/null | grep -qi mutter' 50 ended-too
wmctrl -m 2>/dev/null | grep -qi mutter || { tail -5 "$work/mutter.log"; fail "mutter did not start"; }
checks "mutter"
