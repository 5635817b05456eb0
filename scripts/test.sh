#!/usr/bin/env bash
# Builds everything from scratch-safe build folders and runs every test: the
# full suite (warnings as errors, GUI offscreen), then the core again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then every file reader's
# fuzzing harness over its corpus and for 20 s of fresh fuzzing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

jobs="$(nproc)"
cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARN_WERROR=ON >/dev/null
cmake --build "$root/build/test" -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$root/build/test" --output-on-failure -j "$jobs"

cmake -S "$root" -B "$root/build/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARN_WERROR=ON \
  -DTARN_SANITIZE=ON -DTARN_BUILD_GUI=OFF -DTARN_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="-O1" >/dev/null
cmake --build "$root/build/sanitize" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build/sanitize" --output-on-failure -j "$jobs" -L core

"$root/scripts/fuzz.sh" 20
