#!/usr/bin/env python3
"""Turns the measurements of bench/run into one table, the target checks and the throughput plot.

Usage: report.py RESULTS_DIR   (writes RESULTS_DIR/table.md and RESULTS_DIR/throughput.png)
"""
import glob
import json
import os
import statistics
import subprocess
import sys

TOOLS = ["stpconv", "tee", "mawk", "gawk", "python"]


def medians(path):
    with open(path) as f:
        return {r["command"]: statistics.median(r["times"]) for r in json.load(f)["results"]}


def peak_rss(path):
    with open(path) as f:
        return {name: int(kib) for name, kib in (line.split() for line in f if line.strip())}


def main():
    results = sys.argv[1]
    checks = []
    out = ["| format | tool | median s | MB/s | × tee | peak RSS MiB |", "|---|---|---:|---:|---:|---:|"]
    for fmt in ["ztp", "wtw", "typ", "csv"]:
        path = os.path.join(results, f"format-{fmt}.json")
        size = None
        times = medians(path)
        rss = peak_rss(path + ".rss")
        with open(path) as f:
            command = json.load(f)["results"][0]["command"]
        for tool in TOOLS:
            size = size or int(os.environ.get("BENCH_SIZE", 200000000))
            t = times[tool]
            out.append(f"| {fmt.upper()} | {tool} | {t:.3f} | {size / t / 1e6:.0f} | {t / times['tee']:.2f} "
                       f"| {rss[tool] / 1024:.1f} |")
        checks.append((f"{fmt.upper()}: stpconv ≤ 1.0 × tee", times["stpconv"] / times["tee"], 1.0, "≤"))
        checks.append((f"{fmt.upper()}: mawk ≥ 8 × stpconv", times["mawk"] / times["stpconv"], 8.0, "≥"))
        checks.append((f"{fmt.upper()}: python ≥ 5 × stpconv", times["python"] / times["stpconv"], 5.0, "≥"))

    with open(os.path.join(results, "memory.txt")) as f:
        for line in f:
            size, kib = line.split()
            checks.append((f"peak RSS on {int(size) >> 30} GiB (MiB)", int(kib) / 1024, 8.0, "≤"))
    startup = medians(os.path.join(results, "startup.json"))
    checks.append(("100-byte input: stpconv / cat", startup["stpconv"] / startup["cat"], 1.5, "≤"))
    with open(os.path.join(results, "echo-writes.txt")) as f:
        lines, writes = (int(x) for x in f.read().split())
    checks.append((f"echo to a pipe: writes per 1000 lines ({lines} lines, {writes} writes)",
                   1000 * writes / lines, 1.0, "≤"))

    out += ["", "| target | measured | limit | met |", "|---|---:|---:|---|"]
    for name, value, limit, op in checks:
        met = value <= limit if op == "≤" else value >= limit
        out.append(f"| {name} | {value:.2f} | {op} {limit:g} | {'yes' if met else 'NO'} |")

    data = os.path.join(results, "throughput.dat")
    rows = []
    for path in glob.glob(os.path.join(results, "size-*.json")):
        size = int(path.rsplit("-", 1)[1].split(".")[0])
        times = medians(path)
        rows.append((size, [size / times[t] / 1e6 for t in TOOLS]))
    with open(data, "w") as f:
        f.write("# bytes " + " ".join(TOOLS) + "\n")
        for size, speeds in sorted(rows):
            f.write(f"{size} " + " ".join(f"{s:.1f}" for s in speeds) + "\n")
    plot = "; ".join([
        "set terminal pngcairo size 900,540",
        f"set output '{os.path.join(results, 'throughput.png')}'",
        "set title 'CSV conversion throughput (page cache warm, echo to /dev/null)'",
        "set logscale x", "set xlabel 'input size (MB)'", "set ylabel 'MB/s'", "set key outside right",
        "set grid", "set yrange [0:*]", "set xrange [8:1300]",
        "plot " + ", ".join(f"'{data}' using ($1/1e6):{i + 2} with linespoints lw 2 title '{t}'"
                            for i, t in enumerate(TOOLS)),
    ])
    subprocess.run(["gnuplot", "-e", plot], check=True)

    table = "\n".join(out) + "\n"
    with open(os.path.join(results, "table.md"), "w") as f:
        f.write(table)
    print(table)


if __name__ == "__main__":
    main()
