#!/usr/bin/env bash
# Builds everything from scratch-safe build folders and runs every test: the
# full suite (warnings as errors, GUI offscreen), then the core again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then every file reader's
# fuzzing harness over its corpus and for 10 s of fresh fuzzing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

jobs="$(nproc)"
# Line tables only (-g1): enough for a failure's stack trace, and a quarter
# less compiling than full debug information.
cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARN_WERROR=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
cmake --build "$root/build/test" -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$root/build/test" --output-on-failure -j "$jobs"

# An install into a throw-away prefix holds the programs, the desktop entry,
# the icons and the default content, and its tarn-cli renders the sample
# in the colormap-shaded mode that needs that content.
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$root/build/test" --prefix "$prefix" >/dev/null
for f in bin/tarn bin/tarn-cli share/applications/tarn.desktop share/mime/packages/tarn-md2.xml \
         share/icons/hicolor/48x48/apps/tarn.png share/tarn/colormap.pcx; do
  test -s "$prefix/$f" || { echo "install check: $f missing" >&2; exit 1; }
done
"$prefix/bin/tarn" --version >/dev/null
"$prefix/bin/tarn-cli" make-sample "$prefix/sample" >/dev/null
"$prefix/bin/tarn-cli" render "$prefix/sample/baseq2/$(cat "$prefix/sample/MODEL")" -o "$prefix/sample.png" \
  --mode 8 --colormap "$prefix/share/tarn/colormap.pcx" --phong "$(ls "$prefix"/share/tarn/phongs/*.pcx | head -n 1)" \
  --size 160x120 >/dev/null
test -s "$prefix/sample.png"

cmake -S "$root" -B "$root/build/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARN_WERROR=ON \
  -DTARN_SANITIZE=ON -DTARN_BUILD_GUI=OFF -DTARN_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="-O1" -DCMAKE_CXX_FLAGS_DEBUG="-g1" >/dev/null
cmake --build "$root/build/sanitize" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build/sanitize" --output-on-failure -j "$jobs" -L core

"$root/scripts/fuzz.sh" 10
