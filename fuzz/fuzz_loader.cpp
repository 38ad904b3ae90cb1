// Feeds arbitrary bytes to the data-file loader.

#include "Checks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (!loaderKeepsItsPromises(QByteArrayView(bytes, qsizetype(size))))
        std::abort();
    return 0;
}
