#!/usr/bin/env bash
# Includes run one way: from the program's top floor down, never up, and no
# two units (a .h with its .cpp) include each other. One floor per folder:
#   6 app/ (main, the command line, the window builder, the start-up checks)
#   5 menu/ play/ (the windows, and what a round holds beside the field)
#   4 lcd/ controls/ (the dot-matrix display, the picture control)
#   3 platform/ (X11, sound, one game at a time, language, pointer, random, centring)
#   2 settings/ assets/ (plain data: the settings and the grown-ups' choices;
#     decoders and picture lists)
#   1 base/ (Error, the handler guard, the error box, conversions)
# Every program file outside tests/, bench/ and tools/ must stand on a floor.
# Usage: layers.sh [source root]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}"
rank() {
  case $1 in
    base/*) echo 1 ;; settings/* | assets/*) echo 2 ;; platform/*) echo 3 ;;
    lcd/* | controls/*) echo 4 ;; menu/* | play/*) echo 5 ;; app/*) echo 6 ;; *) echo 0 ;;
  esac
}
bad=0 edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for f in $(git ls-files '*.cpp' '*.h' ':!tests/' ':!bench/' ':!tools/'); do
  if (($(rank "$f") == 0)); then
    echo "on no floor: $f"
    bad=1
    continue
  fi
  for inc in $(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$f"); do
    [[ -e $inc ]] || continue  # generated (ui_*.h) or not ours
    if (($(rank "$inc") > $(rank "$f"))); then
      echo "upward: $f includes $inc"
      bad=1
    fi
    a=${f%.*} b=${inc%.*}
    [[ $a != "$b" ]] && echo "$a $b" >>"$edges"
  done
done
while read -r a b; do
  if grep -qx "$b $a" "$edges"; then
    echo "each includes the other: $a and $b"
    bad=1
  fi
done < <(sort -u "$edges")
((bad == 0)) && echo "ok: includes run one way"
exit $bad
