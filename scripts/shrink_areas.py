#!/usr/bin/env python3
"""Sums TARN's shrink areas over every real model, from the pack benchmark.

usage: scripts/shrink_areas.py build/test/bench/tarn_pack_bench [BEFORE.json]

Runs the benchmark once per model, prints each model's shrink size and the
totals with and without quarter turns, and, given the JSON of an earlier run
(written beside as shrink_areas.json), the ratio of the totals.
"""
import json
import subprocess
import sys


def run(bench):
    out = subprocess.run([bench, "--benchmark_format=json", "--benchmark_min_time=0.01"],
                         check=True, capture_output=True, text=True).stdout
    rows = {}
    for b in json.loads(out)["benchmarks"]:
        if "area_tarn" in b:
            rows[b["name"]] = {k: b[k] for k in ("area_tarn", "area_turned", "width_tarn", "height_tarn", "ms_turned")}
            rows[b["name"]]["ms"] = b["real_time"]
        else:
            rows[b["name"]] = None
    return rows


def main():
    rows = run(sys.argv[1])
    json.dump(rows, open("shrink_areas.json", "w"), indent=1)
    totals = {"area_tarn": 0, "area_turned": 0}
    widest = tallest = 0
    for name, r in sorted(rows.items()):
        if r is None:
            print(f"{name}: refused")
            continue
        print(f"{name}: {int(r['width_tarn'])}x{int(r['height_tarn'])} ({r['ms']:.0f} ms), turned {int(r['area_turned'])} ({r['ms_turned']:.0f} ms)")
        for k in totals:
            totals[k] += r[k]
        widest, tallest = max(widest, r["width_tarn"]), max(tallest, r["height_tarn"])
    print(f"models {len(rows)}, packed {sum(r is not None for r in rows.values())}")
    print(f"total shrink area {int(totals['area_tarn'])}, with turns {int(totals['area_turned'])}; "
          f"largest {int(widest)} wide, {int(tallest)} tall")
    if len(sys.argv) > 2:
        before = json.load(open(sys.argv[2]))
        for k in totals:
            was = sum(r[k] for n, r in before.items() if r is not None and rows.get(n) is not None)
            now = sum(r[k] for n, r in rows.items() if r is not None and before.get(n) is not None)
            print(f"{k}: {int(was)} -> {int(now)}, ratio {now / was:.4f}")


main()
