#!/usr/bin/env python3
"""Writes the seed corpora of the binary readers' fuzz targets beside this
script: corpus-character-binary/, corpus-mesh/ and corpus-far/. Every file is
built from the formats' layouts: little-endian u32 counts, strings as a length
byte and the bytes. Run it again after changing a seed here."""

import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent


def u32(value):
    return struct.pack("<I", value)


def string(text):
    data = text.encode("latin-1")
    return bytes([len(data)]) + data


def suit(name, skins, kind=0, second=0):
    out = string(name) + u32(kind) + u32(second) + u32(len(skins))
    for bone, mesh, flags, more in skins:
        out += string(bone) + string(mesh) + u32(flags) + u32(more)
    return out


def character(skins, skeletons=0, suits=1, skills=0, kind=2, second=7):
    body = b"".join(suit("B001FAFit_01", skins, kind, second) for _ in range(suits))
    return u32(skeletons) + u32(suits) + body + u32(skills)


BODY = [
    ("PELVIS", "xskin-b001fafit_01-PELVIS-BODY", 0, 0),
    ("L_HAND", "xskin-lhand-HANDS", 1, 3),
    ("HEAD", "xskin-c001fa_01-HEAD-HEAD", 0x80000000, 0xFFFFFFFF),
]
VALID = character(BODY)


def binary_mesh(name, texture, bones, count=None, geometry=64):
    out = string(name) + string(texture) + u32(len(bones) if count is None else count)
    out += b"".join(string(bone) for bone in bones)
    return out + bytes((i * 7) & 0xFF for i in range(geometry))


def far(files, version=1, name_length=u32, overlap=False, sizes_differ=False, grown=0):
    """A FAR archive; the damages asked for apply to every entry but the first."""
    body, manifest = b"", u32(len(files))
    for k, (name, data) in enumerate(files):
        offset = 16 if overlap and k > 0 else 16 + len(body)
        size = len(data) + (grown if k > 0 else 0)
        second = size + 1 if sizes_differ and k > 0 else size
        manifest += u32(size) + u32(second) + u32(offset)
        manifest += name_length(len(name)) + name.encode("latin-1")
        body += data
    return b"FAR!byAZ" + u32(version) + u32(16 + len(body)) + body + manifest


ARCHIVED = [
    ("Skins\\B001FAFit_01.cmx.bcf", VALID),
    ("Skins\\glasses.bmf", binary_mesh("glasses", "glasses-tex", ["HEAD", "NECK"], geometry=16)),
    ("readme.txt", b"hello"),
]
ARCHIVE = far(ARCHIVED)

SEEDS = {
    "corpus-character-binary": {
        "body.cmx.bcf": VALID,
        "no-skins.cmx.bcf": character([]),
        "long-names.cmx.bcf": character([("B" * 255, "m" * 255, 1, 2)]),
        "skeleton.bcf": u32(1) + string("adult") + u32(0) + u32(0) + u32(0),
        "animation.bcf": u32(0) + u32(0) + u32(1) + string("a2o-idle") + u32(0),
        "two-outfits.cmx.bcf": character(BODY[:1], suits=2),
        "skills-after-outfit.cmx.bcf": character(BODY[:1], skills=1),
        "bytes-after-end.cmx.bcf": VALID + b"\0",
        "cut-within-skin.cmx.bcf": VALID[:40],
        "cut-within-counts.cmx.bcf": VALID[:6],
        "huge-skin-count.cmx.bcf": u32(0) + u32(1) + string("x") + u32(0) * 2 + u32(4000000000),
        "text.cmx": b"// Character File. Copyright 1997, Maxis Inc.\r\nversion 300\r\n0\r\n1\r\n"
        b"B001FAFit_01\r\n0\r\n0\r\n1\r\nPELVIS\r\nxskin-PELVIS\r\n0\r\n0\r\n0\r\n",
    },
    "corpus-mesh": {
        "glasses.bmf": binary_mesh("glasses", "glasses-tex", ["HEAD", "NECK"]),
        "glasses.skn": b"glasses\r\nglasses-tex\r\n1\r\nHEAD\r\n0\r\n0.125 0.25 0.5\r\n",
        "names-beyond-400-bytes.bmf": binary_mesh("n" * 200, "t" * 200, ["HEAD"]),
        "cut-within-bones.bmf": binary_mesh("glasses", "tex", ["HEAD", "NECK"])[:20],
        "huge-bone-count.bmf": binary_mesh("glasses", "tex", ["HEAD"], count=4000000000),
        "no-bones.bmf": binary_mesh("glasses", "tex", []),
        "empty-name.bmf": binary_mesh("", "tex", ["HEAD"]),
    },
    "corpus-far": {
        "entries-in-folders.far": ARCHIVE,
        "no-entries.far": far([]),
        "empty-entries.far": far([("a", b""), ("b", b"")]),
        "version-3.far": far(ARCHIVED[:1], version=3),
        "version-1b.far": far(ARCHIVED, name_length=lambda n: struct.pack("<H", n)),
        "overlapping-entries.far": far(ARCHIVED, overlap=True),
        "two-sizes.far": far(ARCHIVED, sizes_differ=True),
        "manifest-beyond-end.far": ARCHIVE[:12] + u32(len(ARCHIVE) + 100) + ARCHIVE[16:],
        "entry-beyond-files.far": far(ARCHIVED, grown=1000),
        "manifest-cut-short.far": ARCHIVE[:-4],
        "cut-within-heading.far": ARCHIVE[:10],
        "not-an-archive.far": b"RAF!byAZ" + ARCHIVE[8:64],
    },
}

for folder, files in SEEDS.items():
    (HERE / folder).mkdir(exist_ok=True)
    for name, data in files.items():
        (HERE / folder / name).write_bytes(data)
