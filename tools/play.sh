#!/usr/bin/env bash
# The play command: installs what is missing, builds the game and starts it in play/, the
# git-ignored working folder that holds its sound files and its Kelo.ini.
#
#   tools/play.sh [--dry-run]    --dry-run: build and fill play/, but do not start the game
# KELO_BUILD_DIR and KELO_PLAY_DIR name other build and play folders (build/ and play/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

dry_run=0
if [ "${1:-}" = --dry-run ]; then
  dry_run=1
fi
if [ "$dry_run" = 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "play.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); run it from a desktop session." >&2
  exit 1
fi

bash "$root/tools/deps.sh"

build=${KELO_BUILD_DIR:-$root/build}
# A build folder made before keeps the options it was made with.
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

# The player's own sounds stay: only the missing ones are added.
play=${KELO_PLAY_DIR:-$root/play}
mkdir -p "$play"
for sound in "$build"/sounds/Kelo*.wav; do
  target="$play/$(basename "$sound")"
  if [ -f "$sound" ] && [ ! -e "$target" ] && [ ! -L "$target" ]; then
    cp "$sound" "$play/"
  fi
done

[ "$dry_run" = 0 ] || exit 0
cd "$play"
exec "$build/window/zandor-chiffres"
