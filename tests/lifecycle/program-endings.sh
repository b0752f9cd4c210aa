#!/usr/bin/env bash
# The real program's rarer endings, each of which must leave a Kelo.ini the next start reads:
# Ctrl+C, twice at once, its window destroyed by another X client, and a kill while the file is
# rewritten in place (a read-only folder), held there by a delay strace injects.
# Run by CTest under under-xvfb.sh.   Usage: program-endings.sh PROGRAM
set -uo pipefail
program=$1
work=$(mktemp -d /tmp/kelo-endings.XXXXXX)
pid=""
trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
old=$'-1500,-1500,4\r\nan older, longer file\r\n'
new=$'0,0,4\r\n'  # the old position kept on the screen
failures=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi; }

# Starts the program, behind any prefix given, in a new folder holding the old file, and waits
# until it handles SIGHUP, SIGINT, SIGQUIT and SIGTERM (mask bits 0, 1, 2 and 14): from then on
# a signal asks for the close.
start() {  # NAME [PREFIX...]
  folder="$work/$1"
  mkdir "$folder" && printf %s "$old" >"$folder/Kelo.ini"
  cd "$folder" && { "${@:2}" "$program" 2>>"$work/log" & }
  pid=$!
  cd /
  for _ in $(seq 300); do
    game=$pid
    [ $# = 1 ] || game=$(ps -o pid= --ppid "$pid" | head -n1)  # under strace
    grep -qs '^SigCgt:.*[4567cdef]..[7f]$' "/proc/${game// /}/status" && return
    sleep 0.1
  done
  echo "$1: the program did not start"
  return 1
}
# Waits up to 10 s for the end; the status is that of the started command.
finish() {
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null
  wait "$pid"
  status=$?
  pid=""
}
holds() { cmp -s "$folder/Kelo.ini" <(printf %s "$1"); }
saved() { [ "$status" = 0 ] && holds "$new"; }

start ctrl-c && kill -INT "$pid" && finish
check "Ctrl+C closes as the close box does (status $status)" saved
start twice && kill -INT "$pid" && kill -INT "$pid" && finish
check "a second Ctrl+C ends it, after the save (status $status)" saved
start destroyed
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -n1)
xdotool windowclose "$window"
finish
check "its window destroyed by another client closes it (status $status)" saved

as_player=()
[ "$(id -u)" != 0 ] || as_player=(setpriv --inh-caps=-dac_override,-dac_read_search
  --bounding-set=-dac_override,-dac_read_search --)
start read-only env QT_QPA_PLATFORM=offscreen strace -f -qq -o /dev/null \
  -e inject=ftruncate,pwrite64:delay_exit=5000000 "${as_player[@]}"
chmod 555 "$folder"
kill -TERM "$game"
for _ in $(seq 100); do holds "$old" || break; sleep 0.1; done
kill -9 "$game" && finish
first=$(head -n1 "$folder/Kelo.ini")
check "killed in the middle of a save in place, it leaves a whole line: $(od -c "$folder/Kelo.ini" | head -n1)" \
  '! holds "$old" && [[ $first == "${new%?}" || $old == "$first"$'"'\n'"'* ]]'
[ "$failures" = 0 ] || cat "$work/log"
exit $((failures > 0))
