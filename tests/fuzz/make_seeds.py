#!/usr/bin/env python3
"""Writes the seed corpora of the readers' fuzz targets beside this script:
corpus-character-binary/, corpus-mesh/, corpus-far/, corpus-mesh-geometry/ and
corpus-skeleton/ and corpus-texture/. Every file is
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

def f32(*values):
    return struct.pack("<%df" % len(values), *values)


def whole_mesh(text=False, end="\r\n", faces=None, blends=None, vertex_count=None, nan=False):
    """A whole mesh: two bones, four vertices, one blended vertex. In text a
    blend is its vertex and weight; in binary its weight and vertex."""
    faces = faces or [(0, 1, 2), (2, 3, 0)]
    bindings = [(0, 0, 3, -1, 0), (1, 3, 1, 0, 1)]
    uvs = [(0.125, 0.5), (1.0, 0.0), (0.25, 0.75), (0.0, 1.0)]
    blends = blends or [(16384, 2)]
    vertices = [(k * 0.5, -k * 1.5, 3.0, 0.0, 1.0, 0.0) for k in range(4)]
    vertices += [(0.5, 0.001, -4.0, 1.0, 0.0, 0.0)] * len(blends)
    if nan:
        vertices[1] = (0.0, float("nan"), 0.0, 0.0, 1.0, 0.0)
    count = len(uvs) + len(blends) if vertex_count is None else vertex_count
    if text:
        lines = ["glasses", "glasses-tex", "2", "HEAD", "NECK", str(len(faces))]
        lines += ["%d %d %d" % face for face in faces] + [str(len(bindings))]
        lines += ["%d %d %d %d %d" % b for b in bindings] + [str(len(uvs))]
        lines += ["%g %g" % uv for uv in uvs] + [str(len(blends))]
        lines += ["%d %d" % (vertex, weight) for weight, vertex in blends] + [str(count)]
        lines += [" ".join("%g" % v for v in vertex) for vertex in vertices]
        return (end.join(lines) + end).encode("latin-1")
    out = string("glasses") + string("glasses-tex") + u32(2) + string("HEAD") + string("NECK")
    out += u32(len(faces)) + b"".join(u32(a) + u32(b) + u32(c) for a, b, c in faces)
    out += u32(len(bindings))
    out += b"".join(struct.pack("<IIIiI", *binding) for binding in bindings)
    out += u32(len(uvs)) + b"".join(f32(*uv) for uv in uvs)
    out += u32(len(blends)) + b"".join(u32(w) + u32(v) for w, v in blends)
    return out + u32(count) + b"".join(f32(*vertex) for vertex in vertices)


# Bones as name, parent and property lists; position and rotation are fixed.
ADULT = [("ROOT", "NULL", []), ("PELVIS", "ROOT", [[("mass", "12")]]), ("SPINE", "PELVIS", [[]])]


def skeleton_file(bones=ADULT, text=False, bone_count=None):
    """A character file holding one skeleton "adult", no suit and no skill."""
    count = len(bones) if bone_count is None else bone_count
    if text:
        lines = ["// Character File. Copyright 1997, Maxis Inc.", "version 300", "1", "adult"]
        lines.append(str(count))
        for name, parent, lists in bones:
            lines += [name, parent, str(len(lists))]
            for properties in lists:
                lines.append(str(len(properties)))
                for key, value in properties:
                    lines += [key, value]
            lines += ["| 0 3.25 -0.5 |", "| 0 0 0.707107 0.707107 |", "1", "1", "0", "0", "0"]
        return ("\r\n".join(lines + ["0", "0"]) + "\r\n").encode("latin-1")
    out = u32(1) + string("adult") + u32(count)
    for name, parent, lists in bones:
        out += string(name) + string(parent) + u32(len(lists))
        for properties in lists:
            out += u32(len(properties))
            out += b"".join(string(key) + string(value) for key, value in properties)
        out += f32(0, 3.25, -0.5, 0, 0, 0.707107, 0.707107) + u32(1) + u32(1) + u32(0)
        out += f32(0, 0)
    return out + u32(0) + u32(0)


def bmp(bits=8, width=64, height=64, info=40):
    if info == 12:
        header = u32(12) + struct.pack("<HHHH", width, height, 1, bits)
    else:
        header = u32(info) + struct.pack("<iiHH", width, height, 1, bits) + bytes(info - 16)
    return b"BM" + u32(14 + len(header)) + u32(0) + u32(14 + len(header)) + header


def tga(kind=2, bits=24, width=2, height=2, colour_map=0):
    header = bytes([0, colour_map, kind]) + bytes(9) + struct.pack("<HH", width, height)
    return header + bytes([bits, 0]) + bytes(width * height * max(bits // 8, 1))


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
    "corpus-mesh-geometry": {
        "glasses.bmf": whole_mesh(),
        "glasses.skn": whole_mesh(text=True),
        "glasses-lf.skn": whole_mesh(text=True, end="\n"),
        "face-past-vertices.bmf": whole_mesh(faces=[(0, 1, 9)]),
        "blend-past-vertices.skn": whole_mesh(text=True, blends=[(100, 4)]),
        "nan-position.bmf": whole_mesh(nan=True),
        "vertex-count-differs.skn": whole_mesh(text=True, vertex_count=4),
        "cut-within-vertices.bmf": whole_mesh()[:-30],
        "huge-vertex-count.skn": whole_mesh(text=True, vertex_count=4000000000),
    },
    "corpus-skeleton": {
        "adult-skeleton.cmx.bcf": skeleton_file(),
        "adult-skeleton.cmx": skeleton_file(text=True),
        "cycle.cmx.bcf": skeleton_file([("A", "B", []), ("B", "A", [])]),
        "missing-parent.cmx": skeleton_file([("A", "NULL", []), ("B", "HIP", [])], text=True),
        "huge-bone-count.cmx.bcf": skeleton_file(bone_count=4000000000),
        "cut-within-bone.cmx.bcf": skeleton_file()[:70],
        "character.cmx.bcf": VALID,
    },
    "corpus-texture": {
        "256-colours.bmp": bmp(),
        "24-bits.bmp": bmp(bits=24),
        "top-down.bmp": bmp(height=-64),
        "os2-header.bmp": bmp(info=12),
        "cut-within-header.bmp": bmp()[:20],
        "true-colour.tga": tga(),
        "mapped.tga": tga(kind=1, bits=8, colour_map=1),
        "unknown-kind.tga": tga(kind=7),
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
