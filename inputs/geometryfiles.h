#pragma once

#include "base/result.h"
#include "formats/geometry.h"
#include "inputs/inputfiles.h"

#include <QList>

namespace kelvane {

// Whole meshes and skeletons read from input files, loose or archive entries,
// for the preview. A loose file is opened only when it is a regular file; a
// file larger than its format's read budget is refused unread. Errors name the
// file and the fault.

// The mesh of a mesh file of either format (see meshGeometryOf), at most
// kMeshGeometryBytesRead bytes.
Result<MeshGeometry> readMeshGeometry(const InputFile &input);

// The skeletons of a skeleton file, binary or text (see skeletonsOf), at most
// kSkeletonFileBytesRead bytes.
Result<QList<Skeleton>> readSkeletons(const InputFile &input);

} // namespace kelvane
