# Building for another Debian architecture on this machine (sourced by
# tools/make-package and tools/check-arch; needs root). The build runs in a
# root of the release, <codename>-cross-<arch> beside the others of
# tools/release-root.sh: this machine's own architecture with Debian's cross
# compiler and the other architecture's libraries, so nothing is emulated and
# nothing of this machine's system changes. This source tree is bound into the
# root at its own path, and builds run as the user who called sudo, so build
# folders in the tree belong to that user. The caller's EXIT trap must call
# release_root_cleanup.

. "$(dirname "${BASH_SOURCE[0]}")/release-root.sh"

# Makes (once) root $1 from the bare root of release $2 and architecture $3,
# brings it up to date with tools/install-deps and the further arguments (only
# what a change to the lists added), mounts it and binds this tree into it.
# Holds the root's lock on descriptor 8 until the caller exits or closes it,
# so two runs never share a root.
open_root() {
  local dir=$1 codename=$2 arch=$3 base
  shift 3
  mkdir -p "$roots_dir"
  exec 8>"$dir.lock"
  flock -n 8 || { echo "Waiting for another run in $dir" >&2; flock 8; }
  if [[ ! -e $dir/etc/os-release ]]; then
    base=$(base_root "$codename" "$arch") || return 1
    rm -rf --one-file-system "$dir.new"
    cp -a "$base" "$dir.new"
    mv "$dir.new" "$dir"
  fi
  mount_root "$dir"
  cp tools/install-deps "$dir/tmp/install-deps"
  in_root "$dir" bash /tmp/install-deps "$@" >&2 8>&- || return 1
  bind_tree "$dir"
}

# Opens the root that builds release $1 for Debian architecture $2.
open_cross_root() {
  cross_arch=$2
  cross_root=$roots_dir/$1-cross-$2
  open_root "$cross_root" "$1" "$host_arch" --cross "$cross_arch"
}

# Binds this source tree into root $1 at the same path, so a build folder's
# paths are the same inside and out.
bind_tree() {
  mkdir -p "$1$PWD"
  mount --bind "$PWD" "$1$PWD"
}

# Runs a command in this tree inside the cross root, as the user who asked.
in_cross_root() {
  root_userspec=${SUDO_UID:-0}:${SUDO_GID:-0} in_root "$cross_root" \
    env HOME=/tmp DEB_HOST_ARCH="$cross_arch" bash -c 'cd "$0" && exec "$@"' "$PWD" "$@" 8>&-
}

# Configures build folder $1 for the cross root's architecture: Debian's cross
# compiler and pkg-config, that architecture's Qt, and this machine's Qt
# tools (moc, uic, rcc, lrelease), found through Qt6HostInfo. CPack names
# the package for that architecture. Further arguments go to cmake.
cross_configure() {
  # shellcheck disable=SC2016  # expanded inside the root
  in_cross_root bash -c '
    eval "$(dpkg-architecture -a "$0" -s 2>/dev/null)"
    build=$1
    shift
    exec cmake -S . -B "$build" -G Ninja \
      -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR="$DEB_HOST_GNU_CPU" \
      -DCMAKE_CXX_COMPILER="$DEB_HOST_GNU_TYPE-g++" \
      -DPKG_CONFIG_EXECUTABLE="/usr/bin/$DEB_HOST_GNU_TYPE-pkg-config" \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$DEB_BUILD_MULTIARCH/cmake" \
      -DQt6HostInfo_DIR="/usr/lib/$DEB_BUILD_MULTIARCH/cmake/Qt6HostInfo" \
      -DCPACK_DEBIAN_PACKAGE_ARCHITECTURE="$DEB_HOST_ARCH" "$@"' "$cross_arch" "$@"
}
