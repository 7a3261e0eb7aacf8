#!/usr/bin/env bash
# Every path the README names exists: each word with a slash that begins with
# one of the tree's own top-level names (app/main.cpp, play/UnitPlay.*,
# tests/, ./test.sh) must match a file or folder. In a word LANG stands
# for any language and * for any ending; build folders, installed and
# absolute paths are not the tree's and are not looked at.
# Usage: readme_paths.sh [source root]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}"
mapfile -t tops < <(git ls-files | cut -d/ -f1 | sort -u)
bad=0 seen=0
while read -r word; do
  word=${word%.}  # a sentence's full stop
  word=${word#./}  # ./test.sh
  [[ " ${tops[*]} " == *" ${word%%/*} "* ]] || continue
  ((++seen))
  pattern=${word//LANG/*}
  if [[ $pattern == *"*"* ]]; then compgen -G "$pattern" >/dev/null; else [[ -e $pattern ]]; fi ||
    { echo "the README names $word, which the tree does not have"; bad=1; }
done < <(grep -oE '[A-Za-z0-9_.*@+-]+/[A-Za-z0-9_.*@+/-]*' README.md | sort -u)
((bad == 0)) && echo "ok: the $seen paths the README names exist"
exit $bad
