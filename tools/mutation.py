#!/usr/bin/env python3
"""Injects small faults into src/ one at a time and tells which ones the test suite catches.

Usage: tools/mutation.py BUILD_DIR [--count N] [--seed S] [--only REGEX] [--list]
                         [--ctest-args "-R 'tst_(Foo|Bar)'"]  (split as a shell would)

BUILD_DIR is a configured build of this tree with the tests (e.g. build/dev). Each mutant
changes one line of a .cpp file under src/ (a comparison flipped, a constant moved by one, a
logical operator swapped, a call statement removed), rebuilds, runs ctest and puts the line back.
A mutant that does not compile is skipped. The file is always restored, also on Ctrl+C.
"""
import argparse
import pathlib
import random
import re
import shlex
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

# (pattern, replacement) pairs; each is tried on a line where the pattern occurs.
OPERATORS = [
    (r"==", "!="), (r"!=", "=="), (r"(?<![<>=!])<=", "<"), (r"(?<![<>=!-])>=", ">"),
    (r"(?<![<>=-])<(?![<=])(?=\s)", "<="), (r"(?<![<>=-])>(?![>=])(?=\s)", ">="),
    (r"&&", "||"), (r"\|\|", "&&"), (r"(?<![+\w])\+(?![+=])(?=\s)", "-"),
    (r"(?<![-\w>])-(?![-=>])(?=\s)", "+"),
]
CONSTANT = re.compile(r"(?<![\w.])([0-9]+)(?![\w.])")
SKIP = re.compile(r"^\s*(//|#|\*|/\*)|static_assert|QT_TRANSLATE_NOOP|tr\(|translate\(")
CALL_STATEMENT = re.compile(r"^\s*[\w:.>\-]+\(.*\);\s*$")


def candidates(only):
    out = []
    for path in sorted((ROOT / "src").rglob("*.cpp")):
        rel = path.relative_to(ROOT).as_posix()
        if only and not re.search(only, rel):
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if SKIP.search(line) or '"' in line:
                continue
            for pattern, repl in OPERATORS:
                for m in re.finditer(pattern, line):
                    out.append((rel, number, line[:m.start()] + repl + line[m.end():]))
            for m in CONSTANT.finditer(line):
                value = int(m.group(1))
                out.append((rel, number, line[:m.start()] + str(value + 1) + line[m.end():]))
            if CALL_STATEMENT.match(line) and "return" not in line:
                out.append((rel, number, re.sub(r"\S.*", ";", line)))
    return out


def run(cmd, cwd, timeout):
    try:
        return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--count", type=int, default=20)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--only", default="")
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--ctest-args", default="")
    args = ap.parse_args()
    build = pathlib.Path(args.build).resolve()

    pool = candidates(args.only)
    random.Random(args.seed).shuffle(pool)
    caught = survived = 0
    tried = 0
    for rel, number, mutated in pool:
        if tried >= args.count:
            break
        path = ROOT / rel
        original = path.read_bytes()
        lines = original.decode("utf-8").split("\n")
        before = lines[number - 1]
        if args.list:
            print(f"{rel}:{number}: {before.strip()}  ->  {mutated.strip()}")
            tried += 1
            continue
        lines[number - 1] = mutated
        try:
            path.write_bytes("\n".join(lines).encode("utf-8"))
            if run(["cmake", "--build", str(build)], build, 900) != 0:
                continue  # does not compile: not a mutant
            tried += 1
            code = run(["ctest", "-j2", "--timeout", "120"] + shlex.split(args.ctest_args), build, 1800)
            verdict = "caught" if code != 0 else "SURVIVED"
            caught += code != 0
            survived += code == 0
            print(f"{verdict:8} {rel}:{number}: {before.strip()}  ->  {mutated.strip()}",
                  flush=True)
        finally:
            path.write_bytes(original)
    if not args.list and tried:
        print(f"{caught} of {tried} caught ({100 * caught // tried}%), {survived} survived")
    run(["cmake", "--build", str(build)], build, 900)


if __name__ == "__main__":
    sys.exit(main())
