#!/usr/bin/env bash
# The login screen's session: the session file's own command, run by cage
# as an ordinary user (nobody, when run as root), its output a window on
# this script's Xvfb, the game inside through XWayland, driven by xdotool
# (tests/e2e-lib.sh says why not cage's headless backend). The start screen
# stands centred at its own size on a full-screen backdrop, as cage shows
# it; Play fills the screen, a balloon pops, Esc held 3.5 s leaves the
# locked round, and Exit ends cage with status 0. Then a game that crashes
# is started again kSessionRestarts times, and the next crash ends the
# session after a message.
# With $session_root, the session and the game installed in that root run
# there (tests/release_package.sh).
# Usage: e2e_session.sh <path-to-zephyra> [session file]
set -uo pipefail
app=$(realpath "${1:?path to zephyra}")
session_file=${2:-$(echo "$(dirname "$app")"/wayland-sessions/*.desktop)}
here=$(dirname "$0")
. "$here/e2e-lib.sh"
[[ -n ${session_root:-} ]] || for tool in cage Xwayland; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (tools/install-deps)"
done
restarts=$(sed -n 's/.*kSessionRestarts = \([0-9]*\);.*/\1/p' "$here/../app/session.h")
# The colour of pixel ($2, $3) of PNG $1, as "r,g,b".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

ulimit -c 0  # the crashes asked for below leave no core files
start_display 1280x1024x24 || fail "Xvfb did not start"
# The start screen as a plain locked start draws it (with its line saying
# the lock is on, as the session's game is locked), pointer away.
xdotool mousemove 0 0
plain_game=("$app" --child-lock)
[[ -n ${session_root:-} ]] &&
  plain_game=(chroot "$session_root" env -i DISPLAY="$DISPLAY" HOME=/root LANG=C.UTF-8 /usr/bin/zephyra --child-lock)
"${plain_game[@]}" >"$e2e_config/plain.txt" 2>&1 &
app_pid=$!
plain=$(wait_window "$start_title" 300) || fail "no start screen on a plain start"
wait_drawn "$plain"
import -window "$plain" "$e2e_config/start.png" || fail "the plain start screen cannot be read"
kill "$app_pid"; wait "$app_pid" 2>/dev/null
app_pid=
session_prepare "$app" "$session_file"

label="session"
start_session
backdrop=$(wait_window "$backdrop_title" 300) || fail "no backdrop in the session"
read -r _ _ bw bh < <(geometry "$backdrop")
read -r sw sh < <(identify -format '%w %h' "$e2e_config/start.png")
((sw == start_size[0] && sh == start_size[1])) || fail "the start screen is ${sw}x$sh, not ${start_size[0]}x${start_size[1]}"
# What cage shows: the start screen as a plain start draws it, in the
# middle at its own size, and the sky around it. Looked at until cage has
# drawn it.
sx=$(((bw - sw) / 2)) sy=$(((bh - sh) / 2))
wait_until 'output_shot "$work/output.png" "$bw" "$bh"
            convert "$work/output.png" -crop "${sw}x$sh+$sx+$sy" +repage "$work/middle.png"
            differ=$(compare -metric AE -fuzz 8% "$work/middle.png" "$e2e_config/start.png" null: 2>&1)
            ((${differ%% *} < sw * sh / 100))' 100
((${differ%% *} < sw * sh / 100)) || fail "the output's middle is not the start screen as drawn ($differ pixels differ)"
convert "$work/output.png" -crop "${sx}x$bh+0+0" -resize '1x1!' "$work/left.png"
IFS=, read -r r g b < <(pixel "$work/left.png" 0 0)
((b > 200 && b > r)) || fail "no sky left of the start screen: on average $r,$g,$b"
[[ -n ${ZEPHYRA_SHOTS:-} ]] && cp "$work/output.png" "$ZEPHYRA_SHOTS/session.png"
echo "ok: start screen ${sw}x$sh centred on the ${bw}x$bh backdrop, as cage shows it"

# A click on the sky leaves the start screen in front.
click_at 20 20
click_at $((sx + play_button[0])) $((sy + play_button[1]))
play=$(wait_window "$field_title" 200) || fail "Play showed no play field"
read -r px py pw ph < <(geometry "$play")
((px == 0 && py == 0 && pw == bw && ph == bh)) || fail "the play field is ${pw}x$ph at $px,$py, not the whole ${bw}x$bh"
play_until_pops "$play" 1 80 4 || fail "no pop"
hold_for key Escape 3.5
wait_gone "$field_title" 100 || fail "Esc held 3.5 s did not leave the locked round"
echo "ok: Play over the whole screen, a pop, Esc held 3.5 s left the round"

xdotool mousemove $((sx + exit_button[0])) $((sy + exit_button[1])) sleep 0.1
clicked=$(date +%s%N)
xdotool click 1
wait_exit 100 || fail "Exit on the start screen did not end cage"
cage_pid=
elapsed=$((($(date +%s%N) - clicked) / 1000000))
((exit_code == 0)) || fail "cage ended with status $exit_code"
echo "ok: Exit ended cage with status 0 in $elapsed ms"

label="session, crashes"
start_session
game=
for ((n = 1; n <= restarts + 1; ++n)); do
  # The next game, once the last one has gone.
  wait_until 'next=$(pgrep -P "$game_watcher" | head -n1); [[ -n $next && $next != "$game" ]]' 300
  [[ -n $next && $next != "$game" ]] || fail "no game started for crash $n"
  game=$next
  wait_window "$backdrop_title" 300 >/dev/null || fail "no backdrop before crash $n"
  kill -SEGV "$game"
done
# The message stands on the backdrop of its own; OK (Enter) ends the session.
wait_until 'grep -q "the session ends" "$work/cage.log"'
grep -q 'the session ends' "$work/cage.log" || fail "the watcher did not say the session ends"
wait_window "$backdrop_title" 300 >/dev/null || fail "no message after crash $((restarts + 1))"
# A grey panel, not sky, across the middle: the message at its full width.
wait_until 'output_shot "$work/output.png" "$bw" "$bh"
            convert "$work/output.png" -crop "440x60+$((bw / 2 - 220))+$((bh / 2 - 30))" -resize "1x1!" "$work/middle.png"
            IFS=, read -r r g b < <(pixel "$work/middle.png" 0 0)
            ((b - r < 20))' 100
[[ -n ${ZEPHYRA_SHOTS:-} ]] && cp "$work/output.png" "$ZEPHYRA_SHOTS/session-message.png"
((b - r < 20)) || fail "no message shown after crash $((restarts + 1)): on average $r,$g,$b where it stands"
kill -0 "$cage_pid" 2>/dev/null || fail "the session ended before its message was read"
xdotool key Return
wait_exit 100 || fail "the session did not end after the message"
cage_pid=
echo "ok: started again $restarts times after a crash, then a message, and the session ended (status $exit_code)"
