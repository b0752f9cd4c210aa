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
# its user services (pipewire, pipewire-pulse, wireplumber, pulseaudio), and WirePlumber and
# PulseAudio from their packages unpacked into a cache folder (tools/sound-servers.sh), where
# nothing starts them but the tests; only the libraries PulseAudio's server and the modules the
# tests load need are installed.
if [ "${1:-}" = --test ]; then
  packages+=(
    pulseaudio-utils pipewire-bin libwireplumber-0.4-0
    libpulse0 libltdl7 libcap2 libdbus-1-3 libsystemd0 liborc-0.4-0 libsndfile1 libsoxr0
    libspeexdsp1 libtdb1 libwrap0 libx11-xcb1
    dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
    orca speech-dispatcher speech-dispatcher-espeak-ng openbox
    xvfb xauth weston x11-xkb-utils xdotool python3-xlib
    clang clang-tidy libclang-rt-14-dev
    libxcb-xtest0-dev strace
    desktop-file-utils appstream lintian autopkgtest man-db file procps
    debootstrap
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  [ "${1:-}" != --test ] || bash "$(dirname "$0")/sound-servers.sh" unpack
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
[ "${1:-}" != --test ] || bash "$(dirname "$0")/sound-servers.sh" unpack
