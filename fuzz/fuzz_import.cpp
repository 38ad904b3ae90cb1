// Feeds arbitrary bytes to the spreadsheet import, as CSV, as XLSX and as the rows of an ODS sheet,
// and holds the quick CSV import to the result of the whole table.

#include "Checks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (!importKeepsItsPromises(QByteArrayView(bytes, qsizetype(size))))
        std::abort();
    return 0;
}
