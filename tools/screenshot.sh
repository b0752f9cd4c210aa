#!/usr/bin/env bash
# Plays a few guesses of a four-digit game under Xvfb and saves the window as docs/screenshot.png;
# run it again whenever the look of the window changes.
#
#   tools/screenshot.sh [BUILD_DIR]     (default: build; built, with the sounds)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
out=docs/screenshot.png
guesses=(1234 5678 9012 3456 7890)
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing (Debian packages xvfb, xdotool, imagemagick)" >&2; exit 1; }
done
[ -f "$build/CMakeCache.txt" ] || { echo "screenshot.sh: $build is not a build folder" >&2; exit 2; }

work=$(mktemp -d /tmp/kelo-screenshot.XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The game as installed, with its launcher, so the window looks as a player sees it.
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
folder="$work/data/zandor-chiffres"
mkdir -p "$folder" "$work/runtime"
chmod 700 "$work/runtime"
# Window at 100,80 px and a four-digit game, through the settings file.
printf '1500,1200,4\r\n' >"$folder/Kelo.ini"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY

XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
  "$work/root/usr/games/zandor-chiffres" >"$work/game.log" 2>&1 &
game_pid=$!
window=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name "Zandor Chiffres" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "screenshot.sh: the window did not appear" >&2
  cat "$work/game.log" >&2
  exit 1
fi

xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
for guess in "${guesses[@]}"; do
  xdotool type --delay 60 "$guess"
  xdotool key Return
  sleep 0.4
done
sleep 0.5

mkdir -p "$(dirname "$out")"
# No time stamps in the file, so an unchanged window gives an unchanged file.
import -window "$window" -strip -define png:exclude-chunks=date,time "$out"
echo "screenshot.sh: wrote $out ($(identify -format '%wx%h' "$out"))"
