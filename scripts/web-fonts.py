#!/usr/bin/env python3
"""Puts the game's two fonts under STAGE where the game looks for them, each cut down to
the characters code page 932 has and those of the TEXTS (below): the game's text, its
saves and the names a player can save are all in that code page, and the Japanese font
loses two fifths of its bytes.
Every glyph kept keeps its outline, metrics and hinting, so text is drawn exactly as
with the whole font.

With --first-cut NAME, the font of that file name gets a second, small cut beside it
(NAME with ".first" before its suffix): only the characters of the TEXTS, the bundled
data folder's text files (CP932) and the program's sources (UTF-8: its own texts), with
printable ASCII. The page sends that cut before the title and the whole font after it;
the game waits for the whole font only for a character the cut lacks (a name the player
types, say). That saves nine tenths of the bytes a first visit loads before its title.

usage: web-fonts.py STAGE FONT... [--first-cut NAME --texts PATH...]
Each FONT an installed file, copied to STAGE/FONT; a PATH a folder, read recursively.
Needs Debian's python3-fonttools. A font already cut from the same file is kept."""
import argparse
import hashlib
import os
import pathlib
import subprocess
import sys
import tempfile

SYSTEM_PYTHON = "/usr/bin/python3"  # the interpreter Debian's python3-fonttools is installed for
SOURCE_SUFFIXES = {".cpp", ".h", ".in"}


def cp932_characters() -> list:
    chars = {chr(c) for c in range(0x20, 0x7F)}
    chars |= {bytes([b]).decode("cp932") for b in range(0xA1, 0xE0)}
    for lead in [*range(0x81, 0xA0), *range(0xE0, 0xFD)]:
        for trail in [*range(0x40, 0x7F), *range(0x80, 0xFD)]:
            try:
                chars.add(bytes([lead, trail]).decode("cp932"))
            except UnicodeDecodeError:
                pass
    return sorted(chars)


def text_characters(paths: list) -> list:
    """Printable ASCII, every character of the text files of the data folders (pictures
    and music hold NUL bytes, text never does) and every character of the sources."""
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for root in paths:
        for f in sorted(p for p in pathlib.Path(root).rglob("*") if p.is_file()):
            body = f.read_bytes()
            if f.suffix in SOURCE_SUFFIXES:
                chars |= set(body.decode("utf-8", errors="ignore"))
            elif b"\0" not in body:
                chars |= set(body.decode("cp932", errors="ignore"))
    return sorted(c for c in chars if c >= " ")


def cut(source: pathlib.Path, target: pathlib.Path, chars: list, stamp_dir: pathlib.Path) -> None:
    """Cuts `source` to `chars` at `target`, unless it was already cut so."""
    listed = "\n".join(f"U+{ord(c):04X}" for c in chars)
    stamp = stamp_dir / (target.name + ".cut")
    made_from = (f"{source} {source.stat().st_size} {source.stat().st_mtime_ns} "
                 f"{hashlib.sha256(listed.encode()).hexdigest()}")
    if target.exists() and stamp.exists() and stamp.read_text() == made_from:
        return
    target.parent.mkdir(parents=True, exist_ok=True)
    part = target.with_suffix(".part")
    with tempfile.TemporaryDirectory() as tmp:
        unicodes = pathlib.Path(tmp) / "unicodes.txt"
        unicodes.write_text(listed)
        subprocess.run([SYSTEM_PYTHON, "-m", "fontTools.subset", str(source), f"--unicodes-file={unicodes}",
                        f"--output-file={part}", "--layout-features=*", "--name-IDs=*", "--name-languages=*",
                        "--notdef-outline", "--no-prune-unicode-ranges", "--glyph-names", "--hinting"],
                       check=True)
    part.rename(target)
    stamp.write_text(made_from)
    print(f"web-fonts: {source.name}: {source.stat().st_size} -> {target.name} {target.stat().st_size} bytes"
          f" ({len(chars)} characters)")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("stage", type=pathlib.Path)
    parser.add_argument("fonts", nargs="+")
    parser.add_argument("--first-cut", default="")
    parser.add_argument("--texts", nargs="*", default=[])
    args = parser.parse_args()
    # What each font was cut from, kept beside the stage (all of the stage is shipped).
    stamp_dir = args.stage.parent / (args.stage.name + "-fonts")
    stamp_dir.mkdir(parents=True, exist_ok=True)
    # The program's own texts may hold a character outside the code page (a wave dash):
    # the whole cut keeps it too, and so holds every character of the first cut.
    first = text_characters(args.texts)
    whole = sorted(set(cp932_characters()) | set(first))
    for font in args.fonts:
        source = pathlib.Path(os.path.realpath(font))
        target = args.stage / font.lstrip("/")
        cut(source, target, whole, stamp_dir)
        if target.name == args.first_cut:
            cut(source, target.with_name(target.stem + ".first" + target.suffix), first, stamp_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())
