#!/usr/bin/env python3
"""The application benchmark: runs mvp-host as a user does (headless, --script with a generated
script, offscreen) and reads the time of each step from the application itself (--timings).

usage: bench_app.py MVP_HOST [--sizes 1000,10000,100000] [--repeat 3] [--snapshots 2000]
                             [--snapshot-scene 10000] [--session-elements 100000]
                             [--tools-sizes 10000,100000] [--tools-snapshots 200] [--json FILE]

Prints the table: each step at each size (median of the runs, process CPU time), the wall
time at the largest size, the growth of the time per element from the second to the largest
size, the target and whether it is met. Then the snapshot tools (compare, restore of chosen
elements, update of many snapshots), the snapshot series and the example session."""

import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Restores everything the snapshot holds: every flag of the four access types.
EVERYTHING = ('template={name="everything" new_invisible="1" invalid_invisible="0" '
              'part={type="0" usage=["0=1", "1=1", "2=1", "3=1"]} part={type="1" usage=["4=1"]} '
              'part={type="2" usage=["6=1"]} '
              'part={type="3" usage=["5=1", "6=1", "7=1", "8=1", "9=1", "35=1"]}}')

STEPS = ["host.sample_scene", "report.create_snapshot", "element.set", "report.restore_whole_snapshot",
         "report.restore_by_template", "edit.undo", "edit.redo", "host.save_project", "host.load_project",
         "host.dump_state", "frame_all", "explorer_filter", "paint", "label_layout_first", "label_layout"]

TIME_LINE = re.compile(r"^time (\S+) ([0-9.]+) ms cpu ([0-9.]+) ms$")
RSS_LINE = re.compile(r"^peak-rss-kb (\d+)$")
LABELS_LINE = re.compile(r"^labels (\d+)$")


def run_host(host, script_text, work, name, extra=()):
    """Runs one script; answers the list of (step, wall ms, cpu ms), the whole wall and cpu
    seconds and the peak RSS in bytes. A "labels <n>" line (after a label layout's time) is
    kept as the step "labels" with n for its times."""
    script = os.path.join(work, name + ".kavmacro")
    with open(script, "w") as f:
        f.write(script_text)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    config = os.path.join(work, "config-" + name)
    cmd = ["/usr/bin/time", "-f", "peak-rss-kb %M\nwhole %e %U %S", host, "--script", script, "--timings",
           "--config-root", config] + list(extra)
    proc = subprocess.run(cmd, cwd=work, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if proc.returncode != 0:
        sys.stderr.write(proc.stdout[-2000:] + proc.stderr[-4000:])
        raise SystemExit("mvp-host failed on %s (exit %d)" % (name, proc.returncode))
    steps, rss, whole = [], None, None
    for line in proc.stderr.splitlines():
        m = TIME_LINE.match(line)
        if m:
            steps.append((m.group(1), float(m.group(2)), float(m.group(3))))
        elif LABELS_LINE.match(line):
            n = float(LABELS_LINE.match(line).group(1))
            steps.append(("labels", n, n))
        elif RSS_LINE.match(line):
            rss = int(RSS_LINE.match(line).group(1)) * 1024
        elif line.startswith("whole "):
            _, wall, user, system = line.split()
            whole = (float(wall), float(user) + float(system))
    return steps, whole, rss


def step_script(n, work):
    project = os.path.join(work, "bench-%d.kavproj" % n)
    return "\n".join([
        'host.sample_scene elements="%d"' % n,
        'report.create_snapshot name="Bench"',
        'element.set name="E000002" color="#ff0000" transparency="0.5" visible="0"',
        'report.restore_whole_snapshot snapshot="Bench"',
        'report.restore_by_template snapshot="Bench" ' + EVERYTHING,
        "edit.undo",
        "edit.redo",
        'host.save_project file="%s"' % project,
        'host.load_project file="%s"' % project,
        'host.dump_state file="%s"' % os.path.join(work, "state-%d.txt" % n),
        "",
    ])


def window_script(n, snapshots):
    """Snapshots with their pictures, then every element changed: the first snapshot differs
    from the scene in n rows. The runner times the panel and the window after the script."""
    lines = ['host.sample_scene elements="%d"' % n] + ["report.create_snapshot"] * snapshots
    lines += ['element.set name="E%06d" color="#123456"' % i for i in range(1, n + 1)]
    return "\n".join(lines) + "\n"


# The snapshot tools' template: the legend alone, everything else off.
LEGEND_ONLY = ('template={name="legend" part={type="0" usage=["0=0", "1=0", "2=0", "3=0"]} '
               'part={type="1" usage=["4=1"]} part={type="2" usage=["6=0"]} '
               'part={type="3" usage=["5=0", "6=0", "7=0", "8=0", "9=0", "35=0"]}}')

# Rows of the snapshot tools: (label, command, which occurrence of it in the script, target ms).
# A target of None is set from the run (whole update: 200 x one create_snapshot).
TOOL_ROWS = [
    ("compare, unchanged", "report.compare_snapshot", 0, 150.0),
    ("compare, every element changed", "report.compare_snapshot", 1, 150.0),
    ("compare + file, every el. changed", "report.compare_snapshot", 2, 300.0),
    ("restore 10 elements", "report.restore_snapshot_elements", 0, 10.0),
    ("update N snapshots, legend only", "report.update_snapshots", 0, 200.0),
    ("update N snapshots, whole", "report.update_snapshots", 1, None),
]


def tools_scripts(n, snapshots, work):
    """Two scripts: the comparison and the restore of chosen elements (after it every element
    is changed, by element.set), and the update of many snapshots."""
    names = ", ".join('"E%06d"' % (1 + i * (n // 10)) for i in range(10))
    compare = ['host.sample_scene elements="%d"' % n, 'report.create_snapshot name="S"',
               'report.compare_snapshot snapshot="S"',
               'element.set name="E%06d" color="#0000ff" visible="0"' % (1 + n // 2),
               'report.restore_snapshot_elements snapshot="S" elements=[%s]' % names]
    compare += ['element.set name="E%06d" color="#0000fe"' % i for i in range(1, n + 1)]
    compare += ['report.compare_snapshot snapshot="S"',
                'report.compare_snapshot snapshot="S" file="%s"' % os.path.join(work, "differences-%d.tsv" % n), ""]
    update = ['host.sample_scene elements="%d"' % n]
    update += ['report.create_snapshot name="P%04d"' % i for i in range(1, snapshots + 1)]
    update += ['legend.set range=["-3", "3"] steps="12"', 'report.update_snapshots snapshots=["*"] ' + LEGEND_ONLY,
               'element.set name="E000002" color="#ff0000"', 'report.update_snapshots snapshots=["*"]', ""]
    return "\n".join(compare), "\n".join(update)


def tools_table(host, work, sizes, snapshots, repeat):
    """The snapshot tools at each size: process CPU ms, median of the runs."""
    cpu, wall, created = {}, {}, {}
    for n in sizes:
        compare, update = tools_scripts(n, snapshots, work)
        runs = [run_host(host, compare, work, "tools-compare-%d-%d" % (n, r))[0] +
                run_host(host, update, work, "tools-update-%d-%d" % (n, r))[0] for r in range(repeat)]
        for label, command, k, _ in TOOL_ROWS:
            cpu[(label, n)] = statistics.median([[c for s, w, c in run if s == command][k] for run in runs])
            wall[(label, n)] = statistics.median([[w for s, w, c in run if s == command][k] for run in runs])
        created[n] = statistics.median([c for run in runs for s, w, c in run if s == "report.create_snapshot"])
    big = sizes[-1]
    lines, missed = [], []
    for label, command, k, target in TOOL_ROWS:
        limit = target if target is not None else snapshots * created[big]
        met = cpu[(label, big)] <= limit
        if not met:
            missed.append(label)
        lines.append([label.replace("N", str(snapshots))] + [fmt(cpu[(label, n)]) for n in sizes] +
                     [fmt(wall[(label, big)]), "<= %s ms" % fmt(limit) +
                      ("" if target is not None else " (%d x create)" % snapshots), "met" if met else "MISSED"])
    print()
    print("snapshot tools, process CPU ms (median of %d runs; create_snapshot %s ms at %d el.)"
          % (repeat, fmt(created[big]), big))
    print_table(["step"] + ["%d el." % n for n in sizes] + ["wall %d" % big, "target", ""], lines)
    return {"%s@%d" % k: {"cpu_ms": cpu[k], "wall_ms": wall[k]} for k in cpu}, missed


def session_script(n):
    """The session of examples/restore_snapshot.kavmacro on a generated scene: the sample's
    elements it changes are replaced by generated ones of the same types."""
    with open(os.path.join(ROOT, "examples", "restore_snapshot.kavmacro")) as f:
        text = f.read()
    text = text.replace("host.sample_scene\n", 'host.sample_scene elements="%d"\n' % n)
    # E000005 is a distance, E000007 a 2D section, as "Width" and "Section Y" are.
    text = text.replace('name="Width"', 'name="E000005"').replace('name="Section Y"', 'name="E000007"')
    return text


def fmt(x):
    if x is None:
        return "-"
    return "%.3g" % x if abs(x) < 100 else "%.0f" % x


def print_table(header, lines):
    widths = [max(len(l[i]) for l in [header] + lines) for i in range(len(header))]
    for i, l in enumerate([header] + lines):
        print("  ".join(c.ljust(widths[k]) if k in (0, len(header) - 2, len(header) - 1) else c.rjust(widths[k])
                        for k, c in enumerate(l)).rstrip())
        if i == 0:
            print("  ".join("-" * w for w in widths))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("host")
    ap.add_argument("--sizes", default="1000,10000,100000")
    ap.add_argument("--repeat", type=int, default=3)
    ap.add_argument("--snapshots", type=int, default=2000)
    ap.add_argument("--snapshot-scene", type=int, default=10000)
    ap.add_argument("--session-elements", type=int, default=100000)
    ap.add_argument("--window-snapshots", type=int, default=200)
    ap.add_argument("--tools-sizes", default="10000,100000")
    ap.add_argument("--tools-snapshots", type=int, default=200)
    ap.add_argument("--json")
    args = ap.parse_args()
    args.host = os.path.abspath(args.host)
    sizes = [int(s) for s in args.sizes.split(",")]
    results = {"steps": {}, "window": {}, "snapshots": None, "session": None}

    with tempfile.TemporaryDirectory(prefix="mvp-bench-app-") as work:
        cpu, wall, labels = {}, {}, {}
        for n in sizes:
            runs = [run_host(args.host, step_script(n, work), work, "steps-%d-%d" % (n, r))[0]
                    for r in range(args.repeat)]
            for step in STEPS:
                cpu[(step, n)] = statistics.median([next(c for s, w, c in run if s == step) for run in runs])
                wall[(step, n)] = statistics.median([next(w for s, w, c in run if s == step) for run in runs])
            # The labels the paint's layout went through (the last "labels" line of a run).
            labels[n] = int([c for s, w, c in runs[0] if s == "labels"][-1])
        results["steps"] = {"%s@%d" % k: {"cpu_ms": cpu[k], "wall_ms": wall[k]} for k in cpu}

        big, mid = sizes[-1], (sizes[-2] if len(sizes) > 1 else None)
        lines = []
        missed = []
        for step in STEPS:
            limit = 0.5 if step in ("report.restore_whole_snapshot", "report.restore_by_template", "edit.undo",
                                    "edit.redo") else 1.0
            limit_ms = {"element.set": 20.0, "paint": 100.0, "frame_all": 50.0,
                        "explorer_filter": 100.0, "label_layout": 100.0}.get(step, limit * 1000.0)
            growth = None
            if mid:
                growth = (cpu[(step, big)] / big) / max(cpu[(step, mid)] / mid, 1e-9)
            met = cpu[(step, big)] <= limit_ms and (growth is None or growth <= 1.5)
            if not met:
                missed.append(step)
            lines.append([step] + [fmt(cpu[(step, n)]) for n in sizes] + [fmt(wall[(step, big)]),
                         "-" if growth is None else "%.2fx" % growth,
                         "<= %s ms, growth <= 1.5x" % fmt(limit_ms), "met" if met else "MISSED"])
        print("mvp-host --script --timings, process CPU ms (median of %d runs)" % args.repeat)
        print_table(["step"] + ["%d el." % n for n in sizes] + ["wall %d" % big, "growth", "target", ""], lines)
        print("labels laid out: " + ", ".join("%d at %d el." % (labels[n], n) for n in sizes))

        # The Snapshots panel and the Differences window as they open, one run per size (the
        # script changes every element with a command of its own).
        if args.window_snapshots > 0:
            timed = {}
            for n in sizes:
                steps = run_host(args.host, window_script(n, args.window_snapshots), work, "window-%d" % n,
                                 ["--pictures"])[0]
                for step in ("snapshot_panel", "differences"):
                    timed[(step, n)] = next((w, c) for s, w, c in steps if s == step)
            results["window"] = {"%s@%d" % k: {"cpu_ms": v[1], "wall_ms": v[0]} for k, v in timed.items()}
            lines = []
            for step, what in (("snapshot_panel", "%d snapshots" % args.window_snapshots),
                               ("differences", "n rows")):
                met = timed[(step, big)][1] <= 300.0
                if not met:
                    missed.append(step)
                lines.append(["%s (%s)" % (step, what)] + [fmt(timed[(step, n)][1]) for n in sizes]
                             + [fmt(timed[(step, big)][0]), "<= 300 ms", "met" if met else "MISSED"])
            print()
            print("the window opening, process CPU ms (one run)")
            print_table(["step"] + ["%d el." % n for n in sizes] + ["wall %d" % big, "target", ""], lines)
        if args.tools_sizes:
            tools_sizes = [int(x) for x in args.tools_sizes.split(",")]
            results["tools"], tools_missed = tools_table(args.host, work, tools_sizes, args.tools_snapshots,
                                                         args.repeat)
            missed += tools_missed

        # Snapshots one after another in one scene.
        if args.snapshots > 0:
            text = 'host.sample_scene elements="%d"\n' % args.snapshot_scene
            text += "report.create_snapshot\n" * args.snapshots
            steps, whole, rss = run_host(args.host, text, work, "snapshots")
            times = [c for s, w, c in steps if s == "report.create_snapshot"]
            k = max(1, min(100, len(times) // 10))
            first, last = statistics.mean(times[:k]), statistics.mean(times[-k:])
            ok = max(times) <= 20.0 and last <= 1.2 * first
            results["snapshots"] = {"count": len(times), "first_ms": times[0], "max_ms": max(times),
                                    "first_mean_ms": first, "last_mean_ms": last}
            print()
            print("%d snapshots at %d elements: first %s ms, max %s ms, mean of the first %d %s ms, of the last %d "
                  "%s ms (target: each <= 20 ms, the last no slower than the first, <= 1.2x): %s"
                  % (len(times), args.snapshot_scene, fmt(times[0]), fmt(max(times)), k, fmt(first), k, fmt(last),
                     "met" if ok else "MISSED"))
            if not ok:
                missed.append("snapshots")

        # The example session on a large generated scene, as a whole process.
        if args.session_elements > 0:
            steps, whole, rss = run_host(args.host, session_script(args.session_elements), work, "session")
            ok = whole[0] <= 10.0 and rss <= 1.5 * 1024 ** 3
            results["session"] = {"wall_s": whole[0], "cpu_s": whole[1], "peak_rss_bytes": rss}
            print("example session at %d elements: %.2f s wall, %.2f s cpu, peak RSS %.0f MiB "
                  "(target: <= 10 s, <= 1536 MiB): %s"
                  % (args.session_elements, whole[0], whole[1], rss / 1024 ** 2, "met" if ok else "MISSED"))
            if not ok:
                missed.append("session")

    if args.json:
        with open(args.json, "w") as f:
            json.dump(results, f, indent=1)
    print()
    print("every target is met" if not missed else "missed: " + ", ".join(missed))
    # Why a figure may miss, as far as profiling has shown it.
    reasons = {
        "snapshots": "a snapshot of 10,000 unchanged elements takes about 0.4 to 0.6 ms; windows of 100 move by "
                     "a third with the machine's load, so compare with a run on a quiet machine",
    }
    for m in missed:
        if m in reasons:
            print("  %s: %s" % (m, reasons[m]))


if __name__ == "__main__":
    main()
