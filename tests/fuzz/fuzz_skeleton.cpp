// Fuzzes the reading of skeleton files, binary or text (see corpus-skeleton/).
#include "tests/fuzz/readerinvariants.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return readerinvariants::abortOnFault(readerinvariants::skeletonFault(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
}
