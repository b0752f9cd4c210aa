#!/usr/bin/env bash
# The benchmark: start-up, memory and close of the game beside a bare Qt window on Xvfb, the
# turn's latency through real key events, the cost of the game and the bare window while idle
# (after a click on "3" for the game) and the sound server's, and the sounds heard from a private
# PulseAudio server. Prints three lines of figures. Usage: tools/bench.sh [RUNS]
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
mapfile -t pulseaudio < <(bash tools/sound-servers.sh pulseaudio)
HOME="$folder/pulse" XDG_RUNTIME_DIR="$folder/pulse" "${pulseaudio[@]}" -n \
  --daemonize=no --system=no --exit-idle-time=-1 --disable-shm=yes \
  --load="module-null-sink sink_name=kelo" \
  --load="module-suspend-on-idle timeout=1" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$folder/pulse/native" >/dev/null 2>&1 &
pulse=$!
export PULSE_SERVER="unix:$folder/pulse/native"
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.2; done

launch=$(DISPLAY=$display QT_QPA_PLATFORM=xcb "$build"/bench/bench_launch "$runs" \
  "$PWD/$build/window/zandor-chiffres" "$PWD/$build/bench/bench_bare_window" "$folder")
turn=$(cd "$folder" && QT_QPA_PLATFORM=offscreen "$OLDPWD/$build"/bench/bench_turn 10000)
echo "$launch; $turn"

# CPU ms (utime + stime) and context switches of all threads of a process.
cpu() { awk '{print ($14 + $15) * 1000 / '"$(getconf CLK_TCK)"'}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'; }
# idle NAME PROGRAM TITLE X Y: 30 s of a program left alone, from 5 s after a click at X,Y in its
# window: on the game's "3" (a new game, with the press and release sounds, and the entry box's
# blinking caret), on the bare window's line edit (its caret blinks too).
idle() {
  (cd "$folder" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec "$2") >/dev/null 2>&1 &
  local pid=$! window c0 s0 p0
  sleep 3
  window=$(DISPLAY=$display xdotool search --name "$3" | head -1)
  DISPLAY=$display xdotool mousemove --window "$window" "$4" "$5" click 1
  sleep 5
  c0=$(cpu "$pid") s0=$(switches "$pid") p0=$(cpu "$pulse")
  sleep 30
  awk -v name="$1" -v c="$(cpu "$pid") - $c0" -v s="$(switches "$pid") - $s0" \
    -v p="$(cpu "$pulse") - $p0" -v sink="$(pactl list short sinks | awk '{print $NF}')" \
    'BEGIN {split(c, C, " - "); split(s, S, " - "); split(p, P, " - ")
      printf "%s %.0f ms CPU, %.1f wake-ups/s, server %.0f ms, sink %s", name, C[1] - C[2],
        (S[1] - S[2]) / 30, P[1] - P[2], sink}'
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}
echo "idle 30 s: $(idle game "$PWD/$build/window/zandor-chiffres" "Zandor Chiffres" 228 44);" \
  "$(idle bare "$PWD/$build/bench/bench_bare_window" bench_bare_window 70 65)"
"$build"/bench/bench_sound
"$build"/bench/bench_sound pipewire pulseaudio
"$build"/bench/bench_sound pipewire pipewire
