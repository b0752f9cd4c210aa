#!/usr/bin/env bash
# The benchmark: start-up, memory and close of the game beside a bare Qt window on Xvfb, the
# turn's latency through real key events, and the sounds heard from a private PulseAudio server.
# Prints two lines of figures. Usage: tools/bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}

bash tools/deps.sh --test
build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKELO_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

folder=$(mktemp -d)
trap 'kill "$xvfb" "$pulse" 2>/dev/null || true; rm -rf "$folder"' EXIT
cp "$build"/sounds/Kelo*.wav "$folder"/

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# The game plays into a null sink, so its memory counts a live sound stream.
mkdir -m 700 "$folder/pulse"
HOME="$folder/pulse" XDG_RUNTIME_DIR="$folder/pulse" pulseaudio -n --daemonize=no --system=no \
  --exit-idle-time=-1 --disable-shm=yes --load="module-null-sink sink_name=kelo" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$folder/pulse/native" >/dev/null 2>&1 &
pulse=$!
export PULSE_SERVER="unix:$folder/pulse/native"
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.2; done

launch=$(DISPLAY=$display QT_QPA_PLATFORM=xcb "$build"/bench/bench_launch "$runs" \
  "$PWD/$build/window/zandor-chiffres" "$PWD/$build/bench/bench_bare_window" "$folder")
turn=$(cd "$folder" && QT_QPA_PLATFORM=offscreen "$OLDPWD/$build"/bench/bench_turn 10000)
echo "$launch; $turn"
"$build"/bench/bench_sound
