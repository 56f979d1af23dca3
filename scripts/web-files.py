#!/usr/bin/env python3
"""Lays out the files the browser build loads, from STAGE under OUT, and lists them in
OUT/manifest.json:
  - the data folder as one pack, data/data.pack(.gz): its files one after the other,
    listed as {"path": "data/data.pack", "gz": true, "pack": [["3.dat", bytes], ...]},
    so that the page asks for one file instead of forty;
  - every other file (fonts, music) as itself: {"path": "music/x.ogg", "gz": false};
  - "later": true on what the page loads after the game has started: the music, and a
    font that has a first cut beside it (web-fonts.py: NAME.first.ttf beside NAME.ttf);
  - on a piece of music, "next": the piece the scenario (data/3.dat) starts after it for
    the first time, which the page fetches once the piece itself has come.
A file is stored gzip-compressed where that saves a tenth or more (a font too: on a
slow network the third it saves is worth far more than the tens of milliseconds the
page takes to unpack it). Files that did not change are left alone, so that the browser's
cache keeps them.

usage: web-files.py STAGE OUT [PAGE BUILT_PAGE]
With PAGE, also writes it to BUILT_PAGE with the manifest in its
<script id="manifest"> element, so that the page need not fetch it, and the files the
game needs before its title preloaded in place of <link id="preload-files">."""
import csv
import gzip
import importlib.util
import io
import json
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent

def store(out: pathlib.Path, rel: str, data: bytes, keep: set) -> bool:
    packed = gzip.compress(data, compresslevel=9, mtime=0)
    saved = 1 - len(packed) / max(1, len(data))
    gz = saved >= 0.1
    target = out / (rel + ".gz" if gz else rel)
    body = packed if gz else data
    target.parent.mkdir(parents=True, exist_ok=True)
    if not target.exists() or target.read_bytes() != body:
        target.write_bytes(body)
    keep.add(target)
    return gz


def music_order(data: pathlib.Path) -> list:
    """The OGG names of the pieces in the order the scenario first starts them: the sound
    command "a" whose letter names piece 1 to 9 of the list in 30.dat (its lines 8 to 16)."""
    spec = importlib.util.spec_from_file_location("web_music", HERE / "web-music.py")
    music = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(music)
    try:
        listed = (data / "30.dat").read_bytes().decode("cp932", errors="replace").splitlines()
        records = list(csv.reader(io.StringIO((data / "3.dat").read_bytes().decode("cp932", errors="replace"))))
    except OSError:
        return []
    order = []
    for record in records[1:]:
        command = record[1] if len(record) > 1 else ""
        if len(command) < 2 or command[0] != "a":
            continue
        k = ord(command[-1]) - 48 - 16
        k = k - 32 if k > 32 else k
        if not 1 <= k <= 9 or len(listed) < k + 7:
            continue
        piece = data / listed[k + 6].strip()
        if not piece.is_file():
            continue
        sequence = music.midi_sequence(piece.read_bytes())
        name = "music/" + music.fnv1a64(sequence) + ".ogg" if sequence else ""
        if name and name not in order:
            order.append(name)
    return order


def main() -> int:
    stage, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    manifest, keep = [], {out / "manifest.json"}
    data = sorted(p for p in (stage / "data").iterdir() if p.is_file())
    pack = b"".join(p.read_bytes() for p in data)
    gz = store(out, "data/data.pack", pack, keep)
    manifest.append({"path": "data/data.pack", "gz": gz, "size": len(pack),
                     "pack": [[p.name, p.stat().st_size] for p in data]})
    order = music_order(stage / "data")
    for f in sorted(p for p in stage.rglob("*") if p.is_file() and p.parent != stage / "data"):
        rel = f.relative_to(stage).as_posix()
        body = f.read_bytes()
        entry = {"path": rel, "gz": store(out, rel, body, keep), "size": len(body)}
        if rel.startswith("music/") or f.with_name(f.stem + ".first" + f.suffix).exists():
            entry["later"] = True
        if rel in order[:-1]:
            entry["next"] = order[order.index(rel) + 1]
        manifest.append(entry)
    for old in [p for p in out.rglob("*") if p.is_file() and p not in keep]:
        old.unlink()
    (out / "manifest.json").write_text(json.dumps(manifest, indent=0, ensure_ascii=False) + "\n")
    if len(sys.argv) > 4:
        empty = '<script id="manifest" type="application/json"></script>'
        page = pathlib.Path(sys.argv[3]).read_text(encoding="utf-8")
        if empty not in page:
            sys.exit(f"web-files: {sys.argv[3]} has no {empty}")
        listed = json.dumps(manifest, separators=(",", ":"), ensure_ascii=False).replace("</", "<\\/")
        page = page.replace(empty, empty.replace("></", ">" + listed + "</"))
        preload = "\n".join(f'<link rel="preload" href="files/{f["path"]}{".gz" if f["gz"] else ""}" as="fetch" crossorigin>'
                            for f in manifest if not f.get("later"))
        page = page.replace('<link id="preload-files">', preload)
        pathlib.Path(sys.argv[4]).write_text(page, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
