#!/usr/bin/env python3
"""Puts the game's two fonts under STAGE where the game looks for them, each cut down to
the characters code page 932 has: the game's text, its saves and the names a player
can save are all in that code page, and the Japanese font loses two fifths of its bytes,
the larger part of what a first visit downloads before the title. Every glyph kept
keeps its outline, metrics and hinting, so text is drawn exactly as with the whole font.

usage: web-fonts.py STAGE FONT...   (each FONT an installed file, copied to STAGE/FONT)
Needs Debian's python3-fonttools. A font already cut from the same file is kept."""
import os
import pathlib
import subprocess
import sys
import tempfile

SYSTEM_PYTHON = "/usr/bin/python3"  # the interpreter Debian's python3-fonttools is installed for


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


def main() -> int:
    stage, fonts = pathlib.Path(sys.argv[1]), sys.argv[2:]
    with tempfile.TemporaryDirectory() as tmp:
        unicodes = pathlib.Path(tmp) / "unicodes.txt"
        unicodes.write_text("\n".join(f"U+{ord(c):04X}" for c in cp932_characters()))
        for font in fonts:
            source = pathlib.Path(os.path.realpath(font))
            target = stage / font.lstrip("/")
            # What each font was cut from, kept beside the stage (all of the stage is shipped).
            stamp = stage.parent / (stage.name + "-fonts") / (target.name + ".cut")
            stamp.parent.mkdir(parents=True, exist_ok=True)
            made_from = f"{source} {source.stat().st_size} {source.stat().st_mtime_ns}"
            if target.exists() and stamp.exists() and stamp.read_text() == made_from:
                continue
            target.parent.mkdir(parents=True, exist_ok=True)
            part = target.with_suffix(".part")
            subprocess.run([SYSTEM_PYTHON, "-m", "fontTools.subset", str(source), f"--unicodes-file={unicodes}",
                            f"--output-file={part}", "--layout-features=*", "--name-IDs=*", "--name-languages=*",
                            "--notdef-outline", "--no-prune-unicode-ranges", "--glyph-names", "--hinting"],
                           check=True)
            part.rename(target)
            stamp.write_text(made_from)
            print(f"web-fonts: {source.name}: {source.stat().st_size} -> {target.stat().st_size} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
