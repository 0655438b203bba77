// Fuzzes the reading of textures' headers and the telling of their kinds (see
// corpus-texture/).
#include "tests/fuzz/readerinvariants.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return readerinvariants::abortOnFault(readerinvariants::textureFault(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
}
