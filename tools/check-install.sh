#!/usr/bin/env bash
# Checks what `cmake --install` puts in place and, as root, builds the Debian package, lints it,
# installs it, starts the installed game under Xvfb, plays, closes, starts again and removes it.
#
#   tools/check-install.sh [--tree-only] BUILD_DIR     (BUILD_DIR already built)
set -euo pipefail

tree_only=0
if [ "${1:-}" = "--tree-only" ]; then
  tree_only=1
  shift
fi
if [ $# -ne 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
  echo "usage: $0 [--tree-only] BUILD_DIR  (a configured and built build folder)" >&2
  exit 2
fi
build=$(cd "$1" && pwd)

game=zandor-chiffres
failures=0
checks=0
pass() { checks=$((checks + 1)); echo "  ok: $*"; }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "  FAILED: $*"; }
check() {  # check DESCRIPTION COMMAND...: the command's output is shown only when it fails
  local what=$1
  shift
  if "$@" >"$work/check.out" 2>&1; then
    pass "$what"
  else
    fail "$what"
    sed 's/^/      /' "$work/check.out"
  fi
}

work=$(mktemp -d /tmp/kelo-check.XXXXXX)
xvfb_pid=""
game_pid=""
remove_package=0
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [ "$remove_package" = 1 ]; then
    echo "== removing the package again"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$game" >/dev/null 2>&1 ||
      echo "  could not remove $game: remove it with apt-get purge $game" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The width and height of a PNG, from its IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }
is_wave() { [ "$(head -c 4 "$1")" = RIFF ] && [ "$(tail -c +9 "$1" | head -c 4)" = WAVE ]; }
is_program() { [ -x "$1" ] && [ "$(head -c 4 "$1" | tail -c 3)" = ELF ]; }
desktop_key() { sed -n "s/^$2=//p" "$1" | head -n 1; }
# Waits up to $2 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1
  shift
  while ! "$@" 2>/dev/null; do
    tenths=$((tenths - 1))
    [ "$tenths" -gt 0 ] || return 1
    sleep 0.1
  done
}

#---------------------------------------------------------------------------------------------
echo "== install tree"
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log"
usr="$root/usr"

desktop_files=("$usr"/share/applications/*.desktop)
app_id=$(basename "${desktop_files[0]}" .desktop)
expected=(
  "games/$game"
  "libexec/$game/$game"
  "libexec/$game/$game-sound.so"
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$game.svg"
  "share/man/man6/$game.6.gz"
  "share/doc/$game/copyright"
  "share/doc/$game/changelog.gz"
)
for n in 1 2 3 4 5 6; do expected+=("share/$game/sounds/Kelo$n.wav"); done
for size in 32 48 64 128; do expected+=("share/icons/hicolor/${size}x$size/apps/$game.png"); done

for file in "${expected[@]}"; do
  check "$file is installed" test -f "$usr/$file"
done
(cd "$usr" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/installed"
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
extra=$(comm -23 "$work/installed" "$work/expected")
check "nothing else is installed${extra:+ (also: $extra)}" test -z "$extra"

check "the command is an executable script" test -x "$usr/games/$game"
check "the program is an executable ELF file" is_program "$usr/libexec/$game/$game"
for n in 1 2 3 4 5 6; do
  check "Kelo$n.wav is a WAVE file" is_wave "$usr/share/$game/sounds/Kelo$n.wav"
done
for size in 32 48 64 128; do
  png="$usr/share/icons/hicolor/${size}x$size/apps/$game.png"
  check "the ${size}x$size icon is a ${size}x$size PNG" test "$(png_size "$png")" = "${size}x$size"
done
check "the man page is valid gzip" gzip -t "$usr/share/man/man6/$game.6.gz"
if command -v man >/dev/null; then
  man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man6/$game.6.gz" 2>&1 >/dev/null || true)
  check "the man page formats without warnings${man_warnings:+: $man_warnings}" test -z "$man_warnings"
fi

desktop="$usr/share/applications/$app_id.desktop"
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
check "the desktop entry is named Zandor Chiffres" test "$(desktop_key "$desktop" Name)" = "Zandor Chiffres"
check "the desktop entry is in Game and LogicGame" \
  sh -c "grep -Eq '^Categories=(.*;)?Game;' '$desktop' && grep -Eq '^Categories=(.*;)?LogicGame;' '$desktop'"
check "the desktop entry shows the game's icon" test "$(desktop_key "$desktop" Icon)" = "$game"
check "the desktop entry starts the command" test "$(desktop_key "$desktop" Exec | cut -d' ' -f1)" = "$game"
check "appstreamcli validates the metainfo" \
  appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml"

# The launcher, run from the tree: it must find the program and the sounds beside itself, make
# the player's folder, leave a sound the player put there, and start the program inside it.
player="$work/tree-player"
folder="$player/.local/share/$game"
mkdir -p "$folder"
echo "the player's own" >"$folder/Kelo2.wav"
env -u XDG_DATA_HOME HOME="$player" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" \
  "$usr/games/$game" >"$work/tree-game.log" 2>&1 &
game_pid=$!
program=$(readlink -f "$usr/libexec/$game/$game")
runs_program() { [ "$(readlink -f "/proc/$game_pid/exe")" = "$program" ]; }
if wait_for 100 runs_program; then
  pass "the launcher starts the installed program"
  check "the program runs in ~/.local/share/$game" test "$(readlink -f "/proc/$game_pid/cwd")" = "$(readlink -f "$folder")"
else
  fail "the launcher starts the installed program ($(cat "$work/tree-game.log"))"
fi
for n in 1 3 4 5 6; do
  check "Kelo$n.wav in the player's folder is the installed sound" \
    test "$(readlink -f "$folder/Kelo$n.wav")" = "$(readlink -f "$usr/share/$game/sounds/Kelo$n.wav")"
done
check "the player's own Kelo2.wav is kept" grep -qx "the player's own" "$folder/Kelo2.wav"
kill "$game_pid" 2>/dev/null || true
wait "$game_pid" 2>/dev/null || true
game_pid=""

#---------------------------------------------------------------------------------------------
if [ "$tree_only" = 1 ] || [ "$(id -u)" -ne 0 ]; then
  [ "$tree_only" = 1 ] || echo "== not root: the package is neither built nor installed"
  echo "check-install: $((checks - failures)) passed, $failures failed"
  [ "$failures" -eq 0 ]
  exit
fi

echo "== Debian package"
(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/package/*.deb)
echo "  built $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
check "the package is in section games" test "$(dpkg-deb -f "$deb" Section)" = games
for dep in libqt6widgets6 libsdl2-mixer-2.0-0 qt6-qpa-plugins fonts-dejavu-core; do
  check "the package depends on $dep" grep -q "\\b$dep\\b" <<<"$depends"
done
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 && lint_ok=1 || lint_ok=0
sed 's/^/    /' "$work/lintian.log"
check "lintian reports no error" test "$lint_ok" = 1

if dpkg-query -W -f='${Status}' "$game" 2>/dev/null | grep -q "install ok installed"; then
  echo "  $game was installed before: it is replaced by this build and left installed"
else
  remove_package=1
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get installs the package"; }
check "the package is installed" sh -c "dpkg-query -W -f='\${Status}' $game | grep -q 'install ok installed'"

echo "== the installed game under Xvfb"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
wait_for 100 test -s "$work/display" || { cat "$work/xvfb.log"; fail "Xvfb starts"; exit 1; }
DISPLAY=":$(cat "$work/display")"
export DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# Sends the window a close request as a window manager's close button does.
close_window() {
  /usr/bin/python3 - "$1" <<'EOF'
import sys
from Xlib import X, display, protocol
d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
message = protocol.event.ClientMessage(
    window=window, client_type=d.intern_atom("WM_PROTOCOLS"),
    data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
window.send_event(message, event_mask=X.NoEventMask)
d.flush()
EOF
}
find_window() { xdotool search --onlyvisible --name "Zandor Chiffres" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(find_window)" ]; }

player="$work/player"
data="$player/data"
folder="$data/$game"
mkdir -p "$player/runtime"
chmod 700 "$player/runtime"
exec_line=$(desktop_key "/usr/share/applications/$app_id.desktop" Exec | sed 's/ *%[a-zA-Z]//g')

# Starts the game as the menu does, in a player's session; sets game_pid and window.
start_game() {
  env -i HOME="$player" XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$player/runtime" DISPLAY="$DISPLAY" \
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games LANG=C.UTF-8 \
    sh -c "exec $exec_line" >>"$work/game.log" 2>&1 &
  game_pid=$!
  window=""
  if wait_for 200 window_shown; then window=$(find_window); fi
}
# Closes the window and waits for the program to end.
close_game() {
  close_window "$window"
  local tenths=100
  while kill -0 "$game_pid" 2>/dev/null && [ "$tenths" -gt 0 ]; do sleep 0.1; tenths=$((tenths - 1)); done
  ! kill -0 "$game_pid" 2>/dev/null
}

start_game
if [ -z "$window" ]; then
  fail "the game's window appears ($(cat "$work/game.log"))"
  exit 1
fi
pass "the game's window appears"
for n in 1 2 3 4 5 6; do
  check "the player's folder holds Kelo$n.wav" \
    test "$(readlink -f "$folder/Kelo$n.wav")" = "/usr/share/$game/sounds/Kelo$n.wav"
done
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool type --delay 50 123
xdotool key Return
sleep 0.5
check "the game ends when its window is closed" close_game
game_pid=""
check "closing wrote Kelo.ini in the player's folder" test -f "$folder/Kelo.ini"
if [ -f "$folder/Kelo.ini" ]; then
  check "Kelo.ini holds three numbers on one line: $(tr -d '\r' <"$folder/Kelo.ini")" \
    grep -Eqx '[-+0-9.Ee ]+,[-+0-9.Ee ]+,[-+0-9.Ee ]+'$'\r' "$folder/Kelo.ini"
  # Start again at another place: the window must open where Kelo.ini says.
  printf '1500,1200,5\r\n' >"$folder/Kelo.ini"
  start_game
  if [ -n "$window" ]; then
    position=$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9]*\),\([0-9]*\).*/\1,\2/p')
    check "started again, the window opens where Kelo.ini put it (100,80 px; at $position)" \
      test "$position" = "100,80"
    check "started again, the game ends when its window is closed" close_game
    game_pid=""
    check "the second close wrote a game of 5 digits in Kelo.ini" grep -Eq ',5(\.0*)?'$'\r''?$' "$folder/Kelo.ini"
  else
    fail "started again, the game's window appears"
  fi
fi

echo "check-install: $((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
