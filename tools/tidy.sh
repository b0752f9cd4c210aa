#!/usr/bin/env bash
# clang-tidy over the program's own sources, with the checks listed in .clang-tidy.
# Usage: tools/tidy.sh BUILD_DIR (a configured build with compile_commands.json).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: tools/tidy.sh BUILD_DIR}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
git ls-files -- 'game/*.cpp' 'lifecycle/*.cpp' 'window/*.cpp' 'sound/*.cpp' 'data/*.cpp' |
  xargs -P"$(nproc)" -n4 clang-tidy -p "$build" --quiet 2>&1 |
  { grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Use -system-headers' || true; } |
  tee "$log"
if grep -q -E 'error:|warning:' "$log"; then
  echo "clang-tidy: findings above"
  exit 1
fi
echo "clang-tidy: clean"
