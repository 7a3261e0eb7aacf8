# Minimal Debian roots for trying the game on another release (sourced by
# tools/check-release and tests/release_package.sh; needs root).
#
# Roots are kept between runs in $ZEPHYRA_ROOTS (default
# ~/.cache/zephyra-roots): <codename> is the bare debootstrap result, never
# changed once made; <codename>-dev adds the build dependencies. A root of
# another architecture than this machine's carries it in its name
# (bookworm-arm64); its programs run emulated by qemu-user-static, at the
# lowest priority. A run mounts what a root needs and unmounts it again
# through the caller's EXIT trap, which must call release_root_cleanup.

roots_dir=${ZEPHYRA_ROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/zephyra-roots}
mounted_roots=()
host_arch=$(dpkg --print-architecture)

# The name of the root of release $1 for Debian architecture $2.
root_name() {
  [[ ${2:-$host_arch} == "$host_arch" ]] && echo "$1" || echo "$1-$2"
}

# Lets this machine run programs of Debian architecture $1 (qemu-user-static
# registered with binfmt_misc, whose "F" flag makes the emulator work inside a
# root too); mounts binfmt_misc if the system has not.
enable_emulation() {
  local arch=$1 cpu
  [[ $arch == "$host_arch" ]] && return 0
  case $arch in  # qemu's names
    arm64) cpu=aarch64 ;;
    armhf | armel) cpu=arm ;;
    ppc64el) cpu=ppc64le ;;
    *) cpu=$arch ;;
  esac
  [[ -e /proc/sys/fs/binfmt_misc/status ]] ||
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null
  update-binfmts --enable "qemu-$cpu" >/dev/null 2>&1
  grep -qx enabled "/proc/sys/fs/binfmt_misc/qemu-$cpu" 2>/dev/null || {
    echo "this machine cannot run $arch programs: qemu-user-static and binfmt-support" \
      "(tools/install-deps $arch) and a binfmt_misc the kernel offers are needed" >&2
    return 1
  }
}

# Succeeds when root $1 holds programs of another architecture than this
# machine's (ELF e_machine of its shell).
foreign_root() {
  [[ $(od -An -j18 -N2 -tx2 "$1/bin/bash") != "$(od -An -j18 -N2 -tx2 /bin/bash)" ]]
}

# Prints the bare root of release $1 for architecture $2 (default this
# machine's), making it first if it does not exist. A half-made root is never
# taken: it is built aside and renamed when done.
base_root() {
  local codename=$1 arch=${2:-$host_arch} dir
  dir=$roots_dir/$(root_name "$codename" "$arch")
  mkdir -p "$roots_dir"
  enable_emulation "$arch" || return 1
  (
    flock 9
    [[ -e $dir/etc/os-release ]] && exit 0
    echo "Making a minimal Debian $codename $arch root in $dir (once; later runs reuse it)" >&2
    rm -rf --one-file-system "$dir.new"
    # Its second stage runs the new root's programs: emulated for another
    # architecture, so at the lowest priority beside the machine's own work.
    nice -n 19 debootstrap --arch="$arch" --variant=minbase "$codename" "$dir.new" \
      http://deb.debian.org/debian >&2 ||
      { echo "debootstrap $codename $arch failed" >&2; exit 1; }
    cat >"$dir.new/etc/apt/sources.list" <<EOF
deb http://deb.debian.org/debian $codename main
deb http://deb.debian.org/debian $codename-updates main
deb http://deb.debian.org/debian-security $codename-security main
EOF
    mv "$dir.new" "$dir"
  ) 9>"$dir.lock" || return 1
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

# Makes $root a fresh scratch root of release $2 in the architecture of
# package $1, mounts it and installs there with apt any further packages
# named, then the package with the recommends it brings by default, and
# nothing else. Downloaded packages stay beside the roots, so a second run
# fetches only what changed. The caller's cleanup calls release_root_cleanup,
# then remove_root "$root".
package_root() {
  local deb=$1 codename=$2 arch base archives log
  shift 2
  arch=$(dpkg-deb -f "$deb" Architecture) || return 1
  base=$(base_root "$codename" "$arch") || return 1
  root=$(scratch_root "$base") || return 1
  mount_root "$root"
  archives=$roots_dir/$(root_name "$codename" "$arch")-archives
  mkdir -p "$archives/partial"
  mount --bind "$archives" "$root/var/cache/apt/archives"
  cp "$deb" "$root/tmp/"
  log=$(mktemp)
  if ! { in_root "$root" apt-get -q update &&
         { (($# == 0)) || in_root "$root" env DEBIAN_FRONTEND=noninteractive apt-get -q install -y "$@"; } &&
         in_root "$root" env DEBIAN_FRONTEND=noninteractive \
           apt-get -q install -y "/tmp/$(basename "$deb")"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "apt did not install $(basename "$deb") in Debian $codename $arch" >&2
    return 1
  fi
  rm -f "$log"
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

# Runs a command inside root $1 as root (or as $root_userspec, UID:GID), with
# a clean environment; emulated at the lowest priority when the root is of
# another architecture.
in_root() {
  local root=$1 nice=()
  shift
  foreign_root "$root" && nice=(nice -n 19)
  "${nice[@]}" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    ${DISPLAY:+DISPLAY=$DISPLAY} chroot ${root_userspec:+--userspec="$root_userspec"} "$root" "$@"
}
