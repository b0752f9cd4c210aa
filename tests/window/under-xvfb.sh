#!/usr/bin/env bash
# Runs one test program on Qt's xcb platform, under an Xvfb of its own on a free display that is
# stopped by its pid at the end. Usage: under-xvfb.sh PROGRAM [ARGUMENTS...]
set -euo pipefail

for tool in Xvfb setxkbmap; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (Debian: xvfb, x11-xkb-utils)"; exit 77; }
done
work="$(mktemp -d /tmp/kelo-xvfb.XXXXXX)"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
# Xvfb writes the display's number and a line break once it listens.
for _ in $(seq 100); do
  grep -q . "$work/display" 2>/dev/null && [ "$(tail -c1 "$work/display" | od -An -c | tr -d ' ')" = '\n' ] && break
  sleep 0.1
done
grep -q . "$work/display" || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
DISPLAY=":$(head -n1 "$work/display")" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb "$@"
