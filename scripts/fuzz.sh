#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang and runs each one: first
# over its whole corpus (the committed seeds, the real test files beside the
# checkout and whatever earlier runs kept), then for SECONDS of fresh fuzzing
# (default 60), as many harnesses at a time as there are processors. Prints
# one line per harness and fails when any input broke a reader's contract or
# crashed; the input is kept under build/fuzz/findings.
#
#   scripts/fuzz.sh [SECONDS]
#   TARN_FUZZ_ONLY="md2 companion" scripts/fuzz.sh 600   # some harnesses only
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
"$root/scripts/deps.sh"

build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DTARN_FUZZ=ON -DTARN_WERROR=OFF >/dev/null
cmake --build "$build" --target tarn_fuzzers -j "$(nproc)"

real="${TARN_REAL_TESTDATA:-$root/../shared/testdata/real}"
harnesses="${TARN_FUZZ_ONLY:-md2 companion skin_image palette_file colormap lighting_map png true_colour kmap pak}"

# Real files that a harness reads as its own kind, by extension.
real_inputs() {
  [ -d "$real" ] || return 0
  case "$1" in
    md2|companion) find "$real" -type f -iname '*.md2' ;;
    skin_image|colormap) find "$real" -type f \( -iname '*.pcx' -o -iname '*.bmp' -o -iname '*.png' \) ;;
    png) find "$real" -type f -iname '*.png' -size -2M ;;
    true_colour) find "$real" -type f \( -iname '*.pcx' -o -iname '*.bmp' -o -iname '*.tga' -o -iname '*.jpg' \) -size -400k ;;
    pak) find "$real" -type f -iname '*.pak' -size -2M ;;
    palette_file) find "$real" -type f \( -iname '*.pcx' -o -iname '*.bmp' -o -iname '*.dat' \) ;;
    lighting_map) find "$real" -type f \( -iname '*.pcx' -o -iname '*.bmp' \) -size -200k ;;
  esac
}

# The seed corpus of a run: copies made at run time, never committed.
seed_corpus() {
  local name="$1" dir="$2"
  rm -rf "$dir" && mkdir -p "$dir"
  if [ -d "$root/fuzz/seeds/$name" ]; then cp "$root/fuzz/seeds/$name"/* "$dir"/ 2>/dev/null || true; fi
  local n=0
  while IFS= read -r f; do
    n=$((n + 1))
    if [ "$name" = lighting_map ]; then
      # The first byte picks the kind: one copy as a phong map, one as an environment map.
      { printf '\0'; cat "$f"; } >"$dir/real-$n-phong"
      { printf '\1'; cat "$f"; } >"$dir/real-$n-env"
    else
      cp "$f" "$dir/real-$n"
    fi
  done < <(real_inputs "$name")
}

# One harness: replay, then fuzz. Prints its summary line; fails on a finding.
run_one() {
  local name="$1"
  local bin="$build/fuzz/${name}_fuzz"
  local seeds="$build/seeds/$name"
  local kept="$build/corpus/$name"
  local findings="$build/findings/$name"
  local log="$build/logs/$name.log"
  local status=0
  mkdir -p "$kept" "$findings" "$(dirname "$log")"
  seed_corpus "$name" "$seeds"
  # Fresh inputs stay within 64 KB: mutating the largest real models whole
  # (340 KB, 198 frames) held the MD2 harness at a few hundred inputs a second
  # for no more coverage. The replay still reads every file whole.
  local opts=(-rss_limit_mb=2048 -timeout=20 -artifact_prefix="$findings/" -print_final_stats=1)
  local fresh=(-detect_leaks=0 -max_len=65536)
  # Every input of the corpus once, then fresh fuzzing that grows the kept corpus.
  if ! "$bin" "${opts[@]}" -runs=0 "$kept" "$seeds" >"$log.replay" 2>&1; then
    echo "$name: an input of the corpus broke the reader (see $log.replay, $findings)"
    return 1
  fi
  # Harnesses keep what a load built from one input to the next (to check that
  # a refused file changes nothing), so libFuzzer would take nearly every input
  # for a leak and scan the heap after it; leaks are looked for in the replay
  # above, which covers everything fuzzing keeps.
  if ! "$bin" "${opts[@]}" "${fresh[@]}" -max_total_time="$seconds" "$kept" "$seeds" >"$log" 2>&1; then
    echo "$name: FOUND a failing input (see $log, $findings)"
    status=1
  fi
  local execs line cov ft corpus found
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  line=$(grep -E '#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -1)
  cov=$(echo "$line" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*' || echo '?')
  ft=$(echo "$line" | grep -o 'ft: [0-9]*' | grep -o '[0-9]*' || echo '?')
  corpus=$(echo "$line" | grep -o 'corp: [0-9]*' | grep -o '[0-9]*' || echo '?')
  found=$(find "$findings" -type f | wc -l)
  echo "$name: ${seconds}s, $execs executions, cov $cov, ft $ft, corpus $corpus, findings $found"
  return $status
}

# As many harnesses at a time as there are processors (TARN_FUZZ_JOBS to
# choose); each is one process. Summaries are printed in the harnesses' order.
jobs="${TARN_FUZZ_JOBS:-$(nproc)}"
mkdir -p "$build/logs"
for name in $harnesses; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  # The status goes to a file: a job reaped by `wait -n` keeps none to ask for.
  { status=0; run_one "$name" || status=1; echo "$status" >"$build/logs/$name.status"; } \
    >"$build/logs/$name.summary" 2>&1 &
done
wait
status=0
for name in $harnesses; do
  cat "$build/logs/$name.summary"
  [ "$(cat "$build/logs/$name.status" 2>/dev/null)" = 0 ] || status=1
done
exit $status
