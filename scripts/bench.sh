#!/usr/bin/env bash
# Configures and builds the bench preset (Release), runs the benchmark suite and prints one
# table: each figure, its baseline measured in the same run, the ratio, the target and whether
# it is met. Extra arguments go to the benchmark executable (e.g. --benchmark_filter=Restore).
# Times are the CPU time of the benchmark thread (rates too, as Google Benchmark reports
# them), so that other load on a shared machine does not count; the wall times are in
# build/bench/bench.json beside them, the benchmark's own output in bench.log.
# Then the application benchmark (bench/bench_app.py): mvp-host run headless on generated
# scripts, each step timed by the application itself (--timings); its table follows.
# Last the snapshot series (bench/bench_snapshots.py): report pages, everything changes, and a
# long run of element.set. MVP_BENCH_PART=library, app or snapshots runs one of the three;
# MVP_BENCH_APP_SIZES (default 1000,10000,100000) and MVP_BENCH_APP_ARGS (e.g. "--repeat 1
# --snapshots 200") tune the second, MVP_BENCH_SNAPSHOT_ARGS (e.g. "--only W2") the third.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
part=${MVP_BENCH_PART:-all}
cmake --preset bench >/dev/null
cmake --build --preset bench --target bench_templates mvp-host >/dev/null
out="$root/build/bench"
if [ "$part" != "app" ]; then
# Each benchmark three times; the table takes the medians, which a busy machine moves less.
QT_QPA_PLATFORM=offscreen "$out/bench/bench_templates" --benchmark_out="$out/bench.json" \
  --benchmark_out_format=json --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  "$@" >"$out/bench.log" 2>&1 || { tail -20 "$out/bench.log" >&2; exit 1; }
python3 - "$out/bench.json" <<'PY'
import json, sys

results = json.load(open(sys.argv[1]))["benchmarks"]
scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

def find(name):
    runs = [r for r in results if r.get("run_name", r["name"]).split("/")[0] == name]
    for r in runs:
        if r.get("aggregate_name") == "median":
            return r
    return runs[0] if runs else None

def exact(run_name):
    runs = [r for r in results if r.get("run_name", r["name"]) == run_name]
    for r in runs:
        if r.get("aggregate_name") == "median":
            return r
    return runs[0] if runs else None

def ms(name):
    r = exact(name) if "/" in name else find(name)
    return None if r is None else r["cpu_time"] * scale[r["time_unit"]]

def mbs(name):
    r = find(name)
    return None if r is None else r["bytes_per_second"] / 1e6

def counter(name, key):
    r = find(name)
    return None if r is None else r.get(key)

rows = []
def row(figure, unit, value, baseline, target, met, ratio=None):
    if ratio is None and value is not None and baseline:
        ratio = value / baseline
    rows.append((figure, unit, value, baseline, ratio, target, None if value is None else met(value, ratio)))

row("restore whole, 100,000 elements", "ms", ms("BM_RestoreWhole"), ms("BM_SetDirectBaseline"),
    "<= 5x direct setting, < 250 ms", lambda v, r: r <= 5.0 and v < 250.0)
row("restore by template (all enabled)", "ms", ms("BM_RestoreByTemplate"), ms("BM_RestoreWhole"),
    "<= 1.5x restore whole", lambda v, r: r <= 1.5)
row("write access blocks, 100,000 el.", "ms", ms("BM_WriteAccessBlocks"), ms("BM_WriteQDataStreamBaseline"),
    "<= 1x QDataStream/QBuffer", lambda v, r: r <= 1.0)
row("read access blocks, 100,000 el.", "ms", ms("BM_ReadAccessBlocks"), ms("BM_ReadQDataStreamBaseline"),
    "<= 1x QDataStream/QBuffer", lambda v, r: r <= 1.0)
reported = counter("BM_UndoMemory", "reported_bytes_per_element")
real = counter("BM_UndoMemory", "real_bytes_per_element")
row("undo memory per element (reported)", "B", reported, real,
    "<= 1024 B, real growth too", lambda v, r: v <= 1024 and real is not None and real <= 1024)
row("import 10,000 templates, one name", "ms", ms("BM_ImportSameName"), ms("BM_AppendBaseline"),
    "< 100 ms", lambda v, r: v < 100.0)
row("fill menu, 1,000 templates", "ms", ms("BM_FillMenu"), ms("BM_FillMenuBaseline"),
    "< 16 ms", lambda v, r: v < 16.0)
row("open edit dialog, 1,000 templates", "ms", ms("BM_OpenEditDialog"), ms("BM_OpenPlainListBaseline"),
    "< 100 ms", lambda v, r: v < 100.0)
row("paint the 3D view, 100,000 elements", "ms", ms("BM_PaintViewTurned/100000"), ms("BM_PaintViewTurned/10000"),
    "< 100 ms, <= 15x 10,000", lambda v, r: v < 100.0 and r <= 15.0)
row("save project, 100,000 elements", "MB/s", mbs("BM_SaveProject"), mbs("BM_SaveFileBaseline"),
    ">= 200 MB/s", lambda v, r: v >= 200.0)

def num(x):
    if x is None:
        return "-"
    return "%.3g" % x if abs(x) < 10 else "%.0f" % x

header = ("figure", "value", "baseline", "ratio", "target", "")
lines = [header]
for figure, unit, value, baseline, ratio, target, met in rows:
    lines.append((figure, "-" if value is None else num(value) + " " + unit,
                  "-" if baseline is None else num(baseline) + " " + unit,
                  "-" if ratio is None else "%.2fx" % ratio, target,
                  "not run" if met is None else ("met" if met else "MISSED")))
widths = [max(len(l[i]) for l in lines) for i in range(len(header))]
for i, l in enumerate(lines):
    print("  ".join(c.ljust(widths[k]) if k == 0 or k >= 4 else c.rjust(widths[k]) for k, c in enumerate(l)).rstrip())
    if i == 0:
        print("  ".join("-" * w for w in widths))
# Why a figure may miss, as far as profiling has shown it.
reasons = {
    "undo memory per element (reported)":
        "the element access reports a fixed memSize of 2437 bytes, more than it really takes; "
        "the real growth is the baseline column",
    "write access blocks, 100,000 el.":
        "the two are within a few per cent and trade places from run to run on a busy machine; "
        "what is left per value is the checks every write makes (state, room in the block)",
    "restore whole, 100,000 elements":
        "the ratio is met; the time follows the machine: the undo record's capture makes a new "
        "access per element (about a third of the time, much of it first touches of new heap "
        "pages), and on the shared development machine the direct baseline itself moved between "
        "61 and 88 ms from run to run, the whole restore with it between 202 and 299 ms",
    "paint the 3D view, 100,000 elements":
        "the shapes are drawn straight into the pixels; about a third is projecting the scene, "
        "which mostly waits for 100,000 elements to come from memory and so follows the load "
        "other processes put on the caches",
}
missed = [r[0] for r in rows if r[6] is False]
unrun = [r[0] for r in rows if r[6] is None]
print()
if missed:
    for figure in missed:
        print("missed: %s: %s" % (figure, reasons.get(figure, "not profiled yet")))
else:
    print("every target that ran is met" + (" (not run: " + "; ".join(unrun) + ")" if unrun else ""))
PY
fi
if [ "$part" = "all" ] || [ "$part" = "app" ]; then
  [ "$part" = "app" ] || echo
  # shellcheck disable=SC2086
  python3 bench/bench_app.py "$out/app/mvp-host" --sizes "${MVP_BENCH_APP_SIZES:-1000,10000,100000}" \
    --json "$out/bench_app.json" ${MVP_BENCH_APP_ARGS:-}
fi
if [ "$part" = "all" ] || [ "$part" = "snapshots" ]; then
  [ "$part" = "snapshots" ] || echo
  # shellcheck disable=SC2086
  python3 bench/bench_snapshots.py "$out/app/mvp-host" --json "$out/bench_snapshots.json" ${MVP_BENCH_SNAPSHOT_ARGS:-}
fi
