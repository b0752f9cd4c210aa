#!/usr/bin/env bash
# Runs one test program on Qt's xcb platform under an Xvfb of its own, on a free display, stopped
# by its pid at the end. Usage: under-xvfb.sh PROGRAM [ARGUMENTS...]
set -euo pipefail

work="$(mktemp -d /tmp/kelo-xvfb.XXXXXX)"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >"$work/log" 2>&1 </dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
# The display's number comes once Xvfb listens.
for _ in $(seq 100); do grep -q . "$work/display" && break; sleep 0.1; done
grep -q . "$work/display" || { echo "Xvfb did not start:" >&2; cat "$work/log" >&2; exit 1; }
DISPLAY=":$(head -n1 "$work/display")" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb "$@"
