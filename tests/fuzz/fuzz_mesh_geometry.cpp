// Fuzzes the reading of whole mesh files, text or binary (see corpus-mesh-geometry/).
#include "tests/fuzz/readerinvariants.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return readerinvariants::abortOnFault(readerinvariants::meshGeometryFault(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
}
