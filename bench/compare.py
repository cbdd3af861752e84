#!/usr/bin/env python3
"""Runs the same benchmarks from two Release build trees in turn, round after round, and
prints the median throughput of each case for both with the spread over the rounds.

  bench/compare.py BEFORE_BUILD AFTER_BUILD [--rounds N] [--program effect=REGEX ...]

A program is named by its folder under bench/ and its file (effect/effect_bench is
'effect'); REGEX is passed to --benchmark_filter. The two trees alternate inside every
round, so a change in the machine's load falls on both alike.
"""

import argparse
import json
import os
import statistics
import subprocess

PROGRAMS = {
    "effect": "bench/effect/effect_bench",
    "dsp": "bench/dsp/dsp_bench",
    "raster": "bench/lice/lice_raster_bench",
}


def load_average():
    return os.getloadavg()[0]


def run_once(build, program, pattern):
    path = os.path.join(build, PROGRAMS[program])
    out = subprocess.run(
        [path, "--benchmark_format=json", "--benchmark_filter=" + pattern],
        check=True,
        capture_output=True,
        text=True,
    ).stdout
    results = {}
    for case in json.loads(out)["benchmarks"]:
        if case.get("error_occurred"):
            continue
        rate = case.get("items_per_second", case.get("frames/s"))
        if rate is not None:
            results[case["name"]] = rate
    return results


def spread(values):
    middle = statistics.median(values)
    return 100.0 * (max(values) - min(values)) / middle if middle else 0.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--program", action="append", default=[], help="name=REGEX")
    args = parser.parse_args()
    chosen = [p.split("=", 1) for p in args.program] or [[name, "."] for name in PROGRAMS]

    samples = {}  # (program, case) -> {"before": [...], "after": [...]}
    loads = []
    for _ in range(args.rounds):
        for program, pattern in chosen:
            for side, build in (("before", args.before), ("after", args.after)):
                loads.append(load_average())
                for case, rate in run_once(build, program, pattern).items():
                    samples.setdefault((program, case), {"before": [], "after": []})[side].append(rate)

    print(f"rounds {args.rounds}; 1-minute load average {min(loads):.2f} to {max(loads):.2f}")
    print(f"{'case':62} {'before':>10} {'spread':>7} {'after':>10} {'spread':>7} {'ratio':>6}")
    for (program, case), sides in samples.items():
        row = f"{program + ' ' + case:62}"
        for side in ("before", "after"):
            values = sides[side]
            row += f" {statistics.median(values) / 1e6:10.2f} {spread(values):6.1f}%" if values else f" {'-':>10} {'':>7}"
        if sides["before"] and sides["after"]:
            row += f" {statistics.median(sides['after']) / statistics.median(sides['before']):6.2f}"
        print(row)
    print("figures in millions per second (frames, or pixels for the raster); spread = (max - min) / median")


if __name__ == "__main__":
    main()
