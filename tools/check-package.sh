#!/usr/bin/env bash
# The package gate: builds the source and binary packages with tools/package.sh and lints them;
# builds the binary package again in another folder with another umask, locale and time zone,
# a few minutes later, and compares the two .deb files byte for byte; then, as root, installs the
# package and runs debian/tests with autopkgtest (the package is removed again afterwards unless
# it was installed before).
#
#   tools/check-package.sh [BUILD_DIR]     (BUILD_DIR: build-package)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build-package}" && cd "${1:-$root/build-package}" && pwd)
source "$root/tools/check-lib.sh"
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)

echo "== source and binary packages"
deb=$(umask 022 && LC_ALL=C.UTF-8 TZ=UTC bash "$root/tools/package.sh" "$build/first" -F)
echo "  built $deb"
lintian --pedantic -I --tag-display-limit 0 --fail-on error,warning \
  "$build/first/${game}_${version}_amd64.changes" >"$work/lintian.log" 2>&1 && status=0 || status=$?
grep -v '^running with root privileges' "$work/lintian.log" | sed 's/^/    /' || true
check "lintian --pedantic finds no error or warning" test "$status" = 0
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libsdl2-2.0-0 qt6-qpa-plugins fonts-liberation2 fonts-dejavu-core; do
  check "the package depends on $dep" grep -q "\\b$dep\\b" <<<"$depends"
done

echo "== the same package built again elsewhere"
again=$(umask 007 && LC_ALL=C TZ=Pacific/Kiritimati bash "$root/tools/package.sh" "$build/second-build")
sha256sum "$deb" "$again" | sed 's/^/  /'
check "the two builds' .deb files are byte-identical" cmp "$deb" "$again"

echo "== autopkgtest of the installed package"
if [ "$(id -u)" -ne 0 ]; then
  echo "  not root: the package is not installed, so autopkgtest is not run"
else
  if ! dpkg-query -W -f='${Status}' "$game" 2>/dev/null | grep -q "install ok installed"; then
    on_exit+=("apt-get purge -y -qq -o DPkg::Lock::Timeout=300 $game >/dev/null")
  fi
  autopkgtest "$build/first/${game}_$version.dsc" "$deb" -- null >"$work/autopkgtest.log" 2>&1 &&
    status=0 || status=$?
  sed -n '/  ok: \|  FAILED: /p; /@@@ summary/,/^autopkgtest \[/{/ \(PASS\|FAIL\|SKIP\)/p}' \
    "$work/autopkgtest.log" | sed 's/^/  /'
  check "autopkgtest passes (exit status $status)" test "$status" = 0
  [ "$status" = 0 ] || tail -n 30 "$work/autopkgtest.log"
fi
summary check-package
