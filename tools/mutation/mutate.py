#!/usr/bin/python3
"""mutate.py -- mutation testing of the portable code against the native unit tests.

Usage: tools/mutation/mutate.py [--seed 2026] [--count 15] [--matrix FILE] [--report FILE] [FILE...]

Each source file gets a seeded sample of mutants (same seed, same mutants): a comparison or
arithmetic operator swapped, an integer constant moved by one, an if/while condition forced
true or false, or an expression statement removed; comments, strings and preprocessor lines are
left alone. The tool copies the tree once to build/mutation/tree, configures a build without
sanitizers in build/mutation/build, and for each mutant rewrites the one file, rebuilds the
native test programs incrementally and runs them with a time-out (a hang counts as killed and is
marked "hung"; the default time-out is five times a clean run, at least 10 s). The
report gives killed, survived and did-not-compile per file and the score killed / (killed +
survived), and lists each survivor. With --matrix it runs every test for every mutant and writes
which tests kill each one, and the report names tests whose kills others all repeat.
"""
import argparse, json, os, random, re, shutil, signal, subprocess, sys, time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WORK = os.path.join(ROOT, "build", "mutation")
TREE, BUILD, RUN = (os.path.join(WORK, name) for name in ("tree", "build", "run"))
COPIED = ("CMakeLists.txt", "cmake", "src", "tests", "tools")
TARGETS = ("quadrone_unit_tests", "quadrone_tool_tests")
PROGRAMS = [os.path.join(BUILD, "tests", "core", target) for target in TARGETS]
FILES = ["src/core/game/board.cpp", "src/core/game/frame.cpp", "src/core/game/frame_state.cpp",
         "src/core/game/high_scores.cpp", "src/core/game/keyboard.cpp", "src/core/archive/resource_archive.cpp",
         "src/core/display/bitmap_file.cpp", "src/core/audio/wave_file.cpp", "src/core/audio/chunk_fill.cpp",
         "src/core/shell/shell.cpp", "src/core/shell/screen.cpp", "src/core/log/debug_log.cpp",
         "src/core/common/random.cpp"]

COMPARISONS = {"<": ["<=", ">"], "<=": ["<", ">"], ">": [">=", "<"], ">=": [">", "<"],
               "==": ["!="], "!=": ["=="]}
ARITHMETIC = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+=", "*=": "/=",
              "/=": "*=", "++": "--", "--": "++"}
NOT_EXPRESSIONS = {"return", "break", "continue", "goto", "throw", "case", "default", "delete",
                   "using", "typedef", "static_assert", "else", "do"}
EXPRESSION_START = re.compile(r"(\+\+|--)?\s*\*?\s*[\w:]+(\s*(\.|->)\s*\w+)*\s*"
                              r"(\(|=(?!=)|[-+*/%|&^]=|<<=|>>=|\+\+|--)")


def code_only(text):
    """The text with comments, string and character literals and preprocessor lines blanked."""
    out, i, n = list(text), 0, len(text)
    def blank(start, end):
        for k in range(start, end):
            if out[k] != "\n":
                out[k] = " "
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            end = i
            while end < n and (text[end] != "\n" or text[end - 1] == "\\"):
                end += 1
            blank(i, end)
            i = end
            continue
        if c == "\n":
            line_start = True
        elif not c.isspace():
            line_start = False
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
        elif c in "\"'":
            end = i + 1
            while end < n and text[end] != c:
                end += 2 if text[end] == "\\" else 1
            end += 1
        else:
            i += 1
            continue
        blank(i, end)
        i = end
    return "".join(out)


def candidates(text):
    """Every mutant of one file as (offset, length, replacement, description, kind)."""
    code, found = code_only(text), []
    for m in re.finditer(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)", code):
        found += [(m.start(), len(m.group()), new, f"`{m.group()}` -> `{new}`", "comparison")
                  for new in COMPARISONS[m.group()]]
    for m in re.finditer(r"(?<=\s)([-+*/]=?)(?=\s)|\+\+|--", code):
        found.append((m.start(), len(m.group()), ARITHMETIC[m.group()],
                      f"`{m.group()}` -> `{ARITHMETIC[m.group()]}`", "arithmetic"))
    for m in re.finditer(r"(?<![\w.])(0[xX][0-9A-Fa-f]+|\d+)([uUlL]*)(?![\w.'])", code):
        value, digits = int(m.group(1), 0), m.group(1)
        for moved in (value + 1, value - 1) if value > 0 else (value + 1,):
            new = (hex(moved) if digits[:2].lower() == "0x" else str(moved)) + m.group(2)
            found.append((m.start(), len(m.group()), new, f"`{m.group()}` -> `{new}`", "constant"))
    for m in re.finditer(r"\b(if|while)\s*\(", code):
        depth, end = 0, m.end() - 1
        for end in range(m.end() - 1, len(code)):
            depth += {"(": 1, ")": -1}.get(code[end], 0)
            if depth == 0:
                break
        if code[m.end():end].strip().startswith("constexpr"):
            continue
        for forced in ("true", "false"):
            found.append((m.end(), end - m.end(), forced, f"{m.group(1)} condition forced {forced}",
                          "condition"))
    offset = 0
    for line in code.split("\n"):
        statement = line.strip()
        before = code[:offset].rstrip()
        if (statement.endswith(";") and (not before or before[-1] in ";{}:")
                and statement.split()[0].rstrip(";") not in NOT_EXPRESSIONS
                and EXPRESSION_START.match(re.sub(r"\[[^\]]*\]", "", statement))):
            start = offset + line.index(statement)
            found.append((start, len(statement), "", "statement removed", "statement"))
        offset += len(line) + 1
    return sorted(found)


def sample(path, text, seed, count):
    """A seeded sample that takes each kind of mutation in turn, so no kind crowds out the rest."""
    rng = random.Random(f"{seed}:{path}")
    kinds = {}
    for mutant in candidates(text):
        kinds.setdefault(mutant[4], []).append(mutant)
    queues = [rng.sample(mutants, len(mutants)) for _, mutants in sorted(kinds.items())]
    rng.shuffle(queues)
    chosen = []
    while len(chosen) < count and any(queues):
        for queue in queues:
            if queue and len(chosen) < count:
                chosen.append(queue.pop())
    return sorted(chosen)


def run(command, timeout=None, **options):
    """Runs a command in its own process group; returns (status, output), status None on time-out."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True, text=True, errors="replace", **options)
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        return None, process.communicate()[0]


def prepare():
    """Mirrors the worktree into the scratch tree (writing only changed files) and builds it."""
    for name in COPIED:
        source = os.path.join(ROOT, name)
        walk = [(ROOT, [], [name])] if os.path.isfile(source) else os.walk(source)
        for folder, _, files in walk:
            for file in files:
                origin = os.path.join(folder, file)
                target = os.path.join(TREE, os.path.relpath(origin, ROOT))
                data = read(origin)
                if not os.path.exists(target) or read(target) != data:
                    os.makedirs(os.path.dirname(target), exist_ok=True)
                    write(target, data)
    if not os.path.exists(os.path.join(BUILD, "CMakeCache.txt")):
        status, output = run(["cmake", "-S", TREE, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=",
                              "-DQUADRONE_SANITIZE=OFF",
                              "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"])
        if status != 0:
            sys.exit("configure failed:\n" + output)
    return build()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def build():
    return run(["cmake", "--build", BUILD, "--target", *TARGETS])[0] == 0


def test_names(program):
    names, suite = [], ""
    for line in run([program, "--gtest_list_tests"], cwd=RUN)[1].splitlines():
        if line and not line.startswith(" "):
            suite = line.split()[0]
        elif line.strip():
            names.append(suite + line.split()[0])
    return names


def killers(timeout, every_test):
    """The tests that fail, crash or hang against the built code (empty when all pass), and
    whether a program hung."""
    failed, hung = [], False
    for program in PROGRAMS:
        skipped = []
        for _ in range(6):  # a crash ends the program: run the rest again without the crashed test
            shutil.rmtree(RUN, ignore_errors=True)
            os.makedirs(RUN)
            flags = ["--gtest_filter=-" + ":".join(skipped)] if skipped else []
            flags += [] if every_test else ["--gtest_fail_fast"]
            status, output = run([program, *flags], timeout=timeout, cwd=RUN)
            hung = hung or status is None
            failed += re.findall(r"^\[  FAILED  \] ([\w/]+\.[\w/]+)(?:,| \()", output, re.M)
            if status is not None and re.search(r"^\[==========\] .* ran\.", output, re.M):
                break
            running = re.findall(r"^\[ RUN      \] (\S+)", output, re.M)
            failed.append(running[-1] if running else os.path.basename(program))
            if not running or not every_test:
                break
            skipped.append(running[-1])
        if failed and not every_test:
            break
    return sorted(set(failed)), hung


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("files", nargs="*", default=FILES)
    parser.add_argument("--seed", type=int, default=2026)
    parser.add_argument("--count", type=int, default=15)
    parser.add_argument("--timeout", type=float, help="seconds per test program (default: from a clean run)")
    parser.add_argument("--report", default=os.path.join(WORK, "report.md"))
    parser.add_argument("--matrix", help="run every test and write the kill matrix here (JSON)")
    args = parser.parse_args()
    started = time.time()
    if not prepare():
        sys.exit("the unmutated tree does not build")
    clean_start = time.time()
    failed = killers(None, True)[0]
    if failed:
        sys.exit("the unmutated tests fail: " + " ".join(failed))
    timeout = args.timeout or max(10.0, 5 * (time.time() - clean_start))
    results = []
    for path in args.files:
        target = os.path.join(TREE, path)
        original = read(target).decode()
        try:
            for number, (offset, length, new, what, _) in enumerate(sample(path, original, args.seed, args.count)):
                line = original.count("\n", 0, offset) + 1
                write(target, (original[:offset] + new + original[offset + length:]).encode())
                killed_by, hung = killers(timeout, bool(args.matrix)) if build() else (None, False)
                status = "no compile" if killed_by is None else "killed" if killed_by else "survived"
                source = original.splitlines()[line - 1].strip()
                results.append({"id": f"{path}#{number}", "file": path, "line": line, "mutation": what,
                                "source": source, "status": status, "killers": killed_by or [],
                                "hung": hung})
                print(f"{status:10} {path}:{line} {what}{' (hung)' if hung else ''}", flush=True)
        finally:
            write(target, original.encode())
    build()
    write_report(args, results, time.time() - started)
    if args.matrix:
        tests = [name for program in PROGRAMS for name in test_names(program)]
        with open(args.matrix, "w") as out:
            json.dump({"seed": args.seed, "count": args.count, "tests": tests,
                       "mutants": [r for r in results if r["status"] == "killed"]}, out, indent=1)


def write_report(args, results, seconds):
    def counts(rows):
        k, s, n = (sum(r["status"] == status for r in rows) for status in ("killed", "survived", "no compile"))
        score = f"{100 * k / (k + s):.1f} %" if k + s else "-"
        return f"| {len(rows)} | {k} | {s} | {n} | {score} |"
    lines = [f"# Mutation report (seed {args.seed}, {args.count} per file, {seconds / 60:.1f} min)", "",
             "`" + " ".join(["tools/mutation/mutate.py"] + sys.argv[1:]) + "`", "",
             "| file | mutants | killed | survived | no compile | score |", "|---|---|---|---|---|---|"]
    lines += [f"| {path} " + counts([r for r in results if r["file"] == path]) for path in args.files]
    lines += ["| **total** " + counts(results), "", "## Survivors", ""]
    lines += [f"- {r['file']}:{r['line']} {r['mutation']}: `{r['source']}`"
              for r in results if r["status"] == "survived"]
    if args.matrix:
        kills = {}
        for r in results:
            for test in r["killers"]:
                kills.setdefault(test, set()).add(r["id"])
        repeated = lambda test: all(sum(m in others for others in kills.values()) > 1 for m in kills[test])
        tests = [name for program in PROGRAMS for name in test_names(program)]
        lines += ["", "## Tests whose kills other tests all repeat (or that kill nothing)", ""]
        lines += [f"- {test} ({len(kills.get(test, ()))} kills)" for test in tests
                  if test not in kills or repeated(test)]
    write(args.report, ("\n".join(lines) + "\n").encode())
    print("\n".join(lines[:len(args.files) + 7]))


if __name__ == "__main__":
    main()
