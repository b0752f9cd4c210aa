#!/usr/bin/env bash
# The one test command: installs what is missing, then runs every gate without a display or a
# sound device, each to its end whatever the others did: the test suite (warnings as errors, the
# benchmark built too), the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, the
# settings-file fuzzer for a bounded time, clang-tidy, the install tree, and the Debian package
# (lintian, a second build compared byte for byte, autopkgtest), and the README's set-up commands
# on a freshly bootstrapped Debian 12. Fails if any gate failed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh --test

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
export jobs
passed=0
failed=0
results=()
gate() {  # gate NAME SCRIPT: the script runs in a shell of its own that stops at its first failure
  local start=$SECONDS
  echo "== $1"
  if bash -euo pipefail -c "$2"; then
    passed=$((passed + 1))
    results+=("ok      $1 ($((SECONDS - start)) s)")
  else
    failed=$((failed + 1))
    results+=("FAILED  $1 ($((SECONDS - start)) s)")
  fi
}

gate "test suite" '
  cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELO_WERROR=ON -DKELO_BENCH=ON >/dev/null
  cmake --build build-test -j"$jobs"
  ctest --test-dir build-test --output-on-failure -j"$jobs"'
gate "test suite with AddressSanitizer and UndefinedBehaviorSanitizer" '
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKELO_SANITIZE=ON -DKELO_WERROR=ON >/dev/null
  cmake --build build-sanitize -j"$jobs"
  # On Wayland, Qt draws through Mesa when it can, and the software driver of Mesa, unloaded at
  # the end, leaves 128 bytes behind that LeakSanitizer can no longer name for a suppression. The
  # window draws by itself there too, and no test is about Mesa.
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" QT_WAYLAND_CLIENT_BUFFER_INTEGRATION=none \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs" --timeout 900'
gate "settings-file fuzzer" 'bash tools/fuzz-settings.sh 60'
gate "clang-tidy" 'bash tools/tidy.sh build-test'
gate "install tree" 'bash tools/check-install.sh build-test'
gate "Debian package" 'bash tools/check-package.sh build-package'
gate "fresh Debian 12" 'bash tools/check-fresh.sh'

printf '%s\n' "${results[@]}"
echo "gates: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
