# What the scripts in tests/, bench/ and tools/ that drive the game share
# (sourced, not run): the windows' titles, where the controls they click are
# (read from the layout), fail, the waits, and a free display with Xvfb and a
# window manager on it if asked, both stopped when the script exits.

harness_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The windows by their exact titles (xdotool takes them as patterns). The
# play field's is also the standard error box's caption.
start_title='GAME -ZEPHYRA'
field_title='ZEPHYRA'
options_title='Options'  # under the C locale's texts; a translation has its own
grown_ups_title='Settings for grown-ups'  # likewise
backdrop_title='ZEPHYRA backdrop'  # behind the start screen in the login screen's session

# Where the controls are, "x y w h" in their window's own pixels, as the
# layout places them: the options dialog's in its .ui, the start screen's and
# the play field's in their code. A layout these lines cannot read fails here.
harness_places=$(python3 - "$harness_root" <<'PLACES'
import re, sys, xml.etree.ElementTree as ET
root = sys.argv[1]

def in_code(path, name):
    text = open(f"{root}/{path}").read()
    found = re.search(r"\b%s\b[^\n]*\((\d+), (\d+), (\d+), (\d+)\)" % re.escape(name), text)
    if not found:
        sys.exit(f"harness: no place of {name} in {path}")
    return found.groups()

def in_ui(path, name):
    def rect(widget):
        r = widget.find("property[@name='geometry']/rect")
        return [int(r.find(k).text) for k in ("x", "y", "width", "height")] if r is not None else [0, 0, 0, 0]

    def walk(widget, x, y):
        for child in widget.findall("widget"):
            r = rect(child)
            if child.get("name") == name:
                return (x + r[0], y + r[1], r[2], r[3])
            if (place := walk(child, x + r[0], y + r[1])):
                return place
        return None

    window = ET.parse(f"{root}/{path}").getroot().find("widget")
    place = (0, 0, *rect(window)[2:]) if window.get("name") == name else walk(window, 0, 0)
    if not place:
        sys.exit(f"harness: no place of {name} in {path}")
    return place

size = re.search(r"setFixedSize\((\d+), (\d+)\)", open(f"{root}/menu/menu.cpp").read())
if not size:
    sys.exit("harness: no size of the start screen in menu/menu.cpp")
places = {
    "start_size": size.groups(),
    "play_area": in_code("menu/menu.cpp", "B_Play"),
    "options_area": in_code("menu/menu.cpp", "B_Options"),
    "exit_area": in_code("menu/menu.cpp", "B_EXit"),
    "banner_area": in_code("menu/menu.cpp", "Image2"),
    "popped_counter": in_code("play/UnitPlay.cpp", "LCDScreen2"),
    "options_size": in_ui("menu/Unit_options.ui", "TOptions")[2:],
    "prize_count_area": in_ui("menu/Unit_options.ui", "ComboBox1"),
    "save_area": in_ui("menu/Unit_options.ui", "Button1"),
}
for name, numbers in places.items():
    print(f"{name}=({' '.join(map(str, numbers))})")
PLACES
) || exit 1
eval "$harness_places"
# The middle of an area "x y w h": "x y".
centre_of() { echo $(($1 + $3 / 2)) $(($2 + $4 / 2)); }
read -ra play_button < <(centre_of "${play_area[@]}")
read -ra options_button < <(centre_of "${options_area[@]}")
read -ra exit_button < <(centre_of "${exit_area[@]}")
read -ra web_banner < <(centre_of "${banner_area[@]}")
read -ra save_button < <(centre_of "${save_area[@]}")
read -ra prize_count_box < <(centre_of "${prize_count_area[@]}")  # its text, left of the arrow

# Ends the script: "FAIL (label): message" on stderr, with the case's $label
# when one is set, then the last lines of the logs named by fail_shows.
harness_logs=()
fail_shows() { harness_logs+=("${2:-5} $1"); }  # a log, and how many lines (default 5)
fail() {
  local entry
  echo "FAIL${label:+ ($label)}: $*" >&2
  for entry in "${harness_logs[@]}"; do
    [[ -s ${entry#* } ]] && tail -n "${entry%% *}" "${entry#* }" >&2
  done
  exit 1
}

# ---- The waits, and where windows are. The program under test is $app_pid;
# a wait gives up early once it has ended.

# Succeeds once command $1 (evaluated, so it may set variables) does, asking
# every tenth of a second up to $2 times (default 100); gives up early once
# the program under test has ended, unless $3 is "ended-too". The one place
# the scripts' waits sleep.
wait_until() {
  local harness_try
  for ((harness_try = 0; harness_try < ${2:-100}; ++harness_try)); do
    eval "$1" && return 0
    [[ ${3:-} != ended-too && -n ${app_pid:-} ]] && ! kill -0 "$app_pid" 2>/dev/null && return 1
    sleep 0.1
  done
  return 1
}

# Prints the id of a visible window named exactly $1; looks up to $2 times
# (default 100), every tenth of a second.
wait_window() {
  local harness_name=$1 harness_id
  wait_until 'harness_id=$(xdotool search --onlyvisible --name "^$harness_name\$" 2>/dev/null | head -n1)
              [[ -n $harness_id ]]' "${2:-100}" || return 1
  echo "$harness_id"
}

# Succeeds once no visible window is named exactly $1 (same wait as above).
wait_gone() {
  local harness_name=$1
  wait_until '! xdotool search --onlyvisible --name "^$harness_name\$" >/dev/null 2>&1' "${2:-100}" ended-too
}

# Succeeds once command $1 (evaluated) prints the same twice in a row, asked
# every tenth of a second up to $2 times (default 30); $steady is what it
# printed last.
wait_steady() {
  local harness_command=$1 harness_before=
  steady=
  wait_until 'steady=$(eval "$harness_command")
              [[ $steady == "$harness_before" ]] || { harness_before=$steady; false; }' "${2:-30}"
}

# Succeeds once window $1 stands still where it was placed: the same place
# and size twice in a row (a window manager may move it after it shows).
wait_placed() { wait_steady "geometry $1" "${2:-30}"; }

# Succeeds once window $1 shows the same picture twice in a row: drawn, and
# nothing in it moving.
wait_drawn() { wait_steady "import -window $1 rgb:- 2>/dev/null | md5sum" "${2:-30}"; }

# "x y w h" of a window's client area on the screen; right under a window
# manager too, which reparents the window into its frame.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# No --sync: xdotool waits seconds for a move when the pointer is already there.
click_at() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; }

# Waits up to $1 tenths of a second (default 100) for the program to end; its
# exit code goes to $exit_code.
wait_exit() {
  wait_until '! kill -0 "$app_pid" 2>/dev/null' "${1:-100}" ended-too || return 1
  wait "$app_pid"
  exit_code=$?
  app_pid=
}

# Clicks at (x, y) inside window $1, after the button under it has lit.
# By the client area's place on the screen: xdotool's own geometry counts a
# window manager's frame twice.
click_in() {
  local x y
  read -r x y _ _ < <(geometry "$1")
  xdotool mousemove $((x + $2)) $((y + $3))
  sleep 0.3
  xdotool click 1
}

# Commands run when the script exits, last registered first, then the
# window manager and the X server this library started.
harness_on_exit=()
harness_pids=()
on_exit() { harness_on_exit=("$1" "${harness_on_exit[@]}"); }
harness_exit() {
  local status=$? command pid i
  for command in "${harness_on_exit[@]}"; do eval "$command" || true; done
  stop_wm
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
  wait_until 'number=$(head -n1 "$numbers"); [[ -n $number ]] && DISPLAY=:$number xdpyinfo >/dev/null 2>&1 ||
              ! kill -0 "$display_pid" 2>/dev/null' 200 ended-too
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
  # Whatever it starts (fluxbox a message about its wallpaper, in a session
  # of its own) carries this mark, so it ends with it.
  harness_wm_mark="HARNESS_WM=$$.$SRANDOM"
  env "$harness_wm_mark" "${wm_environment[@]}" "${1:-openbox}" >/dev/null 2>&1 &
  wm_pid=$!
  harness_pids+=("$wm_pid")
  # A window manager names itself on the root window before it is ready to
  # frame windows (fluxbox by far), so nothing can be waited on but time.
  sleep 1
}
stop_wm() {
  [[ -n ${wm_pid:-} ]] || return 0
  { kill "$wm_pid" && wait "$wm_pid"; } 2>/dev/null || true
  local started
  started=$(grep -lsxzF "$harness_wm_mark" /proc/[0-9]*/environ | cut -d/ -f3)
  [[ -z $started ]] || kill $started 2>/dev/null || true
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
  [[ -x $probe ]] || fail "no probe at $probe (cmake --build build --target firstpaint)"
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
