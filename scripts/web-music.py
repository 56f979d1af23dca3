#!/usr/bin/env python3
"""Renders every MIDI piece of a data folder to OGG for the browser build.

usage: web-music.py DATA_DIR OUT_DIR

Each piece is played through Debian's fluidsynth with the soundfont the desktop
uses and encoded with oggenc. The OGG is named after a hash of the Standard MIDI
File's bytes, which the game computes from the sequence it opens
(platform/web/web_audio.cpp): a RIFF "RMID" file (.rmi) counts by the sequence in its
"data" chunk, as platform/codec/audio_formats.cpp takes it. Pieces in subfolders count
too. A piece already rendered is kept."""
import os
import struct
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


def midi_sequence(data: bytes) -> bytes:
    """The Standard MIDI File a music file holds; empty for a RIFF file without one."""
    if data[:4] != b"RIFF":
        return data
    if data[8:12] != b"RMID":
        return b""
    pos = 12
    while len(data) - pos >= 8:
        tag = data[pos:pos + 4]
        (size,) = struct.unpack("<I", data[pos + 4:pos + 8])
        pos += 8
        if tag == b"data":
            return data[pos:pos + size]
        pos += size + (size & 1)
    return b""


def main() -> int:
    data, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    if not os.path.exists(SOUNDFONT):
        sys.exit(f"web-music: {SOUNDFONT} is missing (package timgm6mb-soundfont)")
    wanted = set()
    for mid in sorted(p for p in data.rglob("*") if p.is_file() and p.suffix.lower() in (".mid", ".midi", ".rmi")):
        sequence = midi_sequence(mid.read_bytes())
        if not sequence:
            continue
        name = fnv1a64(sequence) + ".ogg"
        wanted.add(name)
        target = out / name
        if target.exists():
            continue
        with tempfile.TemporaryDirectory() as tmp:
            wav = pathlib.Path(tmp) / "piece.wav"
            smf = pathlib.Path(tmp) / "piece.mid"
            smf.write_bytes(sequence)
            subprocess.run(["fluidsynth", "-ni", "-q", "-r", "44100", "-F", str(wav), SOUNDFONT, str(smf)],
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
