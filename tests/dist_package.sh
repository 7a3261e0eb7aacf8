#!/usr/bin/env bash
# The Debian package as a parent gets it: CPack builds it from the build tree;
# every file lands under /usr in the usual places; the desktop entry, the
# metainfo, the icons and the login screen's session agree on one id and
# point at files that exist; the
# installed zephyra, unpacked into a throw-away root, starts on the X display
# and shows its start screen; every library it has loaded by then belongs to a
# package its dependencies bring; Exit ends it with code 0.
# Usage: dist_package.sh <build-dir>
set -uo pipefail
build=$(realpath "${1:?build directory}")
: "${DISPLAY:?needs an X display}"
. "$(dirname "$0")/e2e-lib.sh"

work=$(mktemp -d)
app_pid=
on_exit '[[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null; rm -rf "$work"'

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack did not build the package"; }
deb=$(echo "$work"/out/*.deb)
[[ -f $deb ]] || fail "no .deb produced"

desktop=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep '^\./usr/share/applications/.*\.desktop$')
id=$(basename "$desktop" .desktop)
[[ $id =~ ^[a-z_][a-z0-9_]*(\.[a-z_][a-z0-9_]*){2,}$ ]] || fail "desktop file id '$id' is not reverse-DNS"
q=${id//./\\.}
allowed="^\./usr/(bin/zephyra|share/applications/$q\.desktop|share/metainfo/$q\.metainfo\.xml"
allowed+="|share/icons/hicolor/([0-9]+x[0-9]+|scalable)/apps/$q\.(png|svg)|share/doc/zephyra/[^/]+"
allowed+="|share/wayland-sessions/$q\.desktop)$"
stray=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | grep -Ev "$allowed")
[[ -z $stray ]] || fail "files outside the usual places: $stray"
stray=$(dpkg-deb -c "$deb" | awk '$1 ~ /^d/ {print $6}' | grep -Ev '^\./(usr/.*)?$')
[[ -z $stray ]] || fail "directories outside /usr: $stray"

root=$work/root
dpkg-deb -x "$deb" "$root"
# A key of the main group ($1), or of the group named $2.
entry() {
  local group=${2:-Desktop Entry}
  sed -n "/^\[$group\]/,/^\[/ s/^$1=//p" "$root/usr/share/applications/$id.desktop"
}
[[ $(entry Exec) == zephyra && -x $root/usr/bin/zephyra ]] || fail "Exec=$(entry Exec) is not the installed program"
# The right-click actions start the same program with a grown-up's choice,
# or its settings for grown-ups.
[[ $(entry Actions) == "child-lock;minutes;easy;grown-ups;" ]] || fail "Actions=$(entry Actions)"
[[ $(entry Exec "Desktop Action grown-ups") == "zephyra --grown-ups" ]] || fail "the grown-ups action"
[[ $(entry Exec "Desktop Action child-lock") == "zephyra --child-lock" ]] || fail "the child-lock action"
[[ $(entry Exec "Desktop Action minutes") =~ ^zephyra\ --minutes\ [0-9]+$ ]] || fail "the minutes action"
[[ $(entry Exec "Desktop Action easy") == "zephyra --easy" ]] || fail "the easy play action"
[[ $(entry Icon) == "$id" ]] || fail "Icon=$(entry Icon), not $id"
meta=$root/usr/share/metainfo/$id.metainfo.xml
grep -q "<id>$id</id>" "$meta" || fail "metainfo id differs from $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" || fail "metainfo launches no $id.desktop"
[[ -f $root/usr/share/icons/hicolor/scalable/apps/$id.svg ]] || fail "no scalable icon"
for png in "$root"/usr/share/icons/hicolor/*x*/apps/"$id".png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  [[ $(identify -format '%wx%h' "$png") == "$size" ]] || fail "icon in $size is $(identify -format '%wx%h' "$png")"
done
for size in 48x48 128x128; do  # the sizes menus and software centres ask for
  [[ -f $root/usr/share/icons/hicolor/$size/apps/$id.png ]] || fail "no $size icon"
done
for licence in LICENSE LICENSE-terminus.txt LICENSE-eurofurence.txt; do
  [[ -f $root/usr/share/doc/zephyra/$licence ]] ||
    fail "$licence missing from /usr/share/doc/zephyra"
done
# The login screen's session runs the installed game under cage, and is
# listed only where cage is; the package only suggests cage, so a machine
# without it installs the game.
session=$root/usr/share/wayland-sessions/$id.desktop
[[ $(sed -n 's/^Exec=//p' "$session") == "cage -- zephyra --kiosk" ]] || fail "the session's Exec=$(sed -n 's/^Exec=//p' "$session")"
[[ $(sed -n 's/^TryExec=//p' "$session") == cage ]] || fail "the session is listed without cage"
! dpkg-deb -f "$deb" Depends Recommends | grep -qw cage || fail "the package needs cage"
dpkg-deb -f "$deb" Suggests | grep -qw cage || fail "the package does not suggest cage"

# The installed program on the display, with nothing of the build tree around
# (but the sanitizers' settings, when the suite runs under them).
sanitizer_env=()
for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  [[ -n ${!v:-} ]] && sanitizer_env+=("$v=${!v}")
done
(cd "$work" && exec env -i DISPLAY="$DISPLAY" HOME="$work" PATH=/usr/bin:/bin "${sanitizer_env[@]}" \
  "$root/usr/bin/zephyra" >"$work/log" 2>&1) &
app_pid=$!
start=$(wait_window "$start_title") || { cat "$work/log"; fail "the installed game showed no start screen"; }
# The audio output opens shortly after the first paint.
wait_until 'grep -q libpulse "/proc/$app_pid/maps"' 50
read -r x y w h < <(geometry "$start")
[[ $w -eq 700 && $h -eq 500 ]] || fail "start screen is ${w}x${h}"
colours=$(import -window "$start" -format '%k' info:)
((colours > 1000)) || fail "start screen shows only $colours colours, not its picture"
xprop -id "$start" WM_CLASS | grep -q "\"$(entry StartupWMClass)\"" ||
  fail "window class $(xprop -id "$start" WM_CLASS) does not match StartupWMClass=$(entry StartupWMClass)"

# Every package whose library the game has mapped must come with the package's
# Depends or Recommends, directly or through their own dependencies.
awk '$6 ~ /\.so/ {print $6}' "/proc/$app_pid/maps" | sort -u >"$work/libs"
# dpkg knows a merged-/usr library under either path; one query for all.
owners=$(sed 'p; s|^/usr||' "$work/libs" | xargs dpkg-query -S 2>/dev/null | grep -v '^diversion' |
  tee "$work/owned" | sed 's/:.*//' | sort -u)
unowned=$(while read -r lib; do
  grep -qF -e ": $lib" -e ": ${lib#/usr}" "$work/owned" || echo "$lib"
done <"$work/libs")
[[ -z $unowned ]] || fail "libraries no package owns: $unowned"
dpkg-query -W -f='${Package}\t${Depends}, ${Pre-Depends}\t${Provides}\n' >"$work/installed"
wanted="$(dpkg-deb -f "$deb" Depends), $(dpkg-deb -f "$deb" Recommends)"
missing=$(awk -F'\t' -v wanted="$wanted" -v need="$(tr '\n' ' ' <<<"$owners")" '
  function names(list, out,   n, i, a) {   # package names of a dependency list, alternatives included
    gsub(/\([^)]*\)|:[a-z0-9]+|\[[^]]*\]/, "", list); gsub(/[|,]/, " ", list)
    n = split(list, a, " "); for (i = 1; i <= n; ++i) out[a[i]] = 1
  }
  { deps[$1] = $2; installed[$1] = 1
    n = split($3, p, ","); for (i = 1; i <= n; ++i) { v = p[i]; gsub(/\([^)]*\)| /, "", v); if (v != "") prov[v] = prov[v] " " $1 } }
  END {
    names(wanted, queue)
    while (length(queue)) {
      for (q in queue) break; delete queue[q]
      if (q in seen) continue; seen[q] = 1
      if (q in prov) { m = split(prov[q], pp, " "); for (i = 1; i <= m; ++i) queue[pp[i]] = 1 }
      if (q in installed) { delete more; names(deps[q], more); for (d in more) queue[d] = 1 }
    }
    n = split(need, a, " "); for (i = 1; i <= n; ++i) if (!(a[i] in seen)) printf "%s ", a[i]
  }' "$work/installed")
[[ -z $missing ]] || fail "loaded libraries from packages the dependencies do not bring: $missing"

# Exit.
click_in "$start" "${exit_button[@]}"
wait_exit || fail "Exit did not end the installed game"
[[ $exit_code -eq 0 ]] || { cat "$work/log"; fail "exit code $exit_code"; }
echo "ok: $(basename "$deb"): $(wc -l <"$work/libs") libraries from $(wc -w <<<"$owners") packages, all brought by its dependencies"
