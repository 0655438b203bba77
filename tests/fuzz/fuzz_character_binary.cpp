// Fuzzes the reading of character files, binary ones above all (see corpus-character-binary/).
#include "tests/fuzz/readerinvariants.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return readerinvariants::abortOnFault(readerinvariants::characterFault(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
}
