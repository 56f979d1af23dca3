#!/usr/bin/env python3
"""Renders every MIDI piece of a data folder to OGG for the browser build.

usage: web-music.py DATA_DIR OUT_DIR

Each piece is played through Debian's fluidsynth with the soundfont the desktop
uses and encoded with oggenc. The OGG is named after a hash of the MIDI file's
bytes, which the game computes from the bytes it opens (platform/web/web_audio.cpp).
A piece already rendered is kept."""
import os
import pathlib
import subprocess
import sys
import tempfile

SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2"


def fnv1a64(data: bytes) -> str:
    h = 0xCBF29CE484222325
    for b in data:
        h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return f"{h:016x}"


def main() -> int:
    data, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    if not os.path.exists(SOUNDFONT):
        sys.exit(f"web-music: {SOUNDFONT} is missing (package timgm6mb-soundfont)")
    wanted = set()
    for mid in sorted(p for p in data.iterdir() if p.suffix.lower() in (".mid", ".midi")):
        name = fnv1a64(mid.read_bytes()) + ".ogg"
        wanted.add(name)
        target = out / name
        if target.exists():
            continue
        with tempfile.TemporaryDirectory() as tmp:
            wav = pathlib.Path(tmp) / "piece.wav"
            subprocess.run(["fluidsynth", "-ni", "-q", "-r", "44100", "-F", str(wav), SOUNDFONT, str(mid)],
                           check=True, stdout=subprocess.DEVNULL)
            part = target.with_suffix(".part")
            subprocess.run(["oggenc", "-Q", "-q", "2", "-o", str(part), str(wav)], check=True)
            part.rename(target)
        print(f"web-music: {mid.name} -> {name}")
    for old in out.glob("*.ogg"):
        if old.name not in wanted:
            old.unlink()
    return 0


if __name__ == "__main__":
    sys.exit(main())
