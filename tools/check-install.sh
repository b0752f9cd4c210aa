#!/usr/bin/env bash
# Checks what `cmake --install` puts in place, under /usr and under a player's ~/.local, and that
# tools/play.sh keeps the player's sounds. The launcher's own checks are tools/check-launcher.sh,
# the package's tools/check-package.sh.
#
#   tools/check-install.sh BUILD_DIR     (BUILD_DIR already built)
set -euo pipefail
if [ $# -ne 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
  echo "usage: $0 BUILD_DIR  (a configured and built build folder)" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
source_root=$(cd "$(dirname "$0")/.." && pwd)
source "$source_root/tools/check-lib.sh"

# The width and height of a PNG, from its IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }
is_program() { [ -x "$1" ] && [ "$(head -c 4 "$1" | tail -c 3)" = ELF ]; }

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
check "no installed file names an invented address" test -z "$(invented "$usr")"

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

echo "== tools/play.sh keeps the player's sounds"
play="$work/play"
dry_run() { KELO_BUILD_DIR="$build" KELO_PLAY_DIR="$play" bash "$source_root/tools/play.sh" --dry-run; }
check "play.sh --dry-run fills a new play folder" dry_run
echo "the player's own" >"$play/Kelo3.wav"
rm -f "$play/Kelo5.wav"
check "play.sh --dry-run runs again" dry_run
check "play.sh keeps the player's own Kelo3.wav" grep -qx "the player's own" "$play/Kelo3.wav"
check "play.sh adds the missing Kelo5.wav" is_wave "$play/Kelo5.wav"

summary check-install
