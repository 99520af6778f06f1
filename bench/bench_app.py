#!/usr/bin/env python3
"""The application benchmark: runs mvp-host as a user does (headless, --script with a generated
script, offscreen) and reads the time of each step from the application itself (--timings).

usage: bench_app.py MVP_HOST [--sizes 1000,10000,100000] [--repeat 3] [--snapshots 2000]
                             [--snapshot-scene 10000] [--session-elements 100000] [--json FILE]

Prints the table: each step at each size (median of the runs, process CPU time), the wall
time at the largest size, the growth of the time per element from the second to the largest
size, the target and whether it is met. Then the snapshot series and the example session."""

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


def run_host(host, script_text, work, name):
    """Runs one script; answers the list of (step, wall ms, cpu ms), the whole wall and cpu
    seconds and the peak RSS in bytes. A "labels <n>" line (after a label layout's time) is
    kept as the step "labels" with n for its times."""
    script = os.path.join(work, name + ".kavmacro")
    with open(script, "w") as f:
        f.write(script_text)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    config = os.path.join(work, "config-" + name)
    cmd = ["/usr/bin/time", "-f", "peak-rss-kb %M\nwhole %e %U %S", host, "--script", script, "--timings",
           "--config-root", config]
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
    ap.add_argument("--json")
    args = ap.parse_args()
    args.host = os.path.abspath(args.host)
    sizes = [int(s) for s in args.sizes.split(",")]
    results = {"steps": {}, "snapshots": None, "session": None}

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
        "snapshots": "2,000 snapshots of 10,000 elements hold about 5.8 GB; late ones are slower only where "
                     "they touch memory the machine gives out for the first time (page faults, pages cleared)",
    }
    for m in missed:
        if m in reasons:
            print("  %s: %s" % (m, reasons[m]))


if __name__ == "__main__":
    main()
