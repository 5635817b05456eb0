#!/usr/bin/env bash
# Builds TARN, writes its bundled sample game folder and opens the sample model.
# Extra arguments go to tarn.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tarn tarn-cli tarn_content

# The sample is written once: a later run must not overwrite skins the user
# painted and saved there.
sample="$build/sample"
if [ -f "$sample/MODEL" ] || "$build/src/cli/tarn-cli" make-sample "$sample" >/dev/null; then
  base="$sample/baseq2"
  model="$(cat "$sample/MODEL" 2>/dev/null || true)"
  if [ -n "$model" ]; then
    exec "$build/src/gui/tarn" --base "$base" -md2 "$base/$model" "$@"
  fi
  exec "$build/src/gui/tarn" --base "$base" "$@"
fi
exec "$build/src/gui/tarn" "$@"
