#!/usr/bin/env bash
# Frame pacing on a slow computer: the play field and the bare reference
# (bench/pacing_reference) each held to 5, 10 and 20 % of one core of this
# machine by a CPU quota (20 ms period), at 1920 x 1080 and 1280 x 720, as
# the X server sees them (build/pacing, with the pieces of bench/pacing.sh).
# The quota holds the measured program alone, from when its window runs (its
# start-up is not measured); Xvfb, the pointer mover and the measuring program
# run free. The cases go in turn, ROUNDS (2) times. Goal: at every quota the
# field at least as steady as the reference (p99 and intervals over 75 ms no
# worse in the worst round).
#
# Given an arm64 package, also the CPU of bench/play-cpu.sh (30 s of play at
# 1920 x 1080) of that package installed in a fresh Debian arm64 root and run
# emulated by qemu-user-static, beside the amd64 game's: a rough figure of its
# cost on an arm64 computer. Emulation overstates it many times over (every
# instruction translated, no native vector code), so it bounds the cost from
# above, it does not predict a board.
#
# Needs root: a cgroup with a CPU quota, cgroup v2's cpu controller
# (cpu.max) or cgroup v1's (cpu.cfs_quota_us), whichever the kernel offers;
# and the arm64 root (tools/release-root.sh).
# Usage: [ROUNDS=2] [SECONDS_TO_RUN=15] [QUOTAS="5 10 20"] [SCREENS="1920x1080 1280x720" or empty]
#        bench/slow-machine.sh <path-to-zephyra> [<arm64 .deb> [codename, default bookworm]]
set -uo pipefail

game=$(realpath "${1:?path to the zephyra executable}")
arm64_deb=${2:+$(realpath "$2")}
codename=${3:-bookworm}
tools=$(dirname "$game")
[[ -x $tools/pacing ]] || tools=$(dirname "$0")/../build  # a release build has no pacing tools
tools=$(realpath "$tools")
rounds=${ROUNDS:-2}
duration=${SECONDS_TO_RUN:-15}
here=$(dirname "$(realpath "$0")")
. "$here/pacing-lib.sh"
[[ $(id -u) -eq 0 ]] || fail "needs root for a cgroup with a CPU quota"

# The cgroup the measured program is moved into; its quota is $1 % of one core.
cgroup=
set_quota() {
  local period=20000 quota
  quota=$((period * $1 / 100))
  if grep -qw cpu /sys/fs/cgroup/cgroup.controllers 2>/dev/null; then
    cgroup=/sys/fs/cgroup/zephyra-slow.$$
    grep -qw cpu /sys/fs/cgroup/cgroup.subtree_control || echo +cpu >/sys/fs/cgroup/cgroup.subtree_control
    mkdir -p "$cgroup" && echo "$quota $period" >"$cgroup/cpu.max"
  elif [[ -f /sys/fs/cgroup/cpu/cpu.cfs_quota_us ]]; then
    cgroup=/sys/fs/cgroup/cpu/zephyra-slow.$$
    mkdir -p "$cgroup" && echo "$period" >"$cgroup/cpu.cfs_period_us" && echo "$quota" >"$cgroup/cpu.cfs_quota_us"
  else
    false
  fi || fail "no cgroup CPU controller to set a quota in (cgroup v2 cpu or cgroup v1 cpu)"
}
on_exit '[[ -n $cgroup ]] && rmdir "$cgroup" 2>/dev/null'

declare -A results
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
screens=${SCREENS-1920x1080 1280x720}  # SCREENS= leaves the pacing out
quotas=${QUOTAS:-5 10 20}
for screen in $screens; do
  start_display "${screen}x24" || fail "Xvfb did not start"
  for ((round = 1; round <= rounds; ++round)); do
    for quota in $quotas; do
      set_quota "$quota"
      for kind in game reference; do
        line=$(pacing_run "$kind" 'echo "$app_pid" >"$cgroup/cgroup.procs"; sleep 2') || exit 1
        echo "$screen, round $round, $quota %, $kind: $line"
        results[$screen $quota $kind]+="$line"$'\n'
      done
    done
  done
  stop_display
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

# The worst round's value of a column.
worst() { printf '%s' "$1" | sed -n "s/.* $2=\([0-9.]*\).*/\1/p" | sort -g | tail -n1; }
[[ -n $screens ]] && echo && echo "| screen | CPU quota | ZEPHYRA fps | p99 ms | over 75 ms | reference fps | p99 ms | over 75 ms | field as steady |"
[[ -n $screens ]] && echo "|---|---|---|---|---|---|---|---|---|"
for screen in $screens; do
  for quota in $quotas; do
    g=${results[$screen $quota game]} r=${results[$screen $quota reference]}
    steady=no
    awk -v gp="$(worst "$g" p99)" -v rp="$(worst "$r" p99)" -v go="$(worst "$g" over75)" -v ro="$(worst "$r" over75)" \
      'BEGIN { exit !(gp <= rp && go <= ro) }' && steady=yes
    echo "| ${screen/x/ x } | $quota % |$(cells "$g" fps p99 over75)$(cells "$r" fps p99 over75) $steady |"
  done
done

[[ -n $arm64_deb ]] || exit 0
echo
. "$here/../tools/release-root.sh"
root=
on_exit 'release_root_cleanup; remove_root "$root"'
package_root "$arm64_deb" "$codename" || fail "$(basename "$arm64_deb") not installed"
echo "amd64, $(basename "$game") natively: $(bash "$here/play-cpu.sh" "$game" | tail -n1 | sed "s/ (goal.*//")"
echo "arm64, $(basename "$arm64_deb") emulated: $(GAME_WRAPPER="/usr/sbin/chroot $root" bash "$here/play-cpu.sh" /usr/bin/zephyra | tail -n1 | sed "s/ (goal.*//")"
