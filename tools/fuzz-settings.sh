#!/usr/bin/env bash
# Builds the settings reader's fuzz target with clang, AddressSanitizer and UBSan in a build
# folder of its own, and runs it from the seed corpus for a bounded time.
# Usage: tools/fuzz-settings.sh [seconds, default 60]
# New inputs go to build-fuzz/corpus, crashes to build-fuzz/artifacts; the repository's seed
# corpus is only read.
set -euo pipefail

seconds="${1:-60}"
case "$seconds" in
  '' | *[!0-9]*) echo "usage: $0 [seconds]" >&2; exit 2 ;;
esac

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KELO_FUZZ_BUILD:-$root/build-fuzz}"

clang="$(command -v clang++ || command -v clang++-14 || true)"
if [[ -z "$clang" ]]; then
  echo "$0: clang++ not found (Debian: clang and libclang-rt-14-dev)" >&2
  exit 2
fi

mkdir -p "$build"
cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER="$clang" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" --target fuzz_settings -j2

mkdir -p "$build/corpus" "$build/artifacts"
# The program never hands the reader more than 4096 bytes of the file.
"$build/fuzz_settings" \
  -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$build/artifacts/" -dict="$root/tests/fuzz/settings.dict" \
  "$build/corpus" "$root/tests/fuzz/corpus"
