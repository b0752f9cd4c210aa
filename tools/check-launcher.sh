#!/usr/bin/env bash
# Checks the launcher of an installed tree: it makes the player's folder, links the installed
# sounds there and starts the program inside it, and copes without HOME or a writable folder.
# Run by CTest.
#
#   tools/check-launcher.sh BUILD_DIR     (BUILD_DIR already built)
set -euo pipefail
if [ $# -ne 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
  echo "usage: $0 BUILD_DIR  (a configured and built build folder)" >&2
  exit 2
fi
source "$(dirname "$0")/check-lib.sh"
DESTDIR="$work/root" cmake --install "$1" --prefix /usr >"$work/install.log"
usr="$work/root/usr"
sounds_dir="share/games/$game/sounds"

echo "== the launcher run from the tree"
# It must find the program and the sounds beside itself, make the player's folder, leave a
# sound the player put there, point links to an earlier version's sounds at these, and start
# the program inside it.
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
if await_program "$usr/libexec/$game/$game"; then
  pass "the launcher starts the installed program"
  check "the program runs in ~/.local/share/$game" test "$(readlink -f "/proc/$child_pid/cwd")" = "$(readlink -f "$folder")"
else
  fail "the launcher starts the installed program ($(cat "$work/tree-game.log"))"
fi
for n in 1 3 4 5 6; do
  check "Kelo$n.wav in the player's folder is the installed sound" \
    test "$(readlink -f "$folder/Kelo$n.wav")" = "$(readlink -f "$usr/$sounds_dir/Kelo$n.wav")"
done
check "the player's own Kelo2.wav is kept" grep -qx "the player's own" "$folder/Kelo2.wav"
check "an earlier version's sounds are left in place" grep -qx "an earlier version's" "$folder/sounds/Kelo6.wav"
stop_program

echo "== the launcher without HOME or a writable player's folder"
# As root the player is nobody, whom permissions stop; the installed tree must be readable.
as_player=()
if [ "$(id -u)" -eq 0 ]; then
  as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
  chmod 755 "$work"
fi
# Starts the tree's launcher as the player with the environment given, and checks that the
# game runs in a private temporary folder holding the sounds, that one line names FOLDER as
# unusable, and that a SIGTERM to its process group ends it with the game's status and removes
# the temporary folder.
check_fallback() {  # WHAT FOLDER ENV...
  local what=$1 wanted=$2
  shift 2
  # In a process group of its own, as a terminal or a session gives it.
  "${as_player[@]}" setsid env -i PATH="$user_path" QT_QPA_PLATFORM=offscreen "$@" \
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
  # A session's end signals the whole group once the game handles SIGTERM (mask bit 1 << 14).
  wait_for 100 grep -q '^SigCgt:.*[4567cdef]...$' "/proc/$child_pid/status"
  kill -TERM -- "-$game_pid"
  local status=0
  wait "$game_pid" || status=$?
  game_pid="" child_pid=""
  check "$what: SIGTERM to the group ends it with the game's status ($status)" test "$status" = 0
  check "$what: the temporary folder goes with the game" test ! -e "$cwd"
}
read_only="$work/read-only"
mkdir -p "$read_only"
chmod 555 "$read_only"
check_fallback "read-only data folder, relative TMPDIR" "$read_only/$game" HOME="$read_only" \
  XDG_DATA_HOME="$read_only" TMPDIR=tmp
check "the read-only folder is left as it was" test -z "$(ls -A "$read_only")"
if [ "$(id -u)" -eq 0 ]; then
  passwd_home=$(getent passwd 65534 | cut -d: -f6)
  check_fallback "HOME unset, TMPDIR missing" "$passwd_home/.local/share/$game" TMPDIR="$work/gone"
else
  echo "  not root: the launcher without HOME would use your own home, so it is not tried"
fi
summary check-launcher
