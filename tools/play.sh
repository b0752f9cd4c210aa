#!/usr/bin/env bash
# The play command: installs what is missing, builds the game and starts it in play/, the
# git-ignored working folder that holds its sound files and its Kelo.ini.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "play.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); run it from a desktop session." >&2
  exit 1
fi

bash "$root/tools/deps.sh"

build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

play="$root/play"
mkdir -p "$play"
shopt -s nullglob
sounds=("$build"/sounds/Kelo*.wav)
if [ ${#sounds[@]} -gt 0 ]; then
  cp "${sounds[@]}" "$play/"
fi

cd "$play"
exec "$build/window/zandor-chiffres"
