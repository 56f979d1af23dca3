#!/usr/bin/env python3
"""Lays out the files the browser build loads: every file of STAGE under OUT, gzip-
compressed where that saves a tenth or more, and OUT/manifest.json listing them as
{"path": "data/3.dat", "gz": true, "size": bytes unpacked}. Files that did not change
are left alone, so that the browser's cache keeps them.

usage: web-files.py STAGE OUT"""
import gzip
import json
import pathlib
import shutil
import sys


def main() -> int:
    stage, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    manifest, keep = [], {out / "manifest.json"}
    for f in sorted(p for p in stage.rglob("*") if p.is_file()):
        rel = f.relative_to(stage).as_posix()
        data = f.read_bytes()
        packed = gzip.compress(data, compresslevel=9, mtime=0)
        gz = len(packed) * 10 <= len(data) * 9
        target = out / (rel + ".gz" if gz else rel)
        body = packed if gz else data
        target.parent.mkdir(parents=True, exist_ok=True)
        if not target.exists() or target.read_bytes() != body:
            target.write_bytes(body)
        keep.add(target)
        manifest.append({"path": rel, "gz": gz, "size": len(data)})
    for old in [p for p in out.rglob("*") if p.is_file() and p not in keep]:
        old.unlink()
    (out / "manifest.json").write_text(json.dumps(manifest, indent=0) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
