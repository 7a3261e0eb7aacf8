#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
#   ./test.sh            the suite, a short soak, the flash rule, fuzz smoke
#                        runs, the heard sound and the hostile-desktop
#                        matrix (a few minutes)
#   ./test.sh --asan     the whole suite again built with the sanitizer preset
#   ./test.sh --full     all of the above plus the long variants: a soak of
#                        1,000,000 ticks a mode, the flash rule over 300 s
#                        of play a scenario, every fuzz target for
#                        $ZEPHYRA_FUZZ_SECONDS (default 120) s, valgrind over a
#                        played round, 20 s of play on every hostile desktop,
#                        and the package built here installed with apt and
#                        played in a minimal Debian 13 root, and the arm64
#                        package likewise in an emulated Debian 12 arm64 root
#                        with the test programs run there (needs sudo)
# Further arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
mode=quick
case ${1:-} in
  --full) mode=full; shift ;;
  --asan) mode=asan; shift ;;
esac
tools/install-deps
cmake --preset dev >/dev/null
cmake --build --preset dev

# The end-to-end checks need a real X server; start our own so the suite
# runs the same on a headless machine as on a desktop.
. tools/harness.sh
start_display 1280x1024x24
# Every process the suite starts carries this mark (or, started with an
# environment of its own, the suite's display), so one left behind is found.
ZEPHYRA_SUITE_RUN="$$.$SRANDOM"
export ZEPHYRA_SUITE_RUN

# Names and ends what the suite left running, waiting up to 5 s for what is
# still on its way out; false when something was left.
end_leftovers() {
  local proc entry left
  for _ in $(seq 50); do
    left=()
    for proc in /proc/[0-9]*; do
      [[ ${proc#/proc/} == "$$" ]] && continue
      mapfile -d '' entries 2>/dev/null <"$proc/environ" || continue
      for entry in "${entries[@]}"; do
        if [[ $entry == "ZEPHYRA_SUITE_RUN=$ZEPHYRA_SUITE_RUN" || $entry == "DISPLAY=$DISPLAY" ]]; then
          left+=("${proc#/proc/}")
          break
        fi
      done
    done
    (( ${#left[@]} )) || return 0
    sleep 0.1
  done
  for proc in "${left[@]}"; do
    echo "left running by the suite: $proc $(tr '\0' ' ' <"/proc/$proc/cmdline" 2>/dev/null)" >&2
    kill "$proc" 2>/dev/null
  done
  return 1
}
on_exit 'end_leftovers || true'

run_asan() {
  cmake --preset asan >/dev/null
  cmake --build --preset asan
  ctest --preset asan "$@"
}

if [[ $mode == asan ]]; then
  run_asan "$@"
  end_leftovers
  exit 0
fi

ctest --preset dev "$@"

fuzz_seconds=3
[[ $mode == full ]] && fuzz_seconds=${ZEPHYRA_FUZZ_SECONDS:-120}
cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DZEPHYRA_FUZZ_SECONDS="$fuzz_seconds" >/dev/null
cmake --build build-fuzz -j2
ctest --test-dir build-fuzz --output-on-failure

if [[ $mode == full ]]; then
  build/soak_play 1000000
  QT_QPA_PLATFORM=offscreen build/flashes --seconds 300
  ZEPHYRA_FULL=1 bash tests/e2e_desktops.sh build/zephyra
  bash tests/valgrind_round.sh build/zephyra
  run_asan
  deb=$(tools/make-package | tail -n1)
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" bash tests/release_package.sh "$deb" trixie
  "${sudo_cmd[@]}" tools/check-release bookworm-arm64
fi
end_leftovers
