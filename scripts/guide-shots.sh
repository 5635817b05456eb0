#!/usr/bin/env bash
# Draws the user guide's pictures (docs/images) from the real window, offscreen,
# on the bundled sample model. Run it after a change to what the window shows.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tarn-guide-shots tarn-cli tarn_content
sample="$(mktemp -d)"
trap 'rm -rf "$sample"' EXIT
"$build/src/cli/tarn-cli" make-sample "$sample" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/src/gui/tarn-guide-shots" "$root/docs/images" "$sample/baseq2" \
  "$sample/baseq2/$(cat "$sample/MODEL")"
echo "wrote $(ls "$root/docs/images" | wc -l) pictures to docs/images"
