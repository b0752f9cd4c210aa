#!/usr/bin/env bash
# The one test command: installs what is missing, builds, and runs every test without a display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh

export QT_QPA_PLATFORM=offscreen
build=build-test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
