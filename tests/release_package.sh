#!/usr/bin/env bash
# The package as a parent on another Debian release or computer gets it: apt
# installs the .deb, with the recommends it brings by default, into a fresh
# minimal root of that release and of the package's architecture (a
# throw-away copy of the cached one; an arm64 root runs emulated), and the
# installed game runs there on an X display of its own: start screen with its
# picture, Play, two pops heard through a private sound server, Esc, Exit with
# code 0. The desktop root (the default) holds first what
# GNOME's and KDE's tasks bring for Qt programs, and the game plays once as
# each desktop, mapping no Qt plugin of theirs; the bare root holds only what
# the package brings. Then cage and XWayland are installed beside it and the
# login screen's session runs there (tests/e2e_session.sh; not in an
# emulated root). Needs root; ./test.sh --full runs it.
# Usage: release_package.sh <deb> [codename, default trixie] [desktop | bare]
set -uo pipefail
deb=$(realpath "${1:?path to the .deb}")
codename=${2:-trixie}
flavour=${3:-desktop}
cd "$(dirname "$0")/.."
. tests/e2e-lib.sh
. tools/release-root.sh
. tests/pulse-lib.sh  # after the roots' folder is known: it moves HOME

work=$(mktemp -d)
app_pid= root= rec_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  [[ -n $rec_pid ]] && kill "$rec_pid" 2>/dev/null
  stop_display
  release_root_cleanup
  remove_root "$root"
  end_pulse
  rm -rf "$work"
}
on_exit cleanup
trap 'exit 130' INT
trap 'exit 143' TERM HUP

desktops=(bare) desktop_qt=()
if [[ $flavour == desktop ]]; then
  desktop_qt=(qt6-gtk-platformtheme qt6-image-formats-plugins)
  case $codename in
    bookworm) desktop_qt+=(libqt6svg6) ;;
    *) desktop_qt+=(qt6-svg-plugins plasma-integration kimageformat6-plugins) ;;  # Plasma 6's
  esac
  desktops=(GNOME KDE)
fi
package_root "$deb" "$codename" "${desktop_qt[@]}" || fail "$(basename "$deb") not installed in Debian $codename"
version=$(in_root "$root" dpkg-query -W -f='${Version}' zephyra) || fail "zephyra is not installed"
# The login screen's session comes with the game; cage, which it runs in,
# is only suggested: apt installed the game without it.
[[ -n $(echo "$root"/usr/share/wayland-sessions/*.desktop) && -f $(echo "$root"/usr/share/wayland-sessions/*.desktop) ]] ||
  fail "no session file installed"
[[ $(in_root "$root" dpkg-query -W -f='${Status}' cage 2>/dev/null) != *" installed" ]] || fail "cage came with the game"

# An emulated game is many times slower: its windows get more time to come.
slow=1
foreign_root "$root" && slow=4 ui_wait=200 exit_wait=1200
start_display 1280x1024x24 || fail "Xvfb did not start"
# The private sound server's socket, at the same path inside the root.
start_pulse || fail "no private sound server"
mkdir -p "$root$pulse_dir"
mount --bind "$pulse_dir" "$root$pulse_dir"
pop=$(segments assets/sounds/pop.wav | awk '{ print $1 + $2; exit }')
game=/usr/bin/zephyra game_wrapper="/usr/sbin/chroot $root"
for desktop in "${desktops[@]}"; do
  label="$(basename "$deb") on Debian $codename $(dpkg-deb -f "$deb" Architecture) ($desktop)"
  desktop_env=()
  [[ $desktop != bare ]] && desktop_env=(XDG_CURRENT_DESKTOP="$desktop")
  launch_game -i DISPLAY="$DISPLAY" HOME=/root PATH=/usr/bin:/bin PULSE_SERVER="$PULSE_SERVER" "${desktop_env[@]}"
  start=$(wait_window "$start_title" $((100 * slow))) || { cat "$work/out.txt"; fail "no start screen"; }
  wait_until 'colours=$(import -window "$start" -format "%k" info:); ((colours > 1000))' $((20 * slow))
  ((colours > 1000)) || fail "start screen shows only $colours colours, not its picture"
  read -r x y _ _ < <(geometry "$start")
  click_at $((x + play_button[0])) $((y + play_button[1]))            # Play
  play=$(wait_window "$field_title" $((100 * slow))) || { cat "$work/out.txt"; fail "Play showed no play field"; }
  sleep "$slow"
  plugins=$(extra_plugins "$app_pid")
  [[ -z $plugins ]] || fail "plugins the game does not use are mapped: $plugins"

  # Two pops, apart, each heard whole: no sound shorter than the pop, and
  # together at least two pops' worth (two that come close together in the
  # recording sound as one longer one). The next pop waits until the last
  # has ended, or 10 s (slower emulated) when it does not.
  record zephyra_test.monitor "$work/pops.raw" || fail "the recorder did not start"
  for n in 1 2; do
    play_until_pops "$play" 1 80 4 || fail "no pop $n"
    xdotool mousemove 0 0
    wait_heard "$work/pops.raw" $((100 * slow)) "$n"
  done
  stop_recording
  heard=$(segments "$work/pops.raw")
  awk -v pop="$pop" '$2 < pop - 0.05 { cut = 1 } { sum += $2 } END { exit cut || sum < 2 * pop - 0.1 }' <<<"$heard" ||
    fail "two pops of $pop s not heard whole; heard (start, length): $(tr '\n' ' ' <<<"$heard")"

  leave_and_exit "$play"
  echo "ok: $label (installed version $version, with recommends): start screen, Play, two pops heard, Esc, Exit 0"
done

# The login screen's session, once a grown-up has installed what it runs
# in (and xhost, which lets the check into XWayland): the session file's
# command run there as an ordinary user, as tests/e2e_session.sh runs it.
# Not in an emulated root, where cage and XWayland would crawl.
if ! foreign_root "$root"; then
  in_root "$root" env DEBIAN_FRONTEND=noninteractive apt-get -q install -y cage xwayland x11-xserver-utils \
    >"$work/apt-session.log" 2>&1 || { cat "$work/apt-session.log"; fail "apt did not install cage in Debian $codename"; }
  session_root=$root bash tests/e2e_session.sh "$root/usr/bin/zephyra" \
    "$(echo "$root"/usr/share/wayland-sessions/*.desktop)" || fail "the session on Debian $codename"
  echo "ok: $(basename "$deb") on Debian $codename: the login screen's session with cage $(in_root "$root" dpkg-query -W -f='${Version}' cage)"
fi
