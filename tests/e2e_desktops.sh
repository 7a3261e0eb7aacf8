#!/usr/bin/env bash
# Hostile desktops: each case starts its own X server (small, huge, 16-bit,
# two monitors), or takes away what a desktop usually offers (a sound server,
# a web browser, a writable home, a UTF-8 locale, a window manager), or sets
# what it should not (a scale too large), or is a family's GNOME or KDE
# session with their Qt packages. In each: start, Play, play a while,
# Esc, Exit with status 0, no error box. A display or platform that cannot be
# opened ends with Qt's message and status 1. ZEPHYRA_FULL=1 plays 20 s a case; screenshots of every case go to
# $ZEPHYRA_SHOTS when it is set.
# Usage: e2e_desktops.sh <path-to-zephyra>
set -uo pipefail

game=${1:?path to the zephyra executable}
. "$(dirname "$0")/e2e-lib.sh"
work=$(mktemp -d)
app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  app_pid=
  stop_display
}
on_exit 'cleanup; rm -rf "$work"'
fail_shows "$work/out.txt"

play_seconds=3
[[ ${ZEPHYRA_FULL:-} == 1 ]] && play_seconds=20
shots=${ZEPHYRA_SHOTS:-}
[[ -n $shots ]] && mkdir -p "$shots"
shot() { [[ -n $shots ]] && import -window root "$shots/$1.png" 2>/dev/null; return 0; }

# Runs one case: $1 label, $2 Xvfb screen, then options up to "--", then the
# game's extra environment. Options: wm (openbox), monitors (two side by side),
# banner (click it first), lean (a desktop's session without a session bus:
# the game maps no Qt plugin but the xcb platform and the compose input
# method, hands the browser the desktop's own environment, and leaves no
# process behind). Esc with another window at the keyboard is e2e_play.sh's
# check.
run_case() {
  label=$1
  local screen=$2 wm= monitors= banner= lean= start play x y w h sw sh plugins
  shift 2
  while (($#)) && [[ $1 != -- ]]; do declare "$1=1"; shift; done
  shift
  start_display "$screen" +extension RANDR || fail "Xvfb did not start"
  sw=${screen%%x*} sh=${screen#*x} sh=${sh%%x*}
  if [[ -n $monitors ]]; then
    # One wide screen split into two monitors, the left one primary; where
    # the X server cannot, say so rather than pass.
    if ! split_monitors "$sw" "$sh"; then
      echo "SKIP ($label): this X server did not split its screen into two monitors"
      stop_display
      return 0
    fi
    sw=$((sw / 2))
  fi
  [[ -n $wm ]] && start_wm openbox

  if [[ -n $lean ]]; then
    rm -rf "$work/run" "$work/opened"; mkdir -m 700 "$work/run"
    # No bus address and an empty runtime folder: no session bus at all.
    set -- -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR="$work/run" PATH="$work/browser:$PATH" \
      ZEPHYRA_CASE="$label-$$" "$@"
  fi
  launch_game "$@"
  start=$(wait_window "$start_title" 150) || fail "start screen did not appear"
  wait_placed "$start"
  read -r x y w h < <(geometry "$start")
  # Centred on the primary monitor (a window manager may keep it on screen).
  if [[ -z $wm ]]; then
    ((x == (sw - start_size[0]) / 2 && y == (sh - start_size[1]) / 2)) \
      || fail "start screen at $x,$y, not centred on the ${sw}x$sh primary monitor"
  fi
  ((x + start_size[0] / 2 > 0 && x + start_size[0] / 2 < sw)) || fail "start screen not on the primary monitor"
  shot "$label-start"
  if [[ -n $banner ]]; then
    click_in "$start" "${web_banner[@]}"
    # The browser started; with none to start, an error box would be quick.
    if [[ -n $lean ]]; then
      wait_until '[[ -s $work/opened ]]' 30
    else
      wait_until '! no_error_box ""' 10
    fi
    start=$(wait_window "$start_title" 20) || fail "the banner closed the start screen"
    no_error_box "" || fail "the banner raised an error box"
    if [[ -n $lean ]]; then
      [[ -s $work/opened ]] || fail "the banner started no browser"
      # What the desktop set reaches the browser as it was; what the game set
      # for Qt's start does not.
      for v in "$@"; do
        [[ $v == [A-Z]*=* ]] && { grep -qxF "$v" "$work/opened" || fail "the browser did not get $v"; }
      done
      ! grep -E '^(QT_NO_XDG_DESKTOP_PORTAL|DBUS_SESSION_BUS_ADDRESS)=' "$work/opened" ||
        fail "the game's start-up settings reached the browser"
    fi
  fi

  click_in "$start" "${play_button[@]}"
  play=$(wait_window "$field_title" 100) || fail "play field did not appear"
  wait_placed "$play"
  read -r x y w h < <(geometry "$play")
  ((x == 0 && y == 0 && w == sw && h == sh)) \
    || fail "play field is ${w}x$h+$x+$y, not the ${sw}x$sh primary monitor"
  play_for "$play" "$play_seconds" || fail "the game ended during play"
  no_error_box "$play" || fail "an error box is open during play"
  shot "$label-play"

  if [[ -n $lean ]]; then
    plugins=$(extra_plugins "$app_pid")
    [[ -z $plugins ]] || fail "plugins the game does not use are mapped: $plugins"
  fi
  leave_and_exit "$play"
  if [[ -n $lean ]]; then
    wait_until '! grep -qsF "ZEPHYRA_CASE=$label-$$" /proc/[0-9]*/environ' 20 ended-too
    left=$(grep -lsF "ZEPHYRA_CASE=$label-$$" /proc/[0-9]*/environ | cut -d/ -f3)
    for pid in $left; do kill "$pid" 2>/dev/null; done
    [[ -z $left ]] || fail "processes left after exit: $(ps -o comm= -p "${left//$'\n'/,}" | tr '\n' ' ')"
  fi
  stop_display
  echo "ok: $label"
}

mkdir -p "$work/empty"
: >"$work/not-a-folder"
run_case 640x480 640x480x24 --
run_case 800x600 800x600x24 wm --
run_case 3840x2160 3840x2160x24 --
run_case depth16 1280x1024x16 --
run_case two-monitors 3840x1080x24 monitors --
run_case two-monitors-openbox 3840x1080x24 monitors wm --
# No sound server at either address (a socket that is not there, a closed
# local port) and no sound card: the game plays silently.
run_case no-sound 1280x1024x24 -- PULSE_SERVER="unix:$work/none tcp:127.0.0.1:1" ALSA_CONFIG_PATH=/dev/null
run_case no-browser 1280x1024x24 banner -- PATH="$work/empty" BROWSER=
# GNOME's and KDE's sessions, with what they set for Qt programs (the input
# method, a platform theme, a style) and the desktop's Qt packages installed.
mkdir -p "$work/browser"
printf '#!/bin/sh\nenv >"%s.part" && mv "%s.part" "%s"\n' "$work/opened" "$work/opened" "$work/opened" >"$work/browser/xdg-open"
chmod +x "$work/browser/xdg-open"
run_case gnome 1280x1024x24 wm banner lean -- XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_DESKTOP=gnome \
  QT_IM_MODULE=ibus QT_QPA_PLATFORMTHEME=gtk3
run_case kde 1280x1024x24 wm banner lean -- XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=6 \
  QT_STYLE_OVERRIDE=breeze
# A home below a plain file: no folder can be made in it, not even by root.
run_case read-only-home 1024x768x24 -- HOME="$work/not-a-folder/home" XDG_CONFIG_HOME= XDG_CACHE_HOME= XDG_DATA_HOME=
run_case lang-c 1024x768x24 wm -- LANG=C LC_ALL=C LANGUAGE=
# A desktop in German: its catalogue and pictures, checked at start-up too.
run_case lang-de 1024x768x24 wm -- LANG=de_DE.UTF-8 LC_ALL= LANGUAGE=de
# Refused before Qt starts, in one line; the game plays at the screen's own scale.
run_case bad-scale 1024x768x24 -- QT_SCALE_FACTOR=50
(($(grep -c QT_SCALE_FACTOR "$work/out.txt") == 1)) || fail "not one line about QT_SCALE_FACTOR"
echo "ok: bad-scale said so"
for bad in DISPLAY=:9999 QT_QPA_PLATFORM=nosuch; do
  label=$bad
  env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$bad" "$game" >"$work/out.txt" 2>&1
  status=$?
  ((status == 1)) && grep -q 'platform plugin' "$work/out.txt" || fail "status $status, not 1 with Qt's message"
  echo "ok: $bad"
done
