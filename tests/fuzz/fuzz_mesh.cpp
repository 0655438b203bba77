// Fuzzes the reading of the start of mesh files, text or binary (see corpus-mesh/).
#include "tests/fuzz/readerinvariants.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return readerinvariants::abortOnFault(readerinvariants::meshFault(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
}
