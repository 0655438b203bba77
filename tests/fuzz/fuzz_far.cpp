// Fuzzes the reading of FAR archives' manifests (see corpus-far/).
#include "tests/fuzz/readerinvariants.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return readerinvariants::abortOnFault(readerinvariants::archiveFault(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
}
