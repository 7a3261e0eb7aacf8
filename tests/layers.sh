#!/usr/bin/env bash
# Includes run one way: from the program's top down to the assets, never up,
# and no two units (a .h with its .cpp) include each other.
#   5 app/ (main, the window builder, the start-up check)
#   4 menu/ play/ (the windows)
#   3 lcd/ app/services/ (the display; settings, picture control, sound, X11)
#   2 assets/ (decoders, picture lists)
#   1 app/base/ (Error, the handler guard, the error box)
# Usage: layers.sh [source root]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}"
rank() {
  case $1 in
    app/base/*) echo 1 ;; assets/*) echo 2 ;; lcd/* | app/services/*) echo 3 ;;
    menu/* | play/*) echo 4 ;; app/*) echo 5 ;; *) echo 0 ;;
  esac
}
bad=0 edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for f in $(git ls-files 'app/*' 'menu/*' 'play/*' 'lcd/*' 'assets/*' | grep -E '\.(cpp|h)$'); do
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
