// Drives the whole way from data-file bytes, behind three bytes of settings, to the visual report
// and the spreadsheet of the item diagnostics.

#include "Checks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (!diagnosticsKeepTheirPromises(QByteArrayView(bytes, qsizetype(size))))
        std::abort();
    return 0;
}
