#!/usr/bin/env bash
# The fresh-machine gate: on a freshly bootstrapped minimal Debian 12, in a clone of the last
# commit, runs the README's set-up commands as root as a new user would (tools/deps.sh, then
# tools/package.sh --install: the .deb must come out and install; then tools/play.sh --dry-run)
# and fails with the first failing command's own error. The base tree (bootstrapped once from the
# mirror apt uses here) and the downloaded .debs are cached in ~/.cache/zandor-chiffres/; each run
# unpacks a fresh copy into a temporary folder and removes it. Everything runs in a mount and PID
# namespace of its own, so its mounts and processes end with it, within a bounded time.
#
#   tools/check-fresh.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${XDG_CACHE_HOME:-~/.cache}/zandor-chiffres
base=$cache/debian-12-minbase.tar
if [ "$(id -u)" -ne 0 ]; then
  echo "  not root: no Debian can be bootstrapped, so the fresh machine is not tried"
  exit 0
fi

work=$(mktemp -d /tmp/kelo-fresh.XXXXXX)
cleanup() {  # the namespace's mounts are gone with it; never delete through one that is not
  if grep -q " $work/" /proc/self/mountinfo; then echo "check-fresh.sh: $work is still mounted" >&2; exit 1; fi
  rm -rf "$work"
}
trap cleanup EXIT
isolated() { timeout --kill-after=10 "$1" unshare --mount --pid --fork --kill-child "${@:2}"; }
mkdir -p "$cache/debs/partial"
exec 9>>"$cache/lock" && flock 9  # one run at a time uses the cache

if [ ! -f "$base" ]; then
  mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Release: bookworm' 'Created-By: Packages' | head -n 1)
  echo "  bootstrapping Debian 12 (minbase) from $mirror"
  isolated 900 debootstrap --variant=minbase bookworm "$work/base" "$mirror" >"$work/log" 2>&1 ||
    { tail -n 20 "$work/log" >&2; exit 1; }
  tar -C "$work/base" -cf "$base.$$" . && mv "$base.$$" "$base"
  rm -rf "$work/base"
  echo "  ok: bootstrapped and cached in $base ($SECONDS s)"
fi
mkdir "$work/root"
tar -C "$work/root" -xf "$base"
cp /etc/resolv.conf "$work/root/etc/resolv.conf"
# The copy is thrown away, so dpkg need not sync each file, as in Debian's container images.
echo force-unsafe-io >"$work/root/etc/dpkg/dpkg.cfg.d/unsafe-io"
git clone -q --no-hardlinks "$root" "$work/root/root/zandor-chiffres"

isolated 1200 bash -euo pipefail -c '
  cd "$1"
  mount -t proc proc proc
  mount --bind "$2" var/cache/apt/archives
  for step in "${@:3}"; do
    start=$SECONDS
    chroot . /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      bash -c "cd /root/zandor-chiffres && $step" </dev/null >log 2>&1 ||
      { tail -n 40 log >&2; echo "check-fresh.sh: \"$step\" failed on a fresh Debian 12" >&2; exit 1; }
    echo "  ok: $step ($((SECONDS - start)) s)"
  done' sh "$work/root" "$cache/debs" \
  "bash tools/deps.sh" "bash tools/package.sh --install" "bash tools/play.sh --dry-run"
