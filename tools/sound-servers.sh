#!/usr/bin/env bash
# The sound servers the tests and the benchmark start, unpacked from their Debian packages into a
# cache folder rather than installed: installing them enables their user services for every user,
# which would change a contributor's desktop. The one place that knows where they are.
# Usage: sound-servers.sh unpack | root | pulseaudio
set -euo pipefail
root=${XDG_CACHE_HOME:-$HOME/.cache}/zandor-chiffres-tests
case ${1:-} in
unpack)
  for package in wireplumber pulseaudio; do
    [ -x "$root/$package/usr/bin/$package" ] && continue
    folder=$(mktemp -d)
    (cd "$folder" && apt-get download -qq "$package" && mkdir -p "$root" &&
      dpkg-deb -x "$package"_*.deb "$root/$package") || { rm -rf "$folder"; exit 1; }
    rm -rf "$folder"
  done
  ;;
root) echo "$root" ;;
pulseaudio)
  # The command that runs its server, one word a line: with its libpulsecore and its modules,
  # which it would look for where the package puts them.
  modules=$(echo "$root"/pulseaudio/usr/lib/pulse-*/modules)
  [ -d "$modules" ] || exit 1
  printf '%s\n' env "LD_LIBRARY_PATH=$(echo "$root"/pulseaudio/usr/lib/*/pulseaudio):$modules" \
    "$root/pulseaudio/usr/bin/pulseaudio" "--dl-search-path=$modules"
  ;;
*) echo "Usage: $0 unpack | root | pulseaudio" >&2 && exit 2 ;;
esac
