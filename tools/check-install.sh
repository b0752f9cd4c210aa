#!/usr/bin/env bash
# Checks what `cmake --install` puts in place, under /usr and under a player's ~/.local, and how
# the launcher copes without HOME or a writable folder; as root it also builds the Debian package
# with tools/package.sh, lints it, checks tools/play.sh, installs the package, starts the
# installed game under Xvfb, plays, closes, starts again and removes it.
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
source_root=$(cd "$(dirname "$0")/.." && pwd)

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
child_pid=""
remove_package=0
cleanup() {
  for pid in $child_pid $game_pid; do
    if kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
  done
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [ "$remove_package" = 1 ]; then
    echo "== removing the package again"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=300 "$game" >/dev/null 2>&1 ||
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
user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
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
sounds_dir="share/games/$game/sounds"
for n in 1 2 3 4 5 6; do expected+=("$sounds_dir/Kelo$n.wav"); done
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
  check "Kelo$n.wav is a WAVE file" is_wave "$usr/$sounds_dir/Kelo$n.wav"
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
check "the desktop entry starts /usr/games/$game" test "$(desktop_key "$desktop" Exec)" = "/usr/games/$game"
metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
check "appstreamcli validates the metainfo offline" appstreamcli validate --no-net "$metainfo"
check "appstreamcli validates the metainfo with the network" appstreamcli validate "$metainfo"
# Names reserved for examples (RFC 2606) stand for addresses that do not exist.
invented() { grep -rlEi '[@./]example(\.(com|net|org))?([/:>"<[:space:]]|$)' "$@"; }
zcat "$usr/share/doc/$game/changelog.gz" >"$work/changelog"
check "no installed file names an invented address" test -z "$(invented "$usr" "$work/changelog")"

# The launcher, run from the tree: it must find the program and the sounds beside itself, make
# the player's folder, leave a sound the player put there, point links to an earlier version's
# sounds at these, and start the program inside it.
player="$work/tree-player"
folder="$player/.local/share/$game"
mkdir -p "$folder/sounds"
echo "the player's own" >"$folder/Kelo2.wav"
# Earlier versions installed a ~/.local prefix's sounds inside the player's folder and linked them.
echo "an earlier version's" >"$folder/sounds/Kelo6.wav"
ln -s "$folder/sounds/Kelo6.wav" "$folder/Kelo6.wav"
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
    test "$(readlink -f "$folder/Kelo$n.wav")" = "$(readlink -f "$usr/$sounds_dir/Kelo$n.wav")"
done
check "the player's own Kelo2.wav is kept" grep -qx "the player's own" "$folder/Kelo2.wav"
check "an earlier version's sounds are left in place" grep -qx "an earlier version's" "$folder/sounds/Kelo6.wav"
kill "$game_pid" 2>/dev/null || true
wait "$game_pid" 2>/dev/null || true
game_pid=""

# Waits for PROGRAM to run as the started command, game_pid, or as its child, and sets child_pid.
runs() {
  local pid
  for pid in "$game_pid" $(ps -o pid= --ppid "$game_pid" 2>/dev/null); do
    if [ "$(readlink -f "/proc/$pid/exe" 2>/dev/null)" = "$1" ]; then
      child_pid=$pid
      return 0
    fi
  done
  return 1
}
await_program() { wait_for 100 runs "$(readlink -f "$1")"; }
# Ends the program and waits for the started command.
stop_program() {
  kill "${child_pid:-$game_pid}" 2>/dev/null || true
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
  child_pid=""
}

echo "== a player's own install under ~/.local"
# A space in the home folder, as some have, tries the menu entry's quoting.
home="$work/a player"
prefix="$home/.local"
mkdir -p "$home"
cmake --install "$build" --prefix "$prefix" >"$work/install-local.log"
local_desktop="$prefix/share/applications/$app_id.desktop"
check "desktop-file-validate accepts the per-user menu entry" desktop-file-validate "$local_desktop"
# The Exec value as a menu reads it: the key file's escapes undone, then quoting as sh's.
local_exec=$(desktop_key "$local_desktop" Exec | sed 's/\\\\/\\/g')
env -i HOME="$home" PATH="$user_path" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" \
  sh -c "cd / && exec $local_exec" >"$work/local-game.log" 2>&1 &
game_pid=$!
folder="$prefix/share/$game"
if await_program "$prefix/libexec/$game/$game"; then
  pass "the menu entry starts the game from / with the PATH of a user"
  check "the game runs in ~/.local/share/$game" test "$(readlink -f "/proc/$child_pid/cwd")" = "$folder"
  check "the player's folder is made with mode 700" test "$(stat -c %a "$folder")" = 700
else
  fail "the menu entry starts the game from / with the PATH of a user: $local_exec ($(cat "$work/local-game.log"))"
fi
stop_program
check "the sounds are installed in ~/.local/$sounds_dir" is_wave "$prefix/$sounds_dir/Kelo1.wav"
rm -rf "$folder"
check "deleting the player's folder leaves the installed sounds" \
  sh -c "for n in 1 2 3 4 5 6; do test -f '$prefix/$sounds_dir/Kelo'\$n.wav || exit 1; done"

echo "== the launcher without HOME or a writable player's folder"
# As root the player is nobody, whom permissions stop; the installed tree must be readable.
as_player=()
if [ "$(id -u)" -eq 0 ]; then
  as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
  chmod 755 "$work"
fi
# Starts the tree's launcher as the player with the environment given, and checks that the
# game runs in a private temporary folder holding the sounds, that one line names FOLDER as
# unusable, and that the temporary folder goes when the game ends.
check_fallback() {  # WHAT FOLDER ENV...
  local what=$1 wanted=$2
  shift 2
  "${as_player[@]}" env -i PATH="$user_path" QT_QPA_PLATFORM=offscreen "$@" \
    "$usr/games/$game" >"$work/fallback.log" 2>&1 &
  game_pid=$!
  if ! await_program "$usr/libexec/$game/$game"; then
    fail "$what: the game starts ($(cat "$work/fallback.log"))"
    stop_program
    return
  fi
  pass "$what: the game starts"
  local cwd
  cwd=$(readlink -f "/proc/$child_pid/cwd")
  check "$what: it runs in a private temporary folder ($cwd)" \
    sh -c "case '$cwd' in /tmp/$game.*) test \"\$(stat -c %a '$cwd')\" = 700 ;; *) exit 1 ;; esac"
  check "$what: that folder holds the installed sounds" \
    test "$(readlink -f "$cwd/Kelo4.wav")" = "$(readlink -f "$usr/$sounds_dir/Kelo4.wav")"
  check "$what: one line says the settings will not be kept: $(grep -F "not be kept" "$work/fallback.log")" \
    test "$(grep -c "^$game: cannot use $wanted; settings will not be kept.\$" "$work/fallback.log")" = 1
  stop_program
  check "$what: the temporary folder goes with the game" test ! -e "$cwd"
}
read_only="$work/read-only"
mkdir -p "$read_only"
chmod 555 "$read_only"
check_fallback "read-only data folder" "$read_only/$game" HOME="$read_only" XDG_DATA_HOME="$read_only"
check "the read-only folder is left as it was" test -z "$(ls -A "$read_only")"
if [ "$(id -u)" -eq 0 ]; then
  passwd_home=$(getent passwd 65534 | cut -d: -f6)
  check_fallback "HOME unset" "$passwd_home/.local/share/$game"
else
  echo "  not root: the launcher without HOME would use your own home, so it is not tried"
fi

#---------------------------------------------------------------------------------------------
if [ "$tree_only" = 1 ] || [ "$(id -u)" -ne 0 ]; then
  [ "$tree_only" = 1 ] || echo "== not root: the package is neither built nor installed"
  echo "check-install: $((checks - failures)) passed, $failures failed"
  [ "$failures" -eq 0 ]
  exit
fi

echo "== Debian package"
bash "$source_root/tools/package.sh" "$source_root/build-deb" >"$work/package.log" 2>&1 ||
  { cat "$work/package.log"; exit 1; }
deb=$(tail -n 1 "$work/package.log")
echo "  built $deb"
depends=$(dpkg-deb -f "$deb" Depends)
check "the package is in section games" test "$(dpkg-deb -f "$deb" Section)" = games
for dep in libqt6widgets6 libsdl2-2.0-0 qt6-qpa-plugins fonts-liberation2 fonts-dejavu-core; do
  check "the package depends on $dep" grep -q "\\b$dep\\b" <<<"$depends"
done
lintian --pedantic -I --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
sed 's/^/    /' "$work/lintian.log"
check "lintian reports no hardening tag" test -z "$(grep -F ' hardening-' "$work/lintian.log")"
check "lintian reports no unneeded section" test -z "$(grep -F ' binary-has-unneeded-section' "$work/lintian.log")"
errors=$(grep '^E: ' "$work/lintian.log" || true)
if grep -qx 'KELO_MAINTAINER:STRING=' "$source_root/build-deb/CMakeCache.txt"; then
  # Debian would not take the account that built it as a maintainer; a local package may.
  builder=$(dpkg-deb -f "$deb" Maintainer)
  echo "  no maintainer was given: the package names its builder, $builder"
  builder=${builder#*<}
  builder=${builder%>*}
  [ -z "$builder" ] || errors=$(grep -vF "$builder" <<<"$errors" || true)
fi
check "lintian reports no error beyond the builder's own address" test -z "$errors"
dpkg-deb -f "$deb" >"$work/control"
check "the package's control names no invented address" test -z "$(invented "$work/control")"

echo "== tools/play.sh keeps the player's sounds"
play="$work/play"
dry_run() { KELO_BUILD_DIR="$source_root/build-deb" KELO_PLAY_DIR="$play" bash "$source_root/tools/play.sh" --dry-run; }
check "play.sh --dry-run fills a new play folder" dry_run
echo "the player's own" >"$play/Kelo3.wav"
rm -f "$play/Kelo5.wav"
check "play.sh --dry-run runs again" dry_run
check "play.sh keeps the player's own Kelo3.wav" grep -qx "the player's own" "$play/Kelo3.wav"
check "play.sh adds the missing Kelo5.wav" is_wave "$play/Kelo5.wav"
check "play.sh does not build the benchmark" grep -qx 'KELO_BENCH:BOOL=OFF' "$source_root/build-deb/CMakeCache.txt"

if dpkg-query -W -f='${Status}' "$game" 2>/dev/null | grep -q "install ok installed"; then
  echo "  $game was installed before: it is replaced by this build and left installed"
else
  remove_package=1
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" >"$work/apt.log" 2>&1 ||
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
    test "$(readlink -f "$folder/Kelo$n.wav")" = "/usr/$sounds_dir/Kelo$n.wav"
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
