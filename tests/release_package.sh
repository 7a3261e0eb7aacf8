#!/usr/bin/env bash
# The package as a parent on another Debian release gets it: apt installs the
# .deb, with the recommends it brings by default, into a fresh minimal root of
# that release (a throw-away copy of the cached one), and the installed game
# runs there on an X display of its own: start screen with its picture, Play,
# Esc, Exit with code 0. The desktop root (the default) holds first what
# GNOME's and KDE's tasks bring for Qt programs, and the game plays once as
# each desktop, mapping no Qt plugin of theirs; the bare root holds only what
# the package brings. Needs root; ./test.sh --full runs it.
# Usage: release_package.sh <deb> [codename, default trixie] [desktop | bare]
set -uo pipefail
deb=$(realpath "${1:?path to the .deb}")
codename=${2:-trixie}
flavour=${3:-desktop}
cd "$(dirname "$0")/.."
. tests/e2e-lib.sh
. tools/release-root.sh

work=$(mktemp -d)
app_pid= root=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  stop_display
  release_root_cleanup
  remove_root "$root"
  rm -rf "$work"
}
on_exit cleanup
trap 'exit 130' INT
trap 'exit 143' TERM HUP

base=$(base_root "$codename") || fail "no Debian $codename root"
root=$(scratch_root "$base") || fail "could not copy $base"
mount_root "$root"
# Downloaded packages stay beside the roots, so a second run fetches only what changed.
mkdir -p "$roots_dir/$codename-archives/partial"
mount --bind "$roots_dir/$codename-archives" "$root/var/cache/apt/archives"
cp "$deb" "$root/tmp/"
apt_in_root() {
  in_root "$root" env DEBIAN_FRONTEND=noninteractive apt-get -q "$@" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get $1 in Debian $codename"; }
}
apt_in_root update
desktops=(bare)
if [[ $flavour == desktop ]]; then
  desktop_qt=(qt6-gtk-platformtheme qt6-image-formats-plugins)
  case $codename in
    bookworm) desktop_qt+=(libqt6svg6) ;;
    *) desktop_qt+=(qt6-svg-plugins plasma-integration kimageformat6-plugins) ;;  # Plasma 6's
  esac
  apt_in_root install -y "${desktop_qt[@]}"
  desktops=(GNOME KDE)
fi
apt_in_root install -y "/tmp/$(basename "$deb")"
version=$(in_root "$root" dpkg-query -W -f='${Version}' zephyra) || fail "zephyra is not installed"

start_display 1280x1024x24 || fail "Xvfb did not start"
game=/usr/bin/zephyra game_wrapper="/usr/sbin/chroot $root"
for desktop in "${desktops[@]}"; do
  label="$(basename "$deb") on Debian $codename ($desktop)"
  desktop_env=()
  [[ $desktop != bare ]] && desktop_env=(XDG_CURRENT_DESKTOP="$desktop")
  launch_game -i DISPLAY="$DISPLAY" HOME=/root PATH=/usr/bin:/bin "${desktop_env[@]}"
  start=$(wait_window "$start_title") || { cat "$work/out.txt"; fail "no start screen"; }
  sleep 1
  colours=$(import -window "$start" -format '%k' info:)
  ((colours > 1000)) || fail "start screen shows only $colours colours, not its picture"
  read -r x y _ _ < <(geometry "$start")
  click_at $((x + play_button[0])) $((y + play_button[1]))            # Play
  play=$(wait_window "$field_title") || { cat "$work/out.txt"; fail "Play showed no play field"; }
  sleep 1
  plugins=$(extra_plugins "$app_pid")
  [[ -z $plugins ]] || fail "plugins the game does not use are mapped: $plugins"
  leave_and_exit "$play"
  echo "ok: $label (installed version $version, with recommends): start screen, Play, Esc, Exit 0"
done
