#!/usr/bin/env bash
# The login screen's session: the session file's own command, run by cage
# with its headless backend as an ordinary user (nobody, when run as root),
# the game inside through XWayland, driven by xdotool. The start screen
# stands centred at its own size on a full-screen backdrop (the compositor's
# output, read back with grim); Play fills the screen, a balloon pops, Esc
# held 3.5 s leaves the locked round, and Exit ends cage with status 0.
# Then a game that crashes is started again kSessionRestarts times, and the
# next crash ends the session after a message.
# Usage: e2e_session.sh <path-to-zephyra> [session file]
set -uo pipefail
app=$(realpath "${1:?path to zephyra}")
session_file=${2:-$(echo "$(dirname "$app")"/wayland-sessions/*.desktop)}
here=$(dirname "$0")
. "$here/e2e-lib.sh"
for tool in cage grim Xwayland; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (tools/install-deps)"
done
# The colour of pixel ($2, $3) of PNG $1, as "r,g,b".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
restarts=$(sed -n 's/.*kSessionRestarts = \([0-9]*\);.*/\1/p' "$here/../app/session.h")

ulimit -c 0  # the crashes asked for below leave no core files
session_prepare "$app" "$session_file"

label="session"
start_session
start=$(wait_window "$start_title" 300) || fail "no start screen in the session"
backdrop=$(wait_window "$backdrop_title" 50) || fail "no backdrop behind the start screen"
read -r _ _ bw bh < <(geometry "$backdrop")
read -r sx sy sw sh < <(geometry "$start")
((sw == start_size[0] && sh == start_size[1])) || fail "the start screen is ${sw}x$sh, not ${start_size[0]}x${start_size[1]}"
((sx == (bw - sw) / 2 && sy == (bh - sh) / 2)) || fail "the start screen stands at $sx,$sy on ${bw}x$bh, not centred"
# What the compositor shows: the start screen's own picture in the middle,
# the sky around it.
sleep 0.5
output_shot "$work/output.png" || fail "grim read nothing back from cage"
import -window "$start" "$work/start.png" 2>/dev/null || fail "the start screen cannot be read"
convert "$work/output.png" -crop "${sw}x$sh+$sx+$sy" +repage "$work/middle.png"
differ=$(compare -metric AE -fuzz 8% "$work/middle.png" "$work/start.png" null: 2>&1)
((${differ%% *} < sw * sh / 100)) || fail "the output's middle is not the start screen as drawn ($differ pixels differ)"
IFS=, read -r r g b < <(pixel "$work/output.png" $((sx / 2)) $((bh / 2)))
((b > 200 && b > r)) || fail "no sky left of the start screen: $r,$g,$b"
[[ -n ${ZEPHYRA_SHOTS:-} ]] && cp "$work/output.png" "$ZEPHYRA_SHOTS/session.png"
echo "ok: start screen ${sw}x$sh centred on the ${bw}x$bh backdrop, as cage shows it"

click_in "$start" "${play_button[@]}"
play=$(wait_window "$field_title" 200) || fail "Play showed no play field"
read -r px py pw ph < <(geometry "$play")
((px == 0 && py == 0 && pw == bw && ph == bh)) || fail "the play field is ${pw}x$ph at $px,$py, not the whole ${bw}x$bh"
play_until_pops "$play" 1 80 4 || fail "no pop"
xdotool keydown Escape
sleep 3.5
xdotool keyup Escape
wait_gone "$field_title" 100 || fail "Esc held 3.5 s did not leave the locked round"
start=$(wait_window "$start_title" 100) || fail "no start screen after the round"
echo "ok: Play over the whole screen, a pop, Esc held 3.5 s back to the start screen"

click_in "$start" "${exit_button[@]}"
clicked=$(date +%s%N)
wait_exit 100 || fail "Exit did not end cage"
cage_pid=
elapsed=$((($(date +%s%N) - clicked) / 1000000))
((exit_code == 0)) || fail "cage ended with status $exit_code"
echo "ok: Exit ended cage with status 0 in $elapsed ms"

label="session, crashes"
start_session
game=
for ((n = 1; n <= restarts + 1; ++n)); do
  # The next game, once the last one has gone.
  for ((i = 0; i < 300; ++i)); do
    next=$(pgrep -P "$game_watcher" | head -n1)
    [[ -n $next && $next != "$game" ]] && break
    sleep 0.1
  done
  [[ -n $next && $next != "$game" ]] || fail "no game started for crash $n"
  game=$next
  wait_window "$start_title" 300 >/dev/null || fail "no start screen before crash $n"
  kill -SEGV "$game"
done
message=$(wait_window "$field_title" 300) || fail "no message after crash $((restarts + 1))"
grep -q 'the session ends' "$work/cage.log" || fail "the watcher did not say the session ends"
xdotool windowfocus --sync "$message" key Return
wait_exit 100 || fail "the session did not end after the message"
cage_pid=
echo "ok: started again $restarts times after a crash, then a message, and the session ended (status $exit_code)"
