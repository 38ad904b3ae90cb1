// Feeds arbitrary bytes to the spreadsheet import, as CSV and as XLSX, and holds the quick CSV import
// to the result of the whole table.

#include "Checks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (!importKeepsItsPromises(QByteArrayView(bytes, qsizetype(size))))
        std::abort();
    return 0;
}
