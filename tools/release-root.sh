# Minimal Debian roots for trying the game on another release (sourced by
# tools/check-release and tests/release_package.sh; needs root).
#
# Roots are kept between runs in $ZEPHYRA_ROOTS (default
# ~/.cache/zephyra-roots): <codename> is the bare debootstrap result, never
# changed once made; <codename>-dev adds the build dependencies. A run mounts
# what a root needs and unmounts it again through the caller's EXIT trap,
# which must call release_root_cleanup.

roots_dir=${ZEPHYRA_ROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/zephyra-roots}
mounted_roots=()

# Prints the bare root of release $1, making it first if it does not exist.
# A half-made root is never taken: it is built aside and renamed when done.
base_root() {
  local codename=$1 dir
  dir=$roots_dir/$codename
  mkdir -p "$roots_dir"
  (
    flock 9
    [[ -e $dir/etc/os-release ]] && exit 0
    echo "Making a minimal Debian $codename root in $dir (once; later runs reuse it)" >&2
    rm -rf --one-file-system "$dir.new"
    debootstrap --variant=minbase "$codename" "$dir.new" http://deb.debian.org/debian >&2 ||
      { echo "debootstrap $codename failed" >&2; exit 1; }
    cat >"$dir.new/etc/apt/sources.list" <<EOF
deb http://deb.debian.org/debian $codename main
deb http://deb.debian.org/debian $codename-updates main
deb http://deb.debian.org/debian-security $codename-security main
EOF
    mv "$dir.new" "$dir"
  ) 9>"$roots_dir/$codename.lock" || return 1
  echo "$dir"
}

# Copies root $1 to a new folder beside it and prints that folder: a root to
# change and throw away (remove it with remove_root).
scratch_root() {
  local dir
  dir=$(mktemp -d "$roots_dir/scratch.XXXXXX")
  cp -a "$1/." "$dir/"
  echo "$dir"
}

# Removes a scratch root, but never while anything is mounted inside it:
# removing a bound /dev or X socket folder would remove the host's.
remove_root() {
  [[ -n $1 && -d $1 ]] || return 0
  if findmnt -rn -o TARGET | grep -qF "$1/"; then
    echo "not removing $1: still mounted" >&2
    return 1
  fi
  rm -rf --one-file-system "$1"
}

# Mounts what programs in root $1 expect: /proc, /sys, /dev, and the host's
# X socket folder, so a display started on either side is seen on both and
# two X servers never take one number. DNS comes from the host.
mount_root() {
  local root=$1
  mounted_roots+=("$root")
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount --make-rslave "$root/dev"  # unmounting it later must not reach the host's /dev
  mkdir -p /tmp/.X11-unix "$root/tmp/.X11-unix"
  chmod 1777 /tmp/.X11-unix "$root/tmp"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
}

# Unmounts everything under every root this run mounted; safe to call twice
# and after a mount that failed half-way.
release_root_cleanup() {
  local root m
  for root in "${mounted_roots[@]}"; do
    # Deepest first, so each unmount finds nothing mounted beneath it.
    for m in $(findmnt -rn -o TARGET | grep -F "$root/" | sort -r); do
      umount -l "$m" 2>/dev/null
    done
  done
  mounted_roots=()
}

# Runs a command inside root $1 as root, with a clean environment.
in_root() {
  local root=$1
  shift
  env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    ${DISPLAY:+DISPLAY=$DISPLAY} chroot "$root" "$@"
}
