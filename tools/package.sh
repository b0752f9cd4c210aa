#!/usr/bin/env bash
# Builds the Debian package from debian/ with dpkg-buildpackage, in a copy of the source tree (its
# files known to git, changed or not) inside BUILD_DIR, and prints the .deb's path; with --install
# also installs it, as root directly or else through sudo. Further arguments go to
# dpkg-buildpackage in place of -b (binary only).
#
#   tools/package.sh [--install] [BUILD_DIR [DPKG_BUILDPACKAGE_OPTION...]]   (BUILD_DIR: build-deb)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

install=0
if [ "${1:-}" = --install ]; then
  install=1
  shift
fi
build=$(mkdir -p "${1:-$root/build-deb}" && cd "${1:-$root/build-deb}" && pwd)
[ $# -eq 0 ] || shift
options=("$@")
[ $# -gt 0 ] || options=(-b)

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
source="$build/zandor-chiffres-$version"
rm -rf "$source" "$build"/zandor-chiffres_*
mkdir -p "$source"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 sh -c 'for f; do [ ! -e "$f" ] || printf "%s\0" "$f"; done' sh |
  tar --null -T - -cf -) | tar -xf - -C "$source"
(cd "$source" && dpkg-buildpackage "${options[@]}" -us -uc -J"$(nproc)") >"$build/build.log" 2>&1 ||
  { tail -n 40 "$build/build.log" >&2; echo "package.sh: the build failed; see $build/build.log" >&2; exit 1; }
deb=$(ls "$build"/zandor-chiffres_"$version"_*.deb)
echo "$deb"

if [ "$install" = 1 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get install -y "$deb"
fi
