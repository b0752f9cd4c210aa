#!/usr/bin/env bash
# Builds the Debian package with Debian's hardening flags and prints its path; with --install
# also installs it, as root directly or else through sudo.
#
#   tools/package.sh [--install] [BUILD_DIR]      (BUILD_DIR: build-deb)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

install=0
if [ "${1:-}" = --install ]; then
  install=1
  shift
fi
build=${1:-$root/build-deb}

# The flags Debian builds its packages with; bindnow is not among bookworm's defaults.
cd "$root"
export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKELO_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
log=$(cd "$build" && cpack -G DEB 2>&1) || { echo "$log" >&2; exit 1; }
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$log")
[ -f "$deb" ] || { echo "$log" >&2; exit 1; }
echo "$deb"

if [ "$install" = 1 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get install -y "$deb"
fi
