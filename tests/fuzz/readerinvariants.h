#pragma once

#include <QByteArrayView>

#include <optional>
#include <string>

// What the readers of the game's files must hold to on any bytes at all. The
// fuzz targets check them on every input, and a test replays the seed corpora
// through them in every build. Each gives the first invariant the bytes break,
// or nothing.
namespace readerinvariants {

using Fault = std::optional<std::string>;

// characterOf, and binaryCharacterOf: a binary file read writes back to the
// very same bytes; a text file read writes a text that reads the same skins.
Fault characterFault(QByteArrayView bytes);

// meshOf on the start of a mesh file of that many bytes: a mesh read has a
// name and a first bone.
Fault meshFault(QByteArrayView bytes);

// meshGeometryOf: a mesh read is one meshOf reads alike, its floats are finite
// and every index points into what it names.
Fault meshGeometryFault(QByteArrayView bytes);

// skeletonsOf: skeletons read are told by looksLikeSkeletonFile, their floats
// are finite, and in each the bone names differ and the parents form trees.
Fault skeletonFault(QByteArrayView bytes);

// FarArchive::read: the entries of an archive read lie within the files' bytes
// without overlapping, and each is found by its name.
Fault archiveFault(QByteArrayView bytes);

// textureHeaderOf and the texture entries' detectors: a header read is a
// BMP's, of sizes measured whatever their sign, and the BMP entry tells it.
Fault textureFault(QByteArrayView bytes);

// For the fuzz targets: reports fault and aborts, so that libFuzzer keeps the
// input; returns 0 when there is none.
int abortOnFault(const Fault &fault);

} // namespace readerinvariants
