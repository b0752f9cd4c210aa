#!/usr/bin/env bash
# Installs the Debian 12 packages the game needs to build and run, and with --test those its
# tests need too, when any is missing.
set -euo pipefail

# What building, packaging and playing need: dpkg-buildpackage builds only where build-essential
# (g++, make, dpkg-dev) is installed, and tools/package.sh copies the source with git.
packages=(
  cmake build-essential pkg-config debhelper git
  qt6-base-dev libgl-dev libxcb1-dev libsdl2-dev libasound2-dev qt6-wayland
  fonts-dejavu-core fonts-liberation2
)
# What only the tests and the benchmark need: sound servers, a screen reader, X and Wayland
# servers, sanitizers and linters. A player's desktop keeps its own sound server untouched: the
# tests run PipeWire's binary on a configuration of their own, without the packages that enable
# its user services (pipewire, pipewire-pulse, wireplumber), and WirePlumber from its package
# unpacked into a cache folder, where nothing starts it but the tests.
if [ "${1:-}" = --test ]; then
  packages+=(
    pulseaudio pulseaudio-utils pipewire-bin libwireplumber-0.4-0
    dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
    orca speech-dispatcher speech-dispatcher-espeak-ng openbox
    xvfb xauth weston x11-xkb-utils xdotool python3-xlib
    clang clang-tidy libclang-rt-14-dev
    libxcb-xtest0-dev strace
    desktop-file-utils appstream lintian autopkgtest man-db file procps
    debootstrap
  )
fi

unpack_wireplumber() {
  local cache=${XDG_CACHE_HOME:-$HOME/.cache}/zandor-chiffres-tests
  [ "${1:-}" = --test ] && [ ! -x "$cache/wireplumber/usr/bin/wireplumber" ] || return 0
  local folder
  folder=$(mktemp -d)
  (cd "$folder" && apt-get download -qq wireplumber && mkdir -p "$cache" &&
    dpkg-deb -x wireplumber_*.deb "$cache/wireplumber")
  rm -rf "$folder"
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  unpack_wireplumber "${1:-}"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
unpack_wireplumber "${1:-}"
