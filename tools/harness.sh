# Shared by every script that drives the game on an X server (sourced, not
# run): a free display with Xvfb, a window manager on it if asked, both
# stopped when the script exits; and where the controls the scripts click are.

# Centres of the controls, in their window's own pixels: the layout's place
# of each plus half its size.
play_area=(32 168 132 49)  # start screen: Play's picture, x y w h
play_button=(98 192)       # its centre
options_button=(358 193)   # Options (248,168 220x51)
exit_button=(605 193)      # Exit (544,168 122x51)
prize_count_box=(655 165)  # options dialog: the prize count's text (555,155 233x21), clear of its arrow
save_button=(707 247)      # Save (627,235 161x25)
web_banner=(365 465)       # start screen: the banner (240,448 250x35)

# Commands run when the script exits, last registered first, then the
# window manager and the X server this library started.
harness_on_exit=()
harness_pids=()
on_exit() { harness_on_exit=("$1" "${harness_on_exit[@]}"); }
harness_exit() {
  local status=$? command pid i
  for command in "${harness_on_exit[@]}"; do eval "$command" || true; done
  for ((i = ${#harness_pids[@]} - 1; i >= 0; --i)); do
    pid=${harness_pids[i]}
    { kill "$pid" && wait "$pid"; } 2>/dev/null || true
  done
  return "$status"
}
trap harness_exit EXIT
harness_forget() {
  local kept=() pid
  for pid in "${harness_pids[@]}"; do [[ $pid == "$1" ]] || kept+=("$pid"); done
  harness_pids=("${kept[@]}")
}

# Starts Xvfb with screen $1 (WxHxD, default 1280x1024x24) and any further
# Xvfb arguments on a display number the server picks itself, so two scripts
# never take one. $DISPLAY names it and $display_pid is its process.
# -noreset: between two checks no client is left, and a server busy
# resetting refuses the next one.
start_display() {
  local spec=${1:-1280x1024x24} number
  shift || true
  local numbers
  numbers=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$spec" -nolisten tcp -noreset "$@" 3>"$numbers" >/dev/null 2>&1 &
  display_pid=$!
  harness_pids+=("$display_pid")
  # A loaded machine may take its time.
  for _ in $(seq 200); do
    number=$(head -n1 "$numbers")
    [[ -n $number ]] && DISPLAY=:$number xdpyinfo >/dev/null 2>&1 && break
    kill -0 "$display_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numbers"
  if [[ -z $number ]] || ! DISPLAY=:$number xdpyinfo >/dev/null 2>&1; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=:$number
}
stop_display() {
  [[ -n ${display_pid:-} ]] || return 0
  stop_wm
  { kill "$display_pid" && wait "$display_pid"; } 2>/dev/null || true
  harness_forget "$display_pid"
  display_pid=
}

# Starts window manager $1 (default openbox) on $DISPLAY; $wm_pid is it.
# The window manager reads its own settings where the desktop keeps them,
# also when a script points the game at folders of its own ($wm_environment,
# "NAME=value" words, tests/e2e-lib.sh).
wm_environment=()
start_wm() {
  env "${wm_environment[@]}" "${1:-openbox}" >/dev/null 2>&1 &
  wm_pid=$!
  harness_pids+=("$wm_pid")
  sleep 1
}
stop_wm() {
  [[ -n ${wm_pid:-} ]] || return 0
  { kill "$wm_pid" && wait "$wm_pid"; } 2>/dev/null || true
  harness_forget "$wm_pid"
  wm_pid=
}

# For the start-up measurements (bench/startup.sh, bench/desktops.sh), from
# their arguments "<path-to-zephyra> [runs]": $game, $runs (default 5), the
# first-paint probe $probe (build/firstpaint beside the game, or $FIRSTPAINT),
# a scratch folder $work, and $game_pid, ended on exit.
start_measuring() {
  game=$(realpath "${1:?path to the zephyra executable}")
  runs=${2:-5}
  probe=${FIRSTPAINT:-$(dirname "$game")/firstpaint}
  [[ -x $probe ]] || { echo "FAIL: no probe at $probe (cmake --build build --target firstpaint)" >&2; exit 1; }
  work=$(mktemp -d)
  game_pid=
  on_exit '[[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null; rm -rf "$work"'
}

# The median of the numbers on standard input, one a line (for the bench/ scripts).
median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# Splits the screen of $DISPLAY, $1 x $2 (Xvfb with +extension RANDR), into
# two monitors side by side, the left one primary; fails where the X server
# keeps no monitor set this way (some Xvfb builds).
split_monitors() {
  local half=$(($1 / 2)) output
  output=$(xrandr | awk '/ connected/ { print $1; exit }')
  xrandr --setmonitor left "$half/300x$2/200+0+0" "$output" >/dev/null 2>&1
  xrandr --setmonitor right "$half/300x$2/200+$half+0" none >/dev/null 2>&1
  (($(xrandr --listmonitors | awk 'NR == 1 { print $2 }') == 2))
}
