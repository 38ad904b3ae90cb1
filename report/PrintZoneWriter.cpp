#include "report/PrintZoneWriter.h"

#include <algorithm>
#include <utility>

PrintZoneWriter::PrintZoneWriter(qsizetype expectedSize)
{
    if (expectedSize > 0)
        grow(expectedSize);
}

PrintZoneWriter::PrintZoneWriter(Sink sink, qsizetype pieceSize)
    : sink_(std::move(sink)), pieceSize_(pieceSize)
{
    grow(pieceSize + 256); // a piece and the line that completes it, as a rule
}

void PrintZoneWriter::grow(qsizetype count)
{
    text_.resize(std::max(2 * text_.size(), used_ + count));
    begin_ = text_.data();
}

QChar* PrintZoneWriter::append(qsizetype count)
{
    if (count > text_.size() - used_)
        grow(count);
    QChar* at = begin_ + used_;
    used_ += count;
    return at;
}

PrintZoneWriter& PrintZoneWriter::text(QStringView item)
{
    QChar* out = append(item.size());
    // Columns count code points: the low half of a surrogate pair adds none.
    qsizetype pairs = 0;
    char16_t previous = 0;
    for (const QChar c : item) {
        *out++ = c;
        pairs += QChar::isLowSurrogate(c.unicode()) && QChar::isHighSurrogate(previous);
        previous = c.unicode();
    }
    column_ += item.size() - pairs;
    return *this;
}

PrintZoneWriter& PrintZoneWriter::text(QLatin1StringView item)
{
    std::transform(item.begin(), item.end(), append(item.size()), [](char c) { return QLatin1Char(c); });
    column_ += item.size();
    return *this;
}

PrintZoneWriter& PrintZoneWriter::zone()
{
    const qsizetype padding = ZoneWidth - column_ % ZoneWidth;
    std::fill_n(append(padding), padding, QLatin1Char(' '));
    column_ += padding;
    return *this;
}

PrintZoneWriter& PrintZoneWriter::endLine()
{
    QChar* out = append(2);
    out[0] = u'\r';
    out[1] = u'\n';
    column_ = 0;
    if (sink_ && used_ >= pieceSize_)
        flush();
    return *this;
}

void PrintZoneWriter::flush()
{
    if (!sink_ || used_ == 0)
        return;
    sink_(QStringView(begin_, used_));
    used_ = 0;
}

QString PrintZoneWriter::take()
{
    text_.resize(used_);
    QString written = std::exchange(text_, QString());
    begin_ = nullptr;
    used_ = 0;
    column_ = 0;
    return written;
}
