#!/usr/bin/env python3
"""End-to-end mutation campaign: copies of the bundled data folder, each damaged by one or
two mutations of one family, played headless by scripts/campaign.script (saves and loads
included), each run classified. Seeded: case N of seed S is always the same damage.

  scripts/campaign.py                       # 2 minutes on build-asan, seed 1
  scripts/campaign.py --seconds 3600        # a longer run
  scripts/campaign.py --cases 500 --seed 7  # a fixed number of cases
  scripts/campaign.py --only 123 --seed 7   # case 123 again, kept as a folder
  scripts/campaign.py --bombs               # peak memory with every picture at the size limit

A failing case is kept in <build>/campaign/failed/<family>-<seed>-<case>/: the damaged folder
as it was before the run, the play script, what went wrong, and run.sh to replay it.
Exit status 1 when any run failed."""

import argparse
import concurrent.futures
import hashlib
import os
import random
import resource
import shutil
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from campaign_mutations import FAMILIES, PICTURES, SAVES, copy_folder, mutate

ROOT = Path(__file__).resolve().parent.parent
SCRIPT = ROOT / "scripts" / "campaign.script"
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:", "UndefinedBehaviorSanitizer")
# Run outcomes; every one but the first two is a failure.
HANDLED, IDLE = "handled", "idle time-out"
FAILURES = ["hang", "signal", "sanitizer report", "slot touched", "left unsealed", "exit without message", "other exit"]
OUTCOMES = [HANDLED, IDLE] + FAILURES


def environment() -> dict:
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
    env.setdefault("ASAN_OPTIONS", "detect_leaks=1:abort_on_error=1")
    env.setdefault("LSAN_OPTIONS", f"suppressions={ROOT}/tests/leak_suppressions.txt:print_suppressions=0")
    env.setdefault("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1")
    return env


def snapshot(folder: Path) -> dict:
    """What the run must leave alone: the slots it never saves into, and the seal marks."""
    state = {}
    for name in SAVES:
        f = folder / name
        state[name] = hashlib.sha1(f.read_bytes()).hexdigest() if f.is_file() else ("dir" if f.exists() else None)
    for name in PICTURES:
        f = folder / name
        if name.endswith(".dat") and f.is_file():
            with open(f, "rb") as fh:
                state[name] = fh.read(2)
    return state


def run_play(program: Path, data: Path, out: Path, timeout: float) -> tuple:
    command = [str(program), "--headless", "--data", str(data), "--input", str(SCRIPT),
               "--out", str(out), "--trace", str(out / "trace.jsonl")]
    out.mkdir(parents=True, exist_ok=True)
    try:
        p = subprocess.run(command, env=environment(), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                           timeout=timeout)
        return p.returncode, p.stderr.decode("utf-8", "replace"), False
    except subprocess.TimeoutExpired as e:
        return None, (e.stderr or b"").decode("utf-8", "replace"), True


def classify(code, err: str, hung: bool, before: dict, after: dict, trace: Path) -> tuple:
    if any(mark in err for mark in SANITIZER_MARKS):
        return "sanitizer report", err[-4000:]
    if hung:
        return "hang", ""
    if code < 0:
        return "signal", f"signal {-code}\n{err[-2000:]}"
    touched = [n for n in SAVES if before[n] != after[n]]
    if touched:
        return "slot touched", " ".join(touched)
    unsealed = [n for n in before if n.endswith(".dat") and n not in SAVES
                and before[n] == b"JF" and after.get(n) == b"BM"]
    if unsealed:
        return "left unsealed", " ".join(unsealed)
    if code == 3:
        return IDLE, ""
    told = trace.is_file() and '"ev":"msgbox"' in trace.read_text("utf-8", "replace")
    if code == 0 or (code == 1 and told):
        return HANDLED, ""
    return ("exit without message" if code == 1 else "other exit"), f"exit {code}\n{err[-2000:]}"


def family_of(index: int) -> str:
    names = list(FAMILIES)
    return names[index % len(names)]


def make_case(base: Path, target: Path, seed: int, index: int) -> list:
    copy_folder(base, target)
    return mutate(target, family_of(index), random.Random(f"{seed}:{index}"))


def keep_case(args, base: Path, index: int, outcome: str, detail: str, changes: list) -> Path:
    family = family_of(index)
    kept = args.keep / f"{family.replace(' ', '_')}-{args.seed}-{index}"
    if kept.exists():
        shutil.rmtree(kept)
    kept.mkdir(parents=True)
    make_case(base, kept / "data", args.seed, index)
    shutil.copy(SCRIPT, kept / "play.script")
    (kept / "result.txt").write_text(f"{outcome}\n{detail}\n", "utf-8")
    (kept / "mutations.txt").write_text("\n".join(changes) + "\n", "utf-8")
    (kept / "run.sh").write_text(
        "#!/bin/sh\n# Plays the damaged folder once more, on a copy.\n"
        'here="$(cd "$(dirname "$0")" && pwd)"\nwork="$(mktemp -d)"\ncp -r "$here/data" "$work/data"\n'
        f'exec "{args.program}" --headless --data "$work/data" --input "$here/play.script" --out "$work/out"\n')
    (kept / "run.sh").chmod(0o755)
    return kept


def run_case(args, base: Path, work: Path, index: int) -> tuple:
    case = work / f"case-{index}"
    try:
        changes = make_case(base, case / "data", args.seed, index)
        before = snapshot(case / "data")
        code, err, hung = run_play(args.program, case / "data", case / "out", args.timeout)
        outcome, detail = classify(code, err, hung, before, snapshot(case / "data"), case / "out" / "trace.jsonl")
        kept = keep_case(args, base, index, outcome, detail, changes) if outcome in FAILURES else None
        return index, outcome, changes, kept
    finally:
        shutil.rmtree(case, ignore_errors=True)


def prepare_base(args, work: Path) -> Path:
    """The bundled folder with slots 0 and 2 holding a save of the play's own, checked by
    one clean run: a campaign whose play fails on sound data measures nothing."""
    base = work / "base"
    copy_folder(args.build / "data", base)
    for name in ["40.dat", "41.dat", "42.dat"]:
        (base / name).unlink(missing_ok=True)
    first = work / "first"
    copy_folder(base, first)
    code, err, _ = run_play(args.program, first, work / "first-out", args.timeout)
    if code != 0 or not (first / "41.dat").is_file():
        sys.exit(f"campaign: the play fails on the bundled folder (exit {code}):\n{err[-3000:]}")
    for name in SAVES:
        shutil.copy(first / "41.dat", base / name)
    shutil.rmtree(first)
    return base


def bitmap_at_limit(file: Path) -> None:
    """A 4096 x 4096 run-length picture of a few bytes: the largest the game accepts."""
    mark = file.read_bytes()[:2] if file.is_file() else b"BM"
    palette = bytes(4 * 256)
    runs = (b"\xff\x07" * 16 + b"\x00\x00") * 4 + b"\x00\x01"
    offset = 14 + 40 + len(palette)
    header = mark + struct.pack("<IHHI", offset + len(runs), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, 4096, 4096, 1, 8, 1, len(runs), 2835, 2835, 256, 0)
    file.write_bytes(header + info + palette + runs)


def measure_bombs(args, work: Path) -> int:
    base = prepare_base(args, work)
    for name in PICTURES:
        bitmap_at_limit(base / name)
    clean = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    start = time.monotonic()
    code, err, hung = run_play(args.program, base, work / "bombs-out", args.timeout)
    # The largest of the runs so far: the clean run's, unless the bombs took more.
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    print(f"clean folder: peak {clean / 1024:.0f} MiB; every picture 4096 x 4096: exit {code}"
          f"{' (hung)' if hung else ''}, peak {peak / 1024:.0f} MiB, {time.monotonic() - start:.1f} s")
    print(err[-1000:], end="")
    return 0 if peak < 1024 * 1024 and not hung and code is not None and code >= 0 else 1


def report(counts: dict, failed: list, elapsed: float, seed: int) -> None:
    total = sum(sum(c.values()) for c in counts.values())
    print(f"\n{total} runs in {elapsed:.0f} s, seed {seed}\n")
    shown = [o for o in OUTCOMES if o in (HANDLED, IDLE) or any(c[o] for c in counts.values())]
    print("| family | runs | " + " | ".join(shown) + " |")
    print("|---|" + "---|" * (len(shown) + 1))
    for family, c in counts.items():
        print(f"| {family} | {sum(c.values())} | " + " | ".join(str(c[o]) for o in shown) + " |")
    for index, outcome, changes, kept in failed:
        print(f"FAILED case {index} ({outcome}): {'; '.join(changes)}\n  kept in {kept}")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", type=Path, default=ROOT / "build-asan", help="build folder (default build-asan)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--seconds", type=float, default=120, help="run cases for this long (default 120)")
    parser.add_argument("--cases", type=int, help="run this many cases instead")
    parser.add_argument("--first", type=int, default=0, help="index of the first case")
    parser.add_argument("--only", type=int, help="run this one case and keep it whatever its outcome")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--timeout", type=float, default=300, help="seconds before a run counts as hung")
    parser.add_argument("--bombs", action="store_true", help="measure peak memory with every picture at the limit")
    args = parser.parse_args()
    args.build = args.build.resolve()
    args.program = args.build / "dalvo"
    args.keep = args.build / "campaign" / "failed"
    if not args.program.is_file() or not (args.build / "data").is_dir():
        sys.exit(f"campaign: no {args.program} or {args.build / 'data'}: build first")

    with tempfile.TemporaryDirectory(prefix="dalvo-campaign-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None) as tmp:
        work = Path(tmp)
        if args.bombs:
            return measure_bombs(args, work)
        base = prepare_base(args, work)
        if args.only is not None:
            index, outcome, changes, kept = run_case(args, base, work, args.only)
            kept = kept or keep_case(args, base, index, outcome, "", changes)
            print(f"case {index} ({family_of(index)}): {outcome}: {'; '.join(changes)}\n  kept in {kept}")
            return 1 if outcome in FAILURES else 0

        counts = {f: dict.fromkeys(OUTCOMES, 0) for f in FAMILIES}
        failed = []
        start = time.monotonic()
        deadline = None if args.cases is not None else start + args.seconds
        last = None if args.cases is None else args.first + args.cases
        next_index = args.first
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            running = set()
            while True:
                while len(running) < args.jobs and (last is None or next_index < last) and \
                        (deadline is None or time.monotonic() < deadline):
                    running.add(pool.submit(run_case, args, base, work, next_index))
                    next_index += 1
                if not running:
                    break
                done, running = concurrent.futures.wait(running, return_when=concurrent.futures.FIRST_COMPLETED)
                for future in done:
                    index, outcome, changes, kept = future.result()
                    counts[family_of(index)][outcome] += 1
                    if kept:
                        failed.append((index, outcome, changes, kept))
                        print(f"case {index}: {outcome}", flush=True)
        report(counts, failed, time.monotonic() - start, args.seed)
        return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
