#include "report/PrintZoneWriter.h"

namespace {

// The code points of a text: its UTF-16 units less one per surrogate pair.
qsizetype codePoints(QStringView text)
{
    qsizetype pairs = 0;
    for (qsizetype i = 1; i < text.size(); ++i)
        pairs += text[i].isLowSurrogate() && text[i - 1].isHighSurrogate();
    return text.size() - pairs;
}

} // namespace

PrintZoneWriter& PrintZoneWriter::text(QStringView item)
{
    text_.append(item);
    column_ += codePoints(item);
    return *this;
}

PrintZoneWriter& PrintZoneWriter::text(QLatin1StringView item)
{
    text_.append(item);
    column_ += item.size();
    return *this;
}

PrintZoneWriter& PrintZoneWriter::zone()
{
    static constexpr char16_t spaces[ZoneWidth + 1] = u"              ";
    const qsizetype padding = ZoneWidth - column_ % ZoneWidth;
    text_.append(QStringView(spaces, padding));
    column_ += padding;
    return *this;
}

PrintZoneWriter& PrintZoneWriter::endLine()
{
    text_.append(u"\r\n");
    column_ = 0;
    return *this;
}
