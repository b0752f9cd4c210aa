#!/usr/bin/env bash
# The one test command: installs what is missing, then runs every gate without a display or a
# sound device: the test suite, the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# the settings-file fuzzer for a bounded time, clang-tidy, and the install tree and package.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
gates=0

echo "== Test suite"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-test -j"$jobs"
ctest --test-dir build-test --output-on-failure -j"$jobs"
gates=$((gates + 1))

echo "== Test suite with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKELO_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs" --timeout 900
gates=$((gates + 1))

echo "== Settings-file fuzzer"
bash tools/fuzz-settings.sh 60
gates=$((gates + 1))

echo "== clang-tidy"
bash tools/tidy.sh build-test
gates=$((gates + 1))

echo "== Install tree and Debian package"
bash tools/check-install.sh build-test
gates=$((gates + 1))

echo "gates: $gates passed, 0 failed"
