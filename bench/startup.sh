#!/usr/bin/env bash
# Start-up cost of the real program, measured from outside under its own Xvfb:
#  - time from exec to the start screen's first paint (the window is mapped
#    and shows its picture), and
#  - resident memory (VmRSS) once the play field has been shown (Play clicked,
#    2 s later), and the peak (VmHWM) up to then.
# Each is run 5 times; the medians are printed. Goals at 1920 x 1080: < 150 ms,
# < 60 MB. SCALE=2 runs the game with QT_SCALE_FACTOR=2 (a high-density screen).
# Usage: [SCREEN=1920x1080] [SCALE=1] bench/startup.sh <path-to-zephyra> [runs]
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
runs=${2:-5}
work=$(mktemp -d)
# A free display number, tried in random order: other X servers (other test
# runs) may hold some, and a game started on none aborts.
for n in $(shuf -i 1200-1399); do
  [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
done
display=:$n
xvfb_pid=
game_pid=

cleanup() {
  [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A small probe: starts the program itself, so the clock starts at exec, then
# polls every millisecond for the named window to be viewable and painted
# (a row across it holds many colours, not the bare root's one or two).
cat >"$work/firstpaint.c" <<'EOF'
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t; clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static Window find(Display *d, Window w, const char *name) {
    char *n = NULL;
    if (XFetchName(d, w, &n) && n) {
        int same = strcmp(n, name) == 0;
        XFree(n);
        if (same) return w;
    }
    Window root, parent, *kids = NULL; unsigned nk = 0, i;
    Window found = 0;
    if (!XQueryTree(d, w, &root, &parent, &kids, &nk)) return 0;
    for (i = 0; i < nk && !found; ++i) found = find(d, kids[i], name);
    if (kids) XFree(kids);
    return found;
}

static int painted(Display *d, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable || a.width < 8) return 0;
    unsigned long seen[64]; int nseen = 0;
    for (int row = 1; row <= 3; ++row) {
        XImage *img = XGetImage(d, w, 0, a.height * row / 4, a.width, 1, AllPlanes, ZPixmap);
        if (!img) return 0;
        for (int x = 0; x < a.width && nseen < 64; x += 3) {
            unsigned long p = XGetPixel(img, x, 0); int k;
            for (k = 0; k < nseen && seen[k] != p; ++k) {}
            if (k == nseen) seen[nseen++] = p;
        }
        XDestroyImage(img);
    }
    return nseen >= 24;
}

/* The window may change between two requests (a BadMatch on XGetImage):
   Xlib's default handler would end the probe and leave the caller waiting. */
static int ignore_error(Display *d, XErrorEvent *e) { (void)d; (void)e; return 0; }

int main(int argc, char **argv) {
    if (argc < 4) { fprintf(stderr, "usage: firstpaint NAME TIMEOUT_MS CMD...\n"); return 2; }
    Display *d = XOpenDisplay(NULL);
    if (!d) { fprintf(stderr, "no display\n"); return 2; }
    XSetErrorHandler(ignore_error);
    const char *name = argv[1];
    double limit = atof(argv[2]);
    double t0 = now_ms();
    pid_t pid = fork();
    if (pid == 0) { execv(argv[3], argv + 3); _exit(127); }
    Window w = 0;
    while (now_ms() - t0 < limit) {
        if (!w) w = find(d, DefaultRootWindow(d), name);
        if (w && painted(d, w)) {
            printf("%d %.1f\n", (int)pid, now_ms() - t0);
            return 0;
        }
        XSync(d, False);
        usleep(1000);
    }
    printf("%d timeout\n", (int)pid);
    return 1;
}
EOF
gcc -O2 -o "$work/firstpaint" "$work/firstpaint.c" -lX11 || exit 1

scale=${SCALE:-1}
[[ $scale == 1 ]] || export QT_SCALE_FACTOR=$scale
# -noreset: the probe connects just after xdpyinfo has left, and a server
# busy resetting refuses it.
Xvfb "$display" -screen 0 "${SCREEN:-1280x1024}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
{ kill -0 "$xvfb_pid" 2>/dev/null && xdpyinfo >/dev/null 2>&1; } || { echo "FAIL: Xvfb did not start on $display" >&2; exit 1; }

median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

paints=() rss=() peaks=()
for ((run = 1; run <= runs; ++run)); do
  read -r game_pid ms < <("$work/firstpaint" 'GAME -ZEPHYRA' 10000 "$game" 2>>"$work/game.log")
  [[ $ms == timeout || -z $ms ]] && {
    echo "run $run: no first paint within 10 s" >&2; tail -n 20 "$work/game.log" >&2; exit 1; }
  paints+=("$ms")
  # Click Play and let the play field come up and fly for 2 s.
  wid=$(xdotool search --onlyvisible --name '^GAME -ZEPHYRA$' | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The Play button's middle, in the screen's device pixels.
  xdotool mousemove "$(awk -v o="$X" -v s="$scale" 'BEGIN {printf "%d", o + 98 * s}')" \
                    "$(awk -v o="$Y" -v s="$scale" 'BEGIN {printf "%d", o + 192 * s}')"
  sleep 0.2; xdotool click 1
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^ZEPHYRA$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 2
  kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$game_pid/status")
  rss+=("$(awk -v k="$kb" 'BEGIN {printf "%.1f", k / 1024}')")
  hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$game_pid/status")
  peaks+=("$(awk -v k="$hwm" 'BEGIN {printf "%.1f", k / 1024}')")
  parts=$(awk '/^Rss(Anon|File|Shmem):/ {printf "%s %.1f ", $1, $2 / 1024}' "/proc/$game_pid/status")
  echo "run $run: first paint ${ms} ms, RSS with the play field ${rss[-1]} MB ($parts), peak ${peaks[-1]} MB"
  # Gone for good before the next run, or the probe may find its window.
  kill "$game_pid"
  for _ in $(seq 100); do
    grep -qs '^State:[[:space:]]*[^Z]' "/proc/$game_pid/status" || break  # ended (a zombie is)
    sleep 0.1
  done
  game_pid=
  sleep 0.3
done

echo "median first paint: $(printf '%s\n' "${paints[@]}" | median) ms (goal < 150)"
echo "median RSS after the play field: $(printf '%s\n' "${rss[@]}" | median) MB (goal at 1920x1080 < 60)"
echo "median peak RSS: $(printf '%s\n' "${peaks[@]}" | median) MB"
