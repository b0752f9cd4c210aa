# The checks' shared helper, sourced by the install, launcher and package checks: counted checks,
# a temporary folder, and the game's processes they start, all cleaned up on exit.
game=zandor-chiffres
checks=0
failures=0
work=$(mktemp -d /tmp/kelo-check.XXXXXX)
game_pid=""
child_pid=""
on_exit=()  # further commands to run on exit, after the game has been ended
user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
cleanup() {
  for pid in $child_pid $game_pid; do kill "$pid" 2>/dev/null || true; done
  for command in "${on_exit[@]}"; do eval "$command" || true; done
  rm -rf "$work"
}
trap cleanup EXIT

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
summary() { echo "$1: $((checks - failures)) passed, $failures failed"; [ "$failures" -eq 0 ]; }

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1
  shift
  while ! "$@" 2>/dev/null; do
    tenths=$((tenths - 1))
    [ "$tenths" -gt 0 ] || return 1
    sleep 0.1
  done
}
is_wave() { [ "$(head -c 4 "$1")" = RIFF ] && [ "$(tail -c +9 "$1" | head -c 4)" = WAVE ]; }
desktop_key() { sed -n "s/^$2=//p" "$1" | head -n 1; }

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
