#!/usr/bin/env python3
"""Mutation sampler: puts single-line faults into the sources one at a time, rebuilds and runs the suite.

A developer's tool, not part of CI. Example (from the repository root):
    cmake --preset qt6 -B build/mutate -DCMAKE_LINK_DEPENDS_NO_SHARED=ON && cmake --build build/mutate
    nice -n 19 python3 scripts/mutate.py --build build/mutate -n 150 --seed 1 access/ host/io
"""
import argparse
import json
import os
import random
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

KEYWORDS = {"return", "delete", "throw", "if", "while", "for", "switch", "case", "else", "do",
            "sizeof", "new", "using", "typedef", "goto", "break", "continue", "emit"}
CALL_RE = re.compile(r"^(\s*)((?:[A-Za-z_]\w*\s*(?:::|\.|->)\s*)*)([A-Za-z_]\w*)\s*\((.*)\)\s*;\s*$")
STREAM_RE = re.compile(r"\b(?:read|write)[A-Z]\w*\s*\(|(?:>>|<<)")
NEGATE = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}


def mask(text):
    """The text with comments, string and character literals blanked, columns kept."""
    out, i, n = list(text), 0, len(text)
    while i < n:
        c, nxt = text[i], text[i + 1] if i + 1 < n else ""
        if c == "/" and nxt == "/":
            while i < n and text[i] != "\n":
                out[i] = " "
                i += 1
        elif c == "/" and nxt == "*":
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            for j in range(i, end):
                if text[j] != "\n":
                    out[j] = " "
            i = end
        elif c == "R" and nxt == '"' and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            delim = text[i + 2:text.find("(", i + 2)]
            end = text.find(")" + delim + '"', i)
            end = n if end < 0 else end + len(delim) + 2
            for j in range(i, end):
                if text[j] != "\n":
                    out[j] = " "
            i = end
        elif c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()):  # 1'000 digit separators
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            for k in range(i, min(j + 1, n)):
                out[k] = " "
            i = j + 1
        else:
            i += 1
    return "".join(out)


def compiled_files(build):
    """Sources in the build's compile database, plus the headers they include (transitively, by name)."""
    with open(os.path.join(build, "compile_commands.json")) as f:
        todo = [os.path.realpath(e["file"]) for e in json.load(f)]
    by_name = {}
    for dirpath, dirnames, filenames in os.walk(ROOT):
        dirnames[:] = [d for d in dirnames if d not in ("build", ".git")]
        for name in filenames:
            if name.endswith(".h"):
                by_name.setdefault(name, []).append(os.path.realpath(os.path.join(dirpath, name)))
    seen = set()
    while todo:
        path = todo.pop()
        if path in seen or not path.startswith(ROOT + os.sep) or not os.path.isfile(path):
            continue
        seen.add(path)
        with open(path, errors="replace") as f:
            for inc in re.findall(r'^\s*#\s*include\s+"([^"]+)"', f.read(), re.M):
                todo.extend(by_name.get(os.path.basename(inc), []))
    return seen


def balanced(s):
    depth = 0
    for c in s:
        depth += {"(": 1, ")": -1}.get(c, 0)
        if depth < 0:
            return False
    return depth == 0


def body_lines(masked):
    """Per line: does it start inside a function body (not at namespace, class or initializer level)?"""
    result, stack, since = [], [], 0
    for pos, c in enumerate(masked):
        if c == "\n":
            result.append(any(stack))
        elif c == "{":
            head = masked[since:pos]
            stack.append(not re.search(r"\b(namespace|class|struct|union|enum)\b|=\s*$", head))
            since = pos + 1
        elif c == "}":
            if stack:
                stack.pop()
            since = pos + 1
        elif c == ";":
            since = pos + 1
    return result + [any(stack)]


def line_mutants(masked, line, in_body):
    """(operator, mutated line) pairs for one line; 'masked' has its comments and literals blanked."""
    found = []
    for m in re.finditer(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)", masked):
        if masked[:m.start()].rstrip().endswith("operator"):
            continue
        found.append(("relational", m.start(), m.end(), NEGATE[m.group(1)]))
    for m in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", masked):
        found.append(("logical", m.start(), m.end(), "||" if m.group(1) == "&&" else "&&"))
    for m in re.finditer(r"\b(true|false)\b", masked):
        found.append(("boolean", m.start(), m.end(), "false" if m.group(1) == "true" else "true"))
    for m in re.finditer(r"(?<![\w.+\-])([+-])(=?)(\s*)1(?![\w.'])", masked):
        sign = "-" if m.group(1) == "+" else "+"
        found.append(("plus-minus-1", m.start(), m.end(), sign + m.group(2) + m.group(3) + "1"))
    result = [(op, line[:a] + rep + line[b:]) for op, a, b, rep in found]
    call = CALL_RE.match(masked)
    if in_body and call and call.group(3) not in KEYWORDS and not call.group(3).isupper() and balanced(call.group(4)) \
            and "=" not in re.sub(r"[=!<>]=", "", masked.split("(")[0]):
        # "{}" rather than ";": an unbraced if, else or loop body still builds under -Werror=empty-body.
        result.append(("call-removed", call.group(1) + "{}" + ("\n" if line.endswith("\n") else "")))
    return result


def is_stream_statement(masked):
    s = masked.strip()
    return s.endswith(";") and bool(STREAM_RE.search(s)) and not s.startswith(("return", "if", "for", "while"))


def collect(folders, build):
    compiled = compiled_files(build)
    files = []
    for folder in folders:
        base = os.path.realpath(os.path.join(ROOT, folder))
        for dirpath, _, filenames in os.walk(base):
            files += [os.path.join(dirpath, f) for f in filenames if f.endswith((".cpp", ".h"))]
    mutants = []
    for path in sorted(set(files)):
        if path not in compiled:
            continue
        with open(path, newline="") as f:
            text = f.read()
        lines = text.splitlines(keepends=True)
        whole = mask(text)
        masked = whole.splitlines(keepends=True)
        in_body = [False] + body_lines(whole)
        rel = os.path.relpath(path, ROOT)
        for i, (line, mline) in enumerate(zip(lines, masked)):
            if mline.lstrip().startswith("#") or not mline.strip():
                continue
            for op, after in line_mutants(mline, line, in_body[i]):
                mutants.append({"file": rel, "line": i + 1, "op": op, "before": [line], "after": [after]})
            if in_body[i] and i + 1 < len(lines) and is_stream_statement(mline) and is_stream_statement(masked[i + 1]) \
                    and line.strip() != lines[i + 1].strip():
                mutants.append({"file": rel, "line": i + 1, "op": "stream-swap", "before": lines[i:i + 2],
                                "after": [lines[i + 1], line]})
    return mutants


def pick(mutants, n, seed):
    chosen = random.Random(seed).sample(range(len(mutants)), min(n, len(mutants)))
    return [mutants[i] for i in sorted(chosen)]


RECORD_RE = re.compile(r"^#(\d+) (\S+?):(\d+) ([\w-]+): (.*?)  ->  (.*?)(?:  => .*)?$")


def locate(path, before, line):
    """Start index of the lines whose stripped texts are `before`, nearest to `line` (None if gone),
    the file's lines, and how many places hold that text."""
    if not os.path.isfile(path):
        return None, None, 0
    with open(path, newline="") as f:
        lines = f.read().splitlines(keepends=True)
    n = len(before)
    hits = [i for i in range(len(lines) - n + 1) if [s.strip() for s in lines[i:i + n]] == before]
    return (min(hits, key=lambda i: abs(i + 1 - line)) if hits else None), lines, len(hits)


def replayed(record, shift=lambda rel, path, line: 0):
    """A mutant from a line of an earlier run's --list or output, found again in today's sources:
    by its 'before' text nearest the recorded line (moved by `shift`) in its file, else in the other
    files of its folder."""
    m = RECORD_RE.match(record.rstrip("\n"))
    if not m:
        return None, None
    k, rel, line, op, before, after = int(m.group(1)), m.group(2), int(m.group(3)), m.group(4), m.group(5), m.group(6)
    if op == "stream-swap":  # two statements joined by " / "; try each place the text splits
        parts = [(before[:i], before[i + 3:]) for i in range(len(before)) if before.startswith(" / ", i)]
        splits = [([a, b], [after[:j], after[j + 3:]]) for a, b in parts for j in range(len(after))
                  if after.startswith(" / ", j) and after[:j] == b and after[j + 3:] == a]
    else:
        splits = [([before], [after])]
    folder = os.path.dirname(os.path.join(ROOT, rel))
    others = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith((".cpp", ".h"))) \
        if os.path.isdir(folder) else []
    for path in [os.path.join(ROOT, rel)] + [o for o in others if o != os.path.join(ROOT, rel)]:
        for b, a in splits:
            start, lines, count = locate(path, b, line + shift(rel, os.path.relpath(path, ROOT), line))
            if start is None:
                continue
            found = lines[start:start + len(b)]
            indent = [s[:len(s) - len(s.lstrip())] for s in found]
            ends = [s[len(s.rstrip("\r\n")):] for s in found]
            if op == "stream-swap":
                new = [found[1], found[0]]
            else:
                new = [indent[0] + a[0] + ends[0]]
            return k, {"file": os.path.relpath(path, ROOT), "line": start + 1, "op": op, "before": found, "after": new,
                       "old": (rel, line), "unique": count == 1}
    return k, {"file": rel, "line": line, "op": op, "before": [before], "after": [after], "stale": True}


def describe(k, m):
    before = " / ".join(s.strip() for s in m["before"])
    after = " / ".join(s.strip() for s in m["after"])
    return "#%d %s:%d %s: %s  ->  %s" % (k, m["file"], m["line"], m["op"], before, after)


def run(cmd, timeout, log):
    """Exit code of cmd, or None when it ran past timeout (its whole process group is killed)."""
    proc = subprocess.Popen(cmd, cwd=ROOT, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    finally:
        if proc.poll() is None:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()


def try_mutant(m, args, log):
    if m.get("stale"):
        return "stale"
    path = os.path.join(ROOT, m["file"])
    with open(path, newline="") as f:
        original = f.read()
    lines = original.splitlines(keepends=True)
    start = m["line"] - 1
    if lines[start:start + len(m["before"])] != m["before"]:
        return "stale"  # the source changed during the run
    try:
        with open(path, "w", newline="") as f:
            f.write("".join(lines[:start] + m["after"] + lines[start + len(m["before"]):]))
        built = run(["cmake", "--build", args.build], args.build_timeout, log)
        if built != 0:
            return "did not build"
        tested = run(["ctest", "--test-dir", args.build, "-j%d" % args.jobs, "--stop-on-failure",
                      "--timeout", str(args.timeout)], args.timeout * 2, log)
        return "survived" if tested == 0 else "killed"
    finally:
        with open(path, "w", newline="") as f:
            f.write(original)
        with open(path, newline="") as f:
            if f.read() != original:
                raise RuntimeError("could not restore " + m["file"])


def indices(ranges, count):
    chosen = set()
    for part in ranges.split(","):
        a, _, b = part.partition("-")
        chosen.update(range(int(a), int(b or a) + 1))
    return [k for k in sorted(chosen) if 1 <= k <= count]


def git_status(folders):
    return subprocess.run(["git", "status", "--porcelain", "--"] + folders, cwd=ROOT,
                          capture_output=True, text=True, check=True).stdout


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("folders", nargs="*", help="source folders, relative to the repository root")
    p.add_argument("--build", required=True, help="a configured and built build directory")
    p.add_argument("-n", type=int, default=150, help="number of mutants (default 150)")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--replay", metavar="FILE", help="run the mutants of an earlier run's --list or output "
                   "again, found by their text in today's sources (numbers kept; 'stale' where the text is gone)")
    p.add_argument("--list", action="store_true", help="print the mutants without running them")
    p.add_argument("--only", help="run only these mutants, e.g. 3,7,10-12")
    p.add_argument("--shuffle", action="store_true", help="run in a seeded random order (a cut-short run stays a fair sample)")
    p.add_argument("--timeout", type=int, default=60, help="seconds per test; a mutant over twice that is killed")
    p.add_argument("--build-timeout", type=int, default=1800)
    p.add_argument("-j", "--jobs", type=int, default=2)
    p.add_argument("--log", default=os.devnull, help="file for the build and test output")
    args = p.parse_args()
    args.build = os.path.abspath(args.build)

    if not args.folders and not args.replay:
        p.error("give the source folders (or --replay FILE)")
    if args.replay:
        with open(args.replay) as f:
            records = f.readlines()
        # A text found at one place only tells how far its part of the file moved; a text found
        # at several places is taken nearest its old line moved as far as its nearest such anchor.
        anchors = {}
        for k, m in filter(lambda r: r[0] is not None, map(replayed, records)):
            if m.get("unique"):
                anchors.setdefault((m["old"][0], m["file"]), []).append((m["old"][1], m["line"] - m["old"][1]))
        shift = lambda rel, path, line: min(anchors[rel, path], key=lambda a: abs(a[0] - line))[1] \
            if (rel, path) in anchors else 0
        found = dict(r for r in (replayed(rec, shift) for rec in records) if r[0] is not None)
        mutants = [found.get(k) for k in range(1, max(found, default=0) + 1)]
        chosen = [k for k in (indices(args.only, len(mutants)) if args.only else range(1, len(mutants) + 1))
                  if mutants[k - 1] is not None]
        args.folders = args.folders or sorted({os.path.dirname(m["file"]) for m in mutants if m})
    else:
        mutants = pick(collect(args.folders, args.build), args.n, args.seed)
        chosen = indices(args.only, len(mutants)) if args.only else list(range(1, len(mutants) + 1))
    if args.shuffle:
        random.Random(args.seed).shuffle(chosen)
    if args.list:
        for k in chosen:
            print(describe(k, mutants[k - 1]))
        return 0

    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    status_before = git_status(args.folders)
    counts = {"killed": 0, "survived": 0, "did not build": 0, "stale": 0}
    survivors = []
    try:
        with open(args.log, "a") as log:
            for k in chosen:
                t = time.time()
                result = try_mutant(mutants[k - 1], args, log)
                counts[result] = counts.get(result, 0) + 1
                if result == "survived":
                    survivors.append(k)
                print("%s  => %s (%.0f s)" % (describe(k, mutants[k - 1]), result, time.time() - t), flush=True)
    except KeyboardInterrupt:
        print("interrupted", flush=True)
    finally:
        if git_status(args.folders) != status_before:
            print("ERROR: the sources differ from before the run: check git diff", file=sys.stderr)
            return 2
    built = counts["killed"] + counts["survived"]
    print("killed %d, survived %d, did not build %d, stale %d; kill rate %.1f %% of %d built"
          % (counts["killed"], counts["survived"], counts["did not build"], counts["stale"],
             100.0 * counts["killed"] / built if built else 0.0, built))
    if survivors:
        print("survivors: " + ",".join(map(str, survivors)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
