"""The mutation families of the campaign: each takes a data folder, a random source and
returns a line saying what it changed. Every choice comes from the random source, so a
case is the same for the same seed, index and bundled folder."""

import random
import re
import shutil
import struct
from pathlib import Path

TEXT_FILES = ["3.dat", "39.dat", "31.dat", "30.dat"]
TABLE_FILES = ["3.dat", "39.dat", "31.dat"]
PICTURES = ([f"{n}.dat" for n in [51, 52, 53, 54, 61, 62, 63] + list(range(70, 85)) + [91, 92, 93, 94]]
            + ["waku.bmp", "wall.bmp"])
SAVES = ["40.dat", "42.dat"]


def files_of(folder: Path) -> list[str]:
    return sorted(p.name for p in folder.iterdir() if p.is_file())


def pick_existing(folder: Path, rng: random.Random, names: list[str]) -> str | None:
    present = [n for n in names if (folder / n).is_file()]
    return rng.choice(present) if present else None


# Text files: records of fields split at commas, CR LF line ends, Shift-JIS.

def read_lines(file: Path) -> list[bytes]:
    return file.read_bytes().split(b"\r\n")


def write_lines(file: Path, lines: list[bytes]) -> None:
    file.write_bytes(b"\r\n".join(lines))


def pick_line(rng: random.Random, lines: list[bytes], file: str) -> int:
    # The scenario's first line is a heading; every other file's first line counts.
    first = 1 if file == "3.dat" and len(lines) > 1 else 0
    candidates = [i for i in range(first, len(lines)) if lines[i]] or [0]
    return rng.choice(candidates)


def edit_field(folder: Path, rng: random.Random, files: list[str], change) -> str:
    name = pick_existing(folder, rng, files)
    if name is None:
        return "no text file left"
    lines = read_lines(folder / name)
    i = pick_line(rng, lines, name)
    fields = lines[i].split(b",")
    k = change(fields)
    lines[i] = b",".join(fields)
    write_lines(folder / name, lines)
    return f"{name} line {i + 1} field {k + 1}"


def odd_field_count(folder, rng):
    def change(fields):
        if rng.random() < 0.5 and len(fields) > 1:
            cut = rng.randint(1, len(fields) - 1)
            del fields[-cut:]
            return len(fields)
        fields.extend([b"x"] * rng.randint(1, 20))
        return len(fields) - 1
    return "fields: " + edit_field(folder, rng, TABLE_FILES, change)


def blank_field(folder, rng):
    # Mostly an empty or blank option label ("1190,,1200"), else any field of a table.
    labels = rng.random() < 0.6

    def change(fields):
        k = 1 if labels and len(fields) > 1 else rng.randrange(len(fields))
        fields[k] = rng.choice([b"", b" ", b"   ", b"\x81\x40"])
        return k
    return "blank field: " + edit_field(folder, rng, ["39.dat"] if labels else TABLE_FILES, change)


ODD_NUMBERS = [b"99999999999999999999", b"-1", b"-32768", b"-32769", b"32767", b"32768", b"65535",
               b"65536", b"2147483648", b"-2147483649", b"0", b"00000", b"1e9", b"0x10", b" 12 ", b"+-3"]


def odd_number(folder, rng):
    def change(fields):
        numeric = [k for k, f in enumerate(fields) if re.fullmatch(rb"\s*-?\d+\s*", f)]
        k = rng.choice(numeric) if numeric and rng.random() < 0.8 else rng.randrange(len(fields))
        fields[k] = rng.choice(ODD_NUMBERS)
        return k
    return "number: " + edit_field(folder, rng, TEXT_FILES, change)


def unbalanced_quote(folder, rng):
    def change(fields):
        k = rng.randrange(len(fields))
        at = rng.randint(0, len(fields[k]))
        fields[k] = fields[k][:at] + b'"' + fields[k][at:]
        return k
    return "quote: " + edit_field(folder, rng, TEXT_FILES, change)


BAD_SJIS = [b"\x81", b"\xff", b"\xfe\xff", b"\x80", b"\xa0", b"\x81\x7f", b"\xfd\xfc", b"\xef\xbb\xbf",
            "日本語".encode("utf-8"), b"\x00", b"\x1a"]


def non_sjis(folder, rng):
    def change(fields):
        k = rng.randrange(len(fields))
        at = rng.choice([0, len(fields[k])])
        fields[k] = fields[k][:at] + rng.choice(BAD_SJIS) + fields[k][at:]
        return k
    return "bytes: " + edit_field(folder, rng, TEXT_FILES, change)


def long_line(folder, rng):
    def change(fields):
        k = rng.randrange(len(fields))
        fields[k] = (fields[k] or b"a") * (rng.choice([1000, 20000, 300000]) // max(1, len(fields[k])))
        return k
    return "long line: " + edit_field(folder, rng, TEXT_FILES, change)


def many_records(folder, rng):
    name = pick_existing(folder, rng, TEXT_FILES)
    if name is None:
        return "no text file left"
    lines = read_lines(folder / name)
    body = [line for line in lines[1 if name == "3.dat" else 0:] if line]
    count = rng.choice([250, 600, 3100, 20000])
    extra = [rng.choice(body) for _ in range(count)] if body else [b"1,2,3"] * count
    at = rng.randint(1 if name == "3.dat" else 0, len(lines))
    write_lines(folder / name, lines[:at] + extra + lines[at:])
    return f"many records: {name} +{count} lines at {at + 1}"


# Whole files of any kind.

def byte_flips(folder, rng):
    name = rng.choice(files_of(folder))
    data = bytearray((folder / name).read_bytes())
    if not data:
        return f"flips: {name} is empty"
    n = rng.randint(1, 16)
    for _ in range(n):
        data[rng.randrange(len(data))] ^= rng.randint(1, 255)
    (folder / name).write_bytes(bytes(data))
    return f"flips: {name} {n} bytes"


def truncation(folder, rng):
    name = rng.choice(files_of(folder))
    data = (folder / name).read_bytes()
    size = rng.choice([0, 1, 2, 13, rng.randint(0, max(0, len(data) - 1)), max(0, len(data) - 1)])
    (folder / name).write_bytes(data[:size])
    return f"truncated: {name} to {size} of {len(data)} bytes"


def extension(folder, rng):
    name = rng.choice(files_of(folder))
    data = (folder / name).read_bytes()
    tail = data if rng.random() < 0.3 else rng.randbytes(rng.choice([1, 100, 70000]))
    (folder / name).write_bytes(data + tail)
    return f"extended: {name} by {len(tail)} bytes"


def deleted(folder, rng):
    name = rng.choice(files_of(folder))
    (folder / name).unlink()
    return f"deleted: {name}"


def directory(folder, rng):
    name = rng.choice(files_of(folder))
    (folder / name).unlink()
    (folder / name).mkdir()
    if rng.random() < 0.5:
        (folder / name / "inside").write_bytes(b"x")
    return f"directory: {name}"


# Pictures: a Windows bitmap behind a two-byte mark ("BM" or the sealed "JF").

def header_fields(data: bytearray):
    return struct.unpack_from("<IiiHHII", data, 14)  # size, width, height, planes, bits, compression, image size


ABSURD_SIDES = [0, -1, 1, 4096, 4097, 8192, 65535, 100000, 0x7FFFFFFF, -0x80000000]


def picture_header(folder, rng):
    name = pick_existing(folder, rng, PICTURES)
    if name is None:
        return "no picture left"
    data = bytearray((folder / name).read_bytes())
    if len(data) < 54:
        return f"header: {name} too short"
    what = rng.choice(["width", "height", "both", "bits", "header size", "offset", "colours"])
    if what in ("width", "both"):
        struct.pack_into("<i", data, 18, rng.choice(ABSURD_SIDES))
    if what in ("height", "both"):
        struct.pack_into("<i", data, 22, rng.choice(ABSURD_SIDES))
    if what == "bits":
        struct.pack_into("<H", data, 28, rng.choice([0, 1, 2, 7, 15, 48, 64, 65535]))
    if what == "header size":
        struct.pack_into("<I", data, 14, rng.choice([0, 11, 12, 39, 41, 124, 0xFFFFFFFF]))
    if what == "offset":
        struct.pack_into("<I", data, 10, rng.choice([0, 14, 53, len(data), 0xFFFFFFFF]))
    if what == "colours":
        struct.pack_into("<I", data, 46, rng.choice([257, 0xFFFF, 0xFFFFFFFF]))
    (folder / name).write_bytes(bytes(data))
    return f"header: {name} {what} {header_fields(data)[1:3]}"


def rle_garbage(folder, rng):
    name = pick_existing(folder, rng, PICTURES)
    if name is None:
        return "no picture left"
    data = bytearray((folder / name).read_bytes())
    if len(data) < 54:
        return f"rle: {name} too short"
    bits, compression = rng.choice([(8, 1), (4, 2)])
    w, h = rng.choice([(640, 480), (4096, 4096), (4097, 10), (1, 1), (3000, 3000)])
    struct.pack_into("<iiHHI", data, 18, w, h, 1, bits, compression)
    struct.pack_into("<I", data, 46, 0)
    palette = 54 + 4 * (1 << bits)
    stream = rng.randbytes(rng.choice([0, 2, 64, 5000]))
    if rng.random() < 0.5:
        stream += rng.choice([b"\x00\x01", b"\x00\x02\xff\xff", b"\xff\x01" * 200])
    data = data[:palette] + stream
    struct.pack_into("<I", data, 10, palette)
    (folder / name).write_bytes(bytes(data))
    return f"rle: {name} {w} x {h} {bits}-bit, {len(stream)} bytes of runs"


# Music: Standard MIDI Files.

def midi(folder, rng):
    name = pick_existing(folder, rng, [f"bgm{n:02}.mid" for n in range(1, 10)])
    if name is None:
        return "no music left"
    data = bytearray((folder / name).read_bytes())
    what = rng.choice(["header length", "track length", "tracks", "division", "no tempo"])
    if what == "header length":
        struct.pack_into(">I", data, 4, rng.choice([0, 5, 7, 0xFFFF, 0xFFFFFFFF]))
    elif what == "track length":
        tracks = [m.start() for m in re.finditer(b"MTrk", data)]
        if tracks:
            struct.pack_into(">I", data, rng.choice(tracks) + 4, rng.choice([0, 1, len(data), 0x7FFFFFFF, 0xFFFFFFFF]))
    elif what == "tracks":
        struct.pack_into(">H", data, 10, rng.choice([0, 100, 65535]))
    elif what == "division":
        struct.pack_into(">H", data, 12, rng.choice([0, 0x8000, 0xE200, 0xFFFF]))
    else:
        # Each tempo event becomes a text event of the same length.
        data = bytearray(data.replace(b"\xff\x51\x03", b"\xff\x01\x03"))
    (folder / name).write_bytes(bytes(data))
    return f"midi: {name} {what}"


# Save slots the play never saves into.

def save_slot(folder, rng):
    name = rng.choice(SAVES)
    file = folder / name
    data = file.read_bytes() if file.is_file() else b""
    lines = data.split(b"\r\n")
    what = rng.choice(["fewer lines", "more lines", "garbage", "large", "empty", "bad field", "lf only"])
    if what == "fewer lines":
        data = b"\r\n".join(lines[: rng.randint(0, max(0, len(lines) - 2))])
    elif what == "more lines":
        data = data + b"\r\n".join([b" 1"] * rng.randint(1, 50)) + b"\r\n"
    elif what == "garbage":
        data = rng.randbytes(rng.choice([1, 64, 400, 4000]))
    elif what == "large":
        data = data * 2000
    elif what == "empty":
        data = b""
    elif what == "bad field":
        k = rng.randrange(len(lines))
        lines[k] = rng.choice([b"abc", b"99999999999", b"-", b"\x81", b"2000/13/45 99:99", b'"'])
        data = b"\r\n".join(lines)
    else:
        data = data.replace(b"\r\n", b"\n")
    file.write_bytes(data)
    return f"save: {name} {what}"


FAMILIES = {
    "byte flips": byte_flips,
    "truncation": truncation,
    "extension": extension,
    "odd field counts": odd_field_count,
    "blank fields": blank_field,
    "huge or negative numbers": odd_number,
    "unbalanced quotes": unbalanced_quote,
    "non-Shift-JIS bytes": non_sjis,
    "long lines": long_line,
    "many records": many_records,
    "picture headers": picture_header,
    "RLE garbage": rle_garbage,
    "MIDI chunks and tempo": midi,
    "save slots": save_slot,
    "a file deleted": deleted,
    "a file made a directory": directory,
}


def mutate(folder: Path, family: str, rng: random.Random) -> list[str]:
    """Applies one or two mutations of `family` to `folder`."""
    return [FAMILIES[family](folder, rng) for _ in range(rng.choice([1, 2]))]


def copy_folder(source: Path, target: Path) -> None:
    if target.exists():
        shutil.rmtree(target)
    shutil.copytree(source, target, symlinks=True)
