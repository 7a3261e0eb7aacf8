#!/usr/bin/env bash
# End to end: the start screen's buttons light under the real pointer and go
# out over the background; Options opens the dialog in place of the start
# screen, centred by its frame, Save brings the start screen back, Exit ends
# the program with code 0. Under a window manager, minimising the dialog
# brings the start screen back too. Runs without a window manager, under
# openbox, and under fluxbox, which says its frame only once a window shows.
set -u
app=${1:?path to zephyra}
: "${DISPLAY:?needs an X display}"
. "$(dirname "$0")/e2e-lib.sh"

app_pid=
tmp=$(mktemp -d)
on_exit '[[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null; rm -rf "$tmp"'
shot() {  # shot file w h x y: a region of the screen as the server shows it
  import -window root -crop "$2x$3+$4+$5" +repage "$1"
}

differing() {  # number of pixels that differ between two shots
  compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

move() { xdotool mousemove --sync "$1" "$2"; }

# Waits until the region "w h x y" of the screen, shot into $1, differs from
# shot $2 by more than $3 pixels ("more") or by fewer ("less"), as the pictures
# repaint after the pointer's move.
shot_until() {
  local file=$1 other=$2 count=$3 how=$4 region=("${@:5}")
  wait_until 'shot "$file" "${region[@]}"; n=$(differing "$other" "$file")
              if [[ $how == more ]]; then ((n > count)); else ((n < count)); fi' 20
}

run_round() {
  local label=$1
  "$app" >"$tmp/log" 2>&1 &
  app_pid=$!
  local start
  start=$(wait_window "$start_title") || fail "start screen never appeared"
  wait_placed "$start"
  read -r x y w h < <(geometry "$start")
  [[ $w -eq ${start_size[0]} && $h -eq ${start_size[1]} ]] || fail "start screen is ${w}x${h}"

  # Play's picture: normal, lit under the pointer, normal again once the
  # pointer crosses the background.
  local bx=$((x + play_area[0])) by=$((y + play_area[1])) bw=${play_area[2]} bh=${play_area[3]} n
  move $((x + w / 2)) $((y + h / 2))
  shot "$tmp/normal.png" "$bw" "$bh" "$bx" "$by"
  move $((x + play_button[0])) $((y + play_button[1]))
  move $((x + play_button[0] + 1)) $((y + play_button[1] + 1))
  shot_until "$tmp/lit.png" "$tmp/normal.png" 500 more "$bw" "$bh" "$bx" "$by" ||
    fail "hovering Play changed only $n pixels"
  move $((x + w / 2)) $((y + h / 2))
  shot_until "$tmp/again.png" "$tmp/normal.png" 50 less "$bw" "$bh" "$bx" "$by" ||
    fail "Play still differs by $n pixels after the background"

  click_at $((x + options_button[0])) $((y + options_button[1]))          # Options
  local options
  options=$(wait_window "$options_title") || fail "the options dialog never appeared"
  wait_gone "$start_title" || fail "start screen still visible beside the dialog"
  wait_placed "$options"
  read -r ox oy ow oh < <(geometry "$options")
  [[ $ow -eq ${options_size[0]} && $oh -eq ${options_size[1]} ]] ||
    fail "dialog client area is ${ow}x${oh}, not ${options_size[0]}x${options_size[1]}"
  # Centred by its outer frame, title bar included, from its first showing.
  local l=0 r=0 t=0 b=0
  read -r l r t b < <(xprop -id "$options" _NET_FRAME_EXTENTS | awk -F' = ' 'NF > 1 {gsub(",", "", $2); print $2}')
  eval "$(xdotool getdisplaygeometry --shell)"
  (( ox - ${l:-0} == (WIDTH - ow - ${l:-0} - ${r:-0}) / 2 && oy - ${t:-0} == (HEIGHT - oh - ${t:-0} - ${b:-0}) / 2 )) \
    || fail "dialog frame at $((ox - ${l:-0})),$((oy - ${t:-0})) is not centred on ${WIDTH}x${HEIGHT}"

  if [[ $label != "no window manager" ]]; then
    # A minimised dialog would leave nothing of the game on screen.
    xdotool windowminimize "$options"
    start=$(wait_window "$start_title") || fail "minimising the dialog did not bring back the start screen"
    click_at $((x + options_button[0])) $((y + options_button[1]))        # Options again
    options=$(wait_window "$options_title") || fail "the options dialog did not open again"
    wait_placed "$options"
    read -r ox oy ow oh < <(geometry "$options")
  fi

  click_at $((ox + save_button[0])) $((oy + save_button[1]))         # Save
  start=$(wait_window "$start_title") || fail "Save did not bring back the start screen"
  wait_gone "$options_title" || fail "the dialog stayed open after Save"
  wait_placed "$start"

  click_at $((x + exit_button[0])) $((y + exit_button[1]))           # Exit
  wait_exit || fail "Exit did not end the program"
  [[ $exit_code -eq 0 ]] || fail "exit code $exit_code"
  echo "ok: $label"
}

run_bare_and_managed
if [[ -z ${E2E_DESKTOP:-} ]] && command -v fluxbox >/dev/null; then
  start_wm fluxbox
  run_round fluxbox
  stop_wm
fi
