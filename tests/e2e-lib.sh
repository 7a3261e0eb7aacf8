# Shared by the end-to-end scripts (sourced, not run): waiting for windows by
# their exact name and reading where they are. The program under test is
# $app_pid; a wait gives up early once it has ended.

# Prints the id of a visible window named exactly $1; waits up to $2 tenths
# of a second (default 100).
wait_window() {
  local id i
  for ((i = 0; i < ${2:-100}; ++i)); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [[ -n $id ]] && { echo "$id"; return 0; }
    [[ -n ${app_pid:-} ]] && ! kill -0 "$app_pid" 2>/dev/null && return 1
    sleep 0.1
  done
  return 1
}

# Succeeds once no visible window is named exactly $1 (same wait as above).
wait_gone() {
  local i
  for ((i = 0; i < ${2:-100}; ++i)); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# "x y w h" of a window's client area on the screen; right under a window
# manager too, which reparents the window into its frame.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# No --sync: xdotool waits seconds for a move when the pointer is already there.
click_at() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; }

# Waits up to 10 s for the program to end; its exit code goes to $exit_code.
wait_exit() {
  local i
  for ((i = 0; i < 100; ++i)); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && return 1
  wait "$app_pid"
  exit_code=$?
  app_pid=
}

# Runs the script's run_round once bare and once under openbox, as players
# have a window manager. The window manager is $wm_pid until the second round
# ends; a script's clean-up on failure ends it too. On a desktop that already
# manages the windows (named in $E2E_DESKTOP) there is one round.
run_bare_and_managed() {
  [[ -n ${E2E_DESKTOP:-} ]] && { run_round "$E2E_DESKTOP"; return 0; }
  run_round "no window manager"
  command -v openbox >/dev/null || return 0
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
  run_round "openbox"
  kill "$wm_pid" 2>/dev/null
  wait "$wm_pid" 2>/dev/null
  wm_pid=
  return 0
}
