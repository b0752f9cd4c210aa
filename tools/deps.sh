#!/usr/bin/env bash
# Installs the Debian 12 packages the game needs to build, run and test, when any is missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev libgl-dev libsdl2-dev libasound2-dev pulseaudio pulseaudio-utils
  pipewire wireplumber pipewire-pulse
  fonts-dejavu-core fonts-liberation2
  dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
  orca speech-dispatcher speech-dispatcher-espeak-ng openbox
  xvfb xauth
  clang clang-tidy libclang-rt-14-dev
  libxcb1-dev libxcb-xtest0-dev
  dpkg-dev desktop-file-utils appstream lintian man-db file xdotool python3-xlib procps
  debhelper autopkgtest
  weston qt6-wayland
  x11-xkb-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
