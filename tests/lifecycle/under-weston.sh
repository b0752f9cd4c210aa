#!/usr/bin/env bash
# Runs one test program as on a desktop with Wayland and no X11, under a headless weston of its own
# that is stopped by its pid at the end; the program chooses its Qt platform as the game does, and
# fails if xcb says anything on the console. Usage: under-weston.sh PROGRAM [ARGUMENTS...]
set -euo pipefail

if ! command -v weston >/dev/null; then
  echo "SKIP: weston is not installed (Debian: weston, qt6-wayland)"
  exit 77
fi

runtime="$(mktemp -d /tmp/kelo-weston.XXXXXX)"
chmod 0700 "$runtime"
socket=kelo-wayland
XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$runtime" \
  weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
  >"$runtime/weston.log" 2>&1 </dev/null &
weston_pid=$!
stop() {
  kill "$weston_pid" 2>/dev/null || true
  wait "$weston_pid" 2>/dev/null || true
  rm -rf "$runtime"
}
trap stop EXIT

for _ in $(seq 100); do
  [ -S "$runtime/$socket" ] && break
  if ! kill -0 "$weston_pid" 2>/dev/null; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
  fi
  sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "weston made no socket in 10 s" >&2; exit 1; }

status=0
env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" "$@" \
  2>"$runtime/console" || status=$?
cat "$runtime/console" >&2
if grep -i xcb "$runtime/console" >/dev/null; then
  echo "xcb spoke on the console of a desktop without X11" >&2
  status=1
fi
exit "$status"
