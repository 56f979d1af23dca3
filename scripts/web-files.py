#!/usr/bin/env python3
"""Lays out the files the browser build loads, from STAGE under OUT, and lists them in
OUT/manifest.json:
  - the data folder as one pack, data/data.pack(.gz): its files one after the other,
    listed as {"path": "data/data.pack", "gz": true, "pack": [["3.dat", bytes], ...]},
    so that the page asks for one file instead of forty;
  - every other file (fonts, music) as itself: {"path": "music/x.ogg", "gz": false}.
A file is stored gzip-compressed where that saves a tenth or more (a font too: on a
slow network the third it saves is worth far more than the tens of milliseconds the
page takes to unpack it). Files that did not change are left alone, so that the browser's
cache keeps them.

usage: web-files.py STAGE OUT [PAGE BUILT_PAGE]
With PAGE, also writes it to BUILT_PAGE with the manifest in its
<script id="manifest"> element, so that the page need not fetch it, and the files the
game needs before its title preloaded in place of <link id="preload-files">."""
import gzip
import json
import pathlib
import sys

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


def main() -> int:
    stage, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    manifest, keep = [], {out / "manifest.json"}
    data = sorted(p for p in (stage / "data").iterdir() if p.is_file())
    pack = b"".join(p.read_bytes() for p in data)
    gz = store(out, "data/data.pack", pack, keep)
    manifest.append({"path": "data/data.pack", "gz": gz, "size": len(pack),
                     "pack": [[p.name, p.stat().st_size] for p in data]})
    for f in sorted(p for p in stage.rglob("*") if p.is_file() and p.parent != stage / "data"):
        rel = f.relative_to(stage).as_posix()
        body = f.read_bytes()
        manifest.append({"path": rel, "gz": store(out, rel, body, keep), "size": len(body)})
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
                            for f in manifest if not f["path"].startswith("music/"))
        page = page.replace('<link id="preload-files">', preload)
        pathlib.Path(sys.argv[4]).write_text(page, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
