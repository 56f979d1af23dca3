#!/usr/bin/env python3
"""The Windows build against the Linux build, under Wine: plays every story script of
tests/story headless with build-win/dalvo.exe and build/dalvo on the data folders each
build made, and compares the exit status, every dump (every key but time_ms, CRLF
stripped) and every shot (pixel for pixel); then opens dalvo.exe's real window under
Xvfb, where the title's shot must be the headless one and the window must show it.

usage: win_test.py   (from the checkout, after scripts/windows.sh --build-only and the
Linux build; scripts/windows.sh runs it)
Exit status 0 when everything matches, 1 when something differs."""
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
LINUX = ROOT / "build"
WIN = ROOT / "build-win"
WINE_ENV = {"WINEPREFIX": str(pathlib.Path.home() / ".cache/dalvo-win/wine"), "WINEARCH": "win64",
            "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "winealsa.drv,winepulse.drv=d;mscoree,mshtml="}
XVFB = ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24"]


def run(command, cwd, timeout=300, env=None):
    r = subprocess.run(command, cwd=cwd, capture_output=True, timeout=timeout, env=env)
    return r.returncode, r.stdout.decode("utf-8", "replace").replace("\r\n", "\n")


def differing_pixels(a: pathlib.Path, b: pathlib.Path) -> str:
    r = subprocess.run(["compare", "-metric", "AE", str(a), str(b), "null:"], capture_output=True, text=True)
    return r.stderr.strip()


def compare_outputs(case, linux_out, win_out, failures):
    linux_files = sorted(p.name for p in linux_out.iterdir())
    win_files = sorted(p.name for p in win_out.iterdir())
    if linux_files != win_files:
        failures.append(f"{case}: files: Linux {linux_files}, Windows {win_files}")
    for name in linux_files:
        if name not in win_files:
            continue
        if name.endswith(".json"):
            linux = json.loads(linux_out.joinpath(name).read_text(encoding="utf-8"))
            win = json.loads(win_out.joinpath(name).read_text(encoding="utf-8").replace("\r\n", "\n"))
            for key in sorted(set(linux) | set(win)):
                if key != "time_ms" and linux.get(key) != win.get(key):
                    failures.append(f"{case}: {name}: {key}: Linux {linux.get(key)!r}, Windows {win.get(key)!r}")
        elif name.endswith(".png"):
            diff = differing_pixels(linux_out / name, win_out / name)
            if diff != "0":
                failures.append(f"{case}: {name}: {diff} pixels differ")


def compare_folders(a: pathlib.Path, b: pathlib.Path, failures):
    names_a = sorted(p.relative_to(a).as_posix() for p in a.rglob("*"))
    names_b = sorted(p.relative_to(b).as_posix() for p in b.rglob("*"))
    if names_a != names_b:
        failures.append(f"data folders: Linux {names_a}, Windows {names_b}")
        return
    for name in names_a:
        if a.joinpath(name).is_file() and a.joinpath(name).read_bytes() != b.joinpath(name).read_bytes():
            failures.append(f"data folders: {name} differs")


def play_stories(tmp: pathlib.Path, env, failures):
    # Each side keeps its player's folder (read text, settings) from story to story, as one
    # player would, and starts with none: Linux in a home of its own, Windows in the test's
    # own Wine prefix, whose APPDATA Wine sets itself.
    linux_env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
    linux_env["HOME"] = str(tmp / "linux-home")
    for folder in pathlib.Path(env["WINEPREFIX"], "drive_c/users").glob("*/AppData/Roaming/dalvo"):
        shutil.rmtree(folder)
    for script in sorted((ROOT / "tests/story").glob("*.script")):
        case = tmp / script.stem
        for side in ("linux", "win"):
            shutil.copytree((LINUX if side == "linux" else WIN) / "data", case / side / "data")
            (case / side / "out").mkdir()
        shutil.copy(script, case / "play.script")
        # Relative paths: the same words name the same files on both systems.
        args = ["--headless", "--data", "data", "--input", "../play.script", "--out", "out"]
        linux_code, _ = run([str(LINUX / "dalvo"), *args], case / "linux", env=linux_env)
        win_code, _ = run(["wine", str(WIN / "dalvo.exe"), *args], case / "win", env=env)
        if linux_code != win_code:
            failures.append(f"{script.name}: exit status: Linux {linux_code}, Windows {win_code}")
        compare_outputs(script.name, case / "linux/out", case / "win/out", failures)
        print(f"win_test: {script.name} played", flush=True)


# The real window: the script's shot must be the headless one, and a capture of the
# screen, while the window is open, must show the same pixels in its client area.
WINDOW_SCRIPT = r"""
wine "$1" --data data --out out --input ../title.script >/dev/null 2>&1 &
for _ in $(seq 300); do [ -f out/title.png ] && break; sleep 0.1; done
sleep 1
id=$(xdotool search --name 'DALVO' | head -1)
[ -n "$id" ] || { echo "no window"; wineserver -k; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$id")"
import -window root root.png
wineserver -k
convert root.png -crop "640x480+$X+$((Y + HEIGHT - 480))" +repage client.png
compare -metric AE client.png out/title.png null: 2>&1
"""


def open_window(tmp: pathlib.Path, env, failures):
    case = tmp / "window"
    shutil.copytree(WIN / "data", case / "win/data")
    (case / "win/out").mkdir()
    (case / "title.script").write_text("idle\nshot title\n", encoding="utf-8")
    # The headless title, from the story's own first shot.
    headless = tmp / "full_ending_1/win/out/title.png"
    # A wineserver of its own: the persistent one of the headless runs has no display.
    subprocess.run(["wineserver", "-k"], env=env)
    code, out = run([*XVFB, "bash", "-c", WINDOW_SCRIPT, "window", str(WIN / "dalvo.exe")], case / "win",
                    timeout=180, env=env)
    shot = case / "win/out/title.png"
    if not shot.exists():
        failures.append(f"real window: no shot (status {code}): {out.strip()}")
        return
    diff = differing_pixels(headless, shot)
    if diff != "0":
        failures.append(f"real window: its shot differs from the headless one in {diff} pixels")
    if out.strip().splitlines()[-1:] != ["0"]:
        failures.append(f"real window: the window differs from its shot: {out.strip()}")
    print("win_test: real window opened", flush=True)


def main() -> int:
    for program in (LINUX / "dalvo", WIN / "dalvo.exe"):
        if not program.exists():
            print(f"win_test: {program} is missing: build it first", file=sys.stderr)
            return 1
    env = dict(os.environ)
    for key, value in WINE_ENV.items():
        env.setdefault(key, value)
    failures = []
    with tempfile.TemporaryDirectory(prefix="dalvo-win-") as tmp_name:
        tmp = pathlib.Path(tmp_name)
        compare_folders(LINUX / "data", WIN / "data", failures)
        play_stories(tmp, env, failures)
        open_window(tmp, env, failures)
    for f in failures:
        print("win_test: " + f, file=sys.stderr)
    print(f"win_test: {'FAILED' if failures else 'passed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
