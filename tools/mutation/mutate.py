#!/usr/bin/env python3
"""Mutation testing of the program's logic.

  mutate.py sample [--seed N] [--per-area N]        draws the fixed sample (tools/mutation/sample.tsv)
  mutate.py run --build DIR [--out FILE] [--jobs N]  applies each mutant in turn, builds, runs the tests
  mutate.py summary FILE                             kill share per area of one run
  mutate.py compare BEFORE AFTER                     mutants whose outcome differs between two runs

A mutant changes one line: a relational, arithmetic or logical operator, a constant, a condition or a deleted
statement. The run builds incrementally, runs only the test programs the build relinked, quickest first, and
stops at the first failure. A mutant that does not compile is stillborn and does not count. Results are appended
to the output file one line per mutant, so an interrupted run resumes where it stopped.
"""
import argparse
import concurrent.futures
import json
import os
import random
import re
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
# Test programs that run programs of the build rather than link the code: they are run whenever those are relinked.
DRIVES = {"test_cli": ["app/velmaro-cli", "tools/sensor-emulator/sensor-emulator"]}
HERE = Path(__file__).resolve().parent

AREAS = {
    "codec": ["nrf_stm_proto/*.c"],
    "protocol": ["protocol/wireframe.cpp", "protocol/requests.cpp", "protocol/responses.cpp",
                 "protocol/devicerecords.cpp", "protocol/wireobjects.cpp"],
    "link": ["link/serialparser.cpp", "link/serialparserworker.cpp"],
    "connection": ["connection/sensorconnection.cpp", "connection/sensorsequences.cpp",
                   "connection/sensorsequence.cpp", "connection/sensorfacts.cpp", "connection/sensorsnapshot.cpp",
                   "connection/portlist.cpp", "connection/portmonitor.cpp"],
    "catalogue": ["protocol/tankcatalogue.cpp", "protocol/tankkind.cpp"],
    "window": ["ui/mainwindow*.cpp", "ui/tabs/*.cpp"],
    "cli": ["cli/*.cpp"],
    "report": ["report/*.cpp"],
}

SWAPS = {"==": "!=", "!=": "==", "<=": "<", ">=": ">", "<": "<=", ">": ">=", "+": "-", "-": "+",
         "&&": "||", "||": "&&"}
BINARY_OP = re.compile(r"(?<= )(==|!=|<=|>=|<|>|\+|-|&&|\|\|)(?= )")
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
BOOL = re.compile(r"\b(true|false)\b")
IF_OPEN = re.compile(r"\b(if|while) \(")
SKIPPED_LINE = re.compile(r"^\s*(#|//|\*|/\*|case |default:|break;|continue;|[{}]\s*$|[})])")
DECLARATION = re.compile(r"^\s*(?!(emit|delete|throw|else) )(return\b|(const |static |constexpr )*[\w:<>]+[\s*&]+\w+\s*[=;{(\[])")
# Log and dump lines say what happened; they are not the logic under test.
LOGGING = re.compile(r"\bq(Debug|Info|Warning|Critical|C[A-Z]\w*)\(|\bmessage\(|printf\(|puts\(|fwrite\(|^\s*<<")


def blank_literals(line):
    """The line with string and character literals and any trailing comment blanked, columns unchanged."""
    out, i, quote = [], 0, None
    while i < len(line):
        c = line[i]
        if quote:
            out.append(" ")
            if c == "\\":
                out.append(" ")
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(" ")
        elif line.startswith("//", i):
            out.extend(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def closing_paren(text, start):
    depth = 0
    for i in range(start, len(text)):
        depth += {"(": 1, ")": -1}.get(text[i], 0)
        if depth == 0:
            return i
    return -1


def sites(lines):
    """Every mutation this file offers: (line number, operator, mutated line)."""
    found, in_block_comment, previous = [], False, ";"
    for number, line in enumerate(lines, 1):
        stripped = line.strip()
        if in_block_comment or stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        code = blank_literals(line)
        starts_statement = previous[-1:] in (";", "{", "}", ":")
        if stripped:
            previous = code.rstrip() or previous
        if not stripped or SKIPPED_LINE.match(line) or "Q_OBJECT" in line or LOGGING.search(code):
            continue
        for m in BINARY_OP.finditer(code):
            op = m.group(1)
            found.append((number, "operator " + op, line[:m.start()] + SWAPS[op] + line[m.end():]))
        for m in NUMBER.finditer(code):
            value = int(m.group(1))
            found.append((number, "constant " + m.group(1), line[:m.start()] + str(value + 1 if value != 1 else 0)
                          + line[m.end():]))
        for m in BOOL.finditer(code):
            other = "false" if m.group(1) == "true" else "true"
            found.append((number, "constant " + m.group(1), line[:m.start()] + other + line[m.end():]))
        for m in IF_OPEN.finditer(code):
            open_at = m.end() - 1
            close_at = closing_paren(code, open_at)
            if close_at > 0:
                found.append((number, "condition " + m.group(1),
                              line[:open_at + 1] + "!(" + line[open_at + 1:close_at] + ")" + line[close_at:]))
        if starts_statement and code.rstrip().endswith(";") and not DECLARATION.match(code):
            indent = line[:len(line) - len(line.lstrip())]
            found.append((number, "deleted statement", indent + ";"))
    return found


def area_files(patterns):
    return sorted({p for pattern in patterns for p in ROOT.glob(pattern)})


def cmd_sample(args):
    rng = random.Random(args.seed)
    print("# id\tarea\tfile\tline\tmutation\toriginal\tmutated")
    number = 0
    for area, patterns in AREAS.items():
        candidates = []
        for path in area_files(patterns):
            lines = path.read_text().split("\n")
            for line, op, mutated in sites(lines):
                candidates.append((str(path.relative_to(ROOT)), line, op, lines[line - 1], mutated))
        for file, line, op, original, mutated in sorted(rng.sample(candidates, args.per_area)):
            number += 1
            print("\t".join([f"M{number:03d}", area, file, str(line), op, original.strip("\n"), mutated]))


def read_sample(path):
    sample = []
    for row in path.read_text().split("\n"):
        if row and not row.startswith("#"):
            ident, area, file, line, op, original, mutated = row.split("\t")
            sample.append(dict(id=ident, area=area, file=file, line=int(line), op=op, original=original,
                               mutated=mutated))
    return sample


def sampled_line(lines, mutant, reach=40):
    """The index of the sampled line: where it was, or the nearest line that reads the same if lines above it were
    added or removed since the sample was drawn; None when it is gone."""
    for distance in range(reach + 1):
        for index in {mutant["line"] - 1 - distance, mutant["line"] - 1 + distance}:
            if 0 <= index < len(lines) and lines[index] == mutant["original"]:
                return index
    return None


def build(build_dir):
    done = subprocess.run(["cmake", "--build", str(build_dir), "-j2"], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True)
    return done.returncode == 0


class Suite:
    """The test programs split into units (one function, or one data row of a slow function) with their times."""

    def __init__(self, build_dir, jobs):
        self.build_dir, self.jobs = build_dir, jobs
        listing = json.loads(subprocess.check_output(["ctest", "--show-only=json-v1"], cwd=build_dir))
        self.programs = []
        for test in listing["tests"]:
            props = {p["name"]: p["value"] for p in test.get("properties", [])}
            env = dict(os.environ, **dict(v.split("=", 1) for v in props.get("ENVIRONMENT", [])))
            # A test run through a launcher (umockdev-wrapper) is the program after it.
            exe = next((c for c in test["command"] if Path(c).name.startswith(("test_", "replay_"))),
                       test["command"][0])
            self.programs.append(dict(name=test["name"], command=test["command"], exe=exe, env=env,
                                      cwd=props.get("WORKING_DIRECTORY", str(build_dir))))
        # Kept only for the test programs it was measured on: a rebuilt test may have other functions.
        cache = build_dir / "mutation-units.json"
        key = [list(t) for t in self.exe_times()]
        cached = json.loads(cache.read_text()) if cache.exists() else {}
        self.units = cached["units"] if cached.get("key") == key else self.measure(cache, key)

    def run_unit(self, unit, timeout):
        program = self.programs[unit["program"]]
        started = time.monotonic()
        try:
            done = subprocess.run(program["command"] + unit["args"], cwd=program["cwd"], env=program["env"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)
            outcome = "pass" if done.returncode == 0 else "fail"
        except subprocess.TimeoutExpired:
            outcome = "timeout"
        return outcome, time.monotonic() - started

    def measure(self, cache, key):
        units = []
        for index, program in enumerate(self.programs):
            if not Path(program["exe"]).name.startswith("test_"):
                units.append(dict(program=index, args=[], name=program["name"]))
                continue
            listing = subprocess.check_output(program["command"] + ["-datatags"], cwd=program["cwd"],
                                              env=program["env"], text=True)
            rows = {}
            for row in listing.split("\n"):
                parts = row.split(" ", 2)
                if len(parts) >= 2:
                    rows.setdefault(parts[1], []).append(parts[2] if len(parts) == 3 else None)
            for function, tags in rows.items():
                whole = dict(program=index, args=[function], name=f"{program['name']} {function}")
                outcome, seconds = self.run_unit(whole, 300)
                if seconds > 3 and None not in tags:
                    units.extend(dict(program=index, args=[f"{function}:{tag}"], name=f"{whole['name']}:{tag}")
                                 for tag in tags)
                else:
                    units.append(whole)
        failing = []
        with concurrent.futures.ThreadPoolExecutor(self.jobs) as pool:
            for unit, (outcome, seconds) in zip(units, pool.map(lambda u: self.run_unit(u, 300), units)):
                unit["seconds"] = round(seconds, 3)
                if outcome != "pass":
                    failing.append(unit["name"])
        if failing:
            sys.exit("unmutated code fails: " + ", ".join(failing))
        cache.write_text(json.dumps({"key": key, "units": units}, indent=1))
        return units

    def exe_times(self):
        return [tuple(Path(f).stat().st_mtime_ns for f in [p["exe"]] +
                      [str(self.build_dir / d) for d in DRIVES.get(p["name"], [])]) for p in self.programs]

    def first_failure(self, programs):
        """Runs the units of the given programs, quickest first; returns the first failing unit or None."""
        units = sorted((u for u in self.units if u["program"] in programs), key=lambda u: u["seconds"])
        pool = concurrent.futures.ThreadPoolExecutor(self.jobs)
        pending = {pool.submit(self.run_unit, u, max(20.0, 4 * u["seconds"])): u for u in units}
        killer = None
        try:
            for future in concurrent.futures.as_completed(pending):
                outcome, _ = future.result()
                if outcome != "pass":
                    killer = (pending[future]["name"], outcome)
                    break
        finally:
            for future in pending:
                future.cancel()
            pool.shutdown(wait=True)
        return killer


def cmd_run(args):
    build_dir = Path(args.build).resolve()
    if not (build_dir / "CMakeCache.txt").exists():
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build_dir), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=",
                        "-DCMAKE_C_FLAGS=-O0", "-DCMAKE_CXX_FLAGS=-O0", "-DVELMARO_BENCH=OFF",
                        "-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"], check=True, stdout=subprocess.DEVNULL)
    if not build(build_dir):
        sys.exit("the unmutated tree does not build")
    os.environ["QT_QPA_PLATFORM"] = "offscreen"
    suite = Suite(build_dir, args.jobs)
    out = Path(args.out)
    done = {row[0] for row in read_results(out)} if out.exists() else set()
    if not done:
        out.write_text("# id\tarea\toutcome\tkilled by\tseconds\n")
    originals = {}
    try:
        for mutant in read_sample(Path(args.sample)):
            if mutant["id"] in done or (args.only and mutant["id"] not in args.only):
                continue
            path = ROOT / mutant["file"]
            originals.setdefault(path, path.read_text())
            for other, text in originals.items():
                if other != path and other.read_text() != text:
                    other.write_text(text)
            lines = originals[path].split("\n")
            index = sampled_line(lines, mutant)
            if index is None:
                sys.exit(f"{mutant['id']}: {mutant['file']}:{mutant['line']} no longer reads as sampled")
            lines[index] = mutant["mutated"]
            path.write_text("\n".join(lines))
            started = time.monotonic()
            before = suite.exe_times()
            if not build(build_dir):
                outcome, killer = "stillborn", ""
            else:
                relinked = {i for i, (a, b) in enumerate(zip(before, suite.exe_times())) if a != b}
                failure = suite.first_failure(relinked)
                outcome, killer = ("killed", f"{failure[0]} ({failure[1]})") if failure else ("survived", "")
            seconds = time.monotonic() - started
            with out.open("a") as f:
                f.write(f"{mutant['id']}\t{mutant['area']}\t{outcome}\t{killer}\t{seconds:.0f}\n")
            print(f"{mutant['id']} {mutant['file']}:{mutant['line']} {mutant['op']}: {outcome} {killer}", flush=True)
    finally:
        for path, text in originals.items():
            path.write_text(text)
        build(build_dir)
    summarise(out)


def read_results(out):
    """The rows of a results file: id, area, outcome, killed by, seconds."""
    return [row.split("\t") for row in out.read_text().split("\n")[1:] if row]


def summarise(out):
    rows = read_results(out)
    counts = {}
    for row in rows:
        area = counts.setdefault(row[1], {"killed": 0, "survived": 0, "stillborn": 0})
        area[row[2]] += 1
    total = {k: sum(a[k] for a in counts.values()) for k in ("killed", "survived", "stillborn")}
    for name, c in sorted(counts.items()) + [("all", total)]:
        valid = c["killed"] + c["survived"]
        share = 100.0 * c["killed"] / valid if valid else 0.0
        print(f"{name:<11} killed {c['killed']:3d} of {valid:3d} ({share:5.1f} %), stillborn {c['stillborn']}")


def compare(before_path, after_path):
    """Lists the mutants whose outcome differs between two runs of the same sample."""
    before, after = ({row[0]: row[2] for row in read_results(path)} for path in (before_path, after_path))
    for ident in sorted(before.keys() & after.keys()):
        if before[ident] != after[ident]:
            print(f"{ident}: {before[ident]} before, {after[ident]} after")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    sample = commands.add_parser("sample")
    sample.add_argument("--seed", type=int, default=17)
    sample.add_argument("--per-area", type=int, default=30)
    run = commands.add_parser("run")
    run.add_argument("--build", required=True)
    run.add_argument("--sample", default=str(HERE / "sample.tsv"))
    run.add_argument("--out", required=True)
    run.add_argument("--jobs", type=int, default=6)
    run.add_argument("--only", type=lambda s: set(s.split(",")))
    summary = commands.add_parser("summary")
    summary.add_argument("out")
    differences = commands.add_parser("compare")
    differences.add_argument("before")
    differences.add_argument("after")
    args = parser.parse_args()
    {"sample": cmd_sample, "run": cmd_run, "summary": lambda a: summarise(Path(a.out)),
     "compare": lambda a: compare(Path(a.before), Path(a.after))}[args.command](args)


if __name__ == "__main__":
    main()
