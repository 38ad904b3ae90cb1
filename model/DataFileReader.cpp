#include "model/DataFileReader.h"

#include "model/CodePage874.h"
#include "model/Progress.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

constexpr qsizetype ChunkSize = 256 * 1024;

// Decoding flags that keep every character: a byte-order mark in the text is not dropped, and an
// incomplete character at the end becomes a replacement character.
constexpr auto KeepEverything = QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless;

constexpr bool isRecordEnd(char byte)
{
    return byte == '\n' || byte == '\r' || byte == ',';
}

constexpr bool isAscii(char byte)
{
    return uchar(byte) < 0x80;
}

bool blanksOnly(QByteArrayView record)
{
    return std::all_of(record.begin(), record.end(), [](char byte) { return isBlank(byte); });
}

// Files run to megabytes, so the two searches below look at eight bytes at a time before they look
// at single bytes.
constexpr std::uint64_t EveryByte = 0x0101010101010101;
constexpr std::uint64_t HighBits = 0x8080808080808080;

std::uint64_t word(const char* bytes)
{
    std::uint64_t eight;
    std::memcpy(&eight, bytes, 8);
    return eight;
}

// Non-zero when one of the eight bytes equals `byte`.
constexpr std::uint64_t holds(std::uint64_t eight, char byte)
{
    const std::uint64_t differences = eight ^ (EveryByte * uchar(byte));
    return (differences - EveryByte) & ~differences & HighBits;
}

const char* findRecordEnd(const char* from, const char* end)
{
    for (; end - from >= 8; from += 8) {
        const std::uint64_t eight = word(from);
        if (holds(eight, '\n') | holds(eight, '\r') | holds(eight, ','))
            break;
    }
    return std::find_if(from, end, [](char byte) { return isRecordEnd(byte); });
}

const char* findNonAscii(const char* from, const char* end)
{
    while (end - from >= 8 && !(word(from) & HighBits))
        from += 8;
    return std::find_if(from, end, [](char byte) { return !isAscii(byte); });
}

// A small file needs no more than its own size: the fuzzer reads thousands of them a second.
qsizetype chunkSizeFor(const QIODevice& device)
{
    if (device.isSequential())
        return ChunkSize;
    return std::clamp<qint64>(device.size() - device.pos(), 64, ChunkSize);
}

struct Wide {
    QStringConverter::Encoding encoding;
    qsizetype byteOrderMark; // its length in bytes, 0 without one
};

// A file of two or four bytes per character. Without a byte-order mark, UTF-16 shows itself by
// its zero bytes: a data file is mostly ASCII digits, letters and line ends, each one byte and a
// zero, while the other bytes are never zero (a Thai letter is 0x0E and a second byte).
std::optional<Wide> wideEncoding(QByteArrayView head)
{
    if (head.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)))
        return Wide{QStringConverter::Utf32LE, 4};
    if (head.startsWith(QByteArrayView("\0\0\xFE\xFF", 4)))
        return Wide{QStringConverter::Utf32BE, 4};
    if (head.startsWith("\xFF\xFE"))
        return Wide{QStringConverter::Utf16LE, 2};
    if (head.startsWith("\xFE\xFF"))
        return Wide{QStringConverter::Utf16BE, 2};
    const qsizetype pairs = head.size() / 2;
    qsizetype zeroFirst = 0, zeroSecond = 0;
    for (qsizetype pair = 0; pair < pairs; ++pair) {
        zeroFirst += head[2 * pair] == 0;
        zeroSecond += head[2 * pair + 1] == 0;
    }
    if (pairs >= 2 && zeroFirst == 0 && 2 * zeroSecond >= pairs)
        return Wide{QStringConverter::Utf16LE, 0};
    if (pairs >= 2 && zeroSecond == 0 && 2 * zeroFirst >= pairs)
        return Wide{QStringConverter::Utf16BE, 0};
    return std::nullopt;
}

// Whether `bytes` end in the first half of a UTF-16 surrogate pair, whose second half is still to come.
bool endsInHighSurrogate(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    if (bytes.size() < 2 || (encoding != QStringConverter::Utf16LE && encoding != QStringConverter::Utf16BE))
        return false;
    const uchar first = uchar(bytes[bytes.size() - 2]), second = uchar(bytes.back());
    const char16_t unit =
        encoding == QStringConverter::Utf16LE ? char16_t(second << 8 | first) : char16_t(first << 8 | second);
    return QChar::isHighSurrogate(unit);
}

} // namespace

DataFileReader::DataFileReader(QIODevice& device, Progress* progress)
    : device_(&device), progress_(progress), chunk_(chunkSizeFor(device), Qt::Uninitialized)
{
    const QByteArray head = device.peek(4096);
    if (head.startsWith("\xEF\xBB\xBF")) {
        encoding_ = Encoding::Utf8;
        device.skip(3);
    } else if (const std::optional<Wide> wide = wideEncoding(head)) {
        passes_ = 2;
        convertToUtf8(wide->encoding, wide->byteOrderMark);
    } else {
        passes_ = 2;
        encoding_ = scanEncoding();
        failed_ = failed_ || !device.seek(0);
        chunkSize_ = at_ = 0;
        pass_ = 1;
    }
}

DataFileReader::Encoding DataFileReader::scanEncoding()
{
    bool ascii = true;
    QByteArray unchecked; // the end of the last chunk: a character that may go on in the next one
    while (readChunk()) {
        QByteArrayView bytes(chunk_.constData(), chunkSize_);
        if (ascii) {
            const char* nonAscii = findNonAscii(bytes.begin(), bytes.end());
            if (nonAscii == bytes.end())
                continue;
            ascii = false;
            bytes = QByteArrayView(nonAscii, bytes.end());
        }
        // Every character but the last is whole and can be checked now; the last may go on in the
        // next chunk. Only those few bytes are carried over, however long the non-ASCII text runs.
        unchecked.append(bytes);
        qsizetype last = unchecked.size() - 1;
        while (last > 0 && unchecked.size() - last < 4 && (uchar(unchecked[last]) & 0xC0) == 0x80)
            --last;
        const qsizetype whole = isAscii(unchecked[last]) ? last + 1 : last;
        if (!QByteArrayView(unchecked).first(whole).isValidUtf8())
            return Encoding::Cp874;
        unchecked.remove(0, whole);
    }
    if (ascii)
        return Encoding::Ascii;
    return QByteArrayView(unchecked).isValidUtf8() ? Encoding::Utf8 : Encoding::Cp874;
}

void DataFileReader::convertToUtf8(QStringConverter::Encoding encoding, qsizetype byteOrderMark)
{
    device_->skip(byteOrderMark);
    const qsizetype unit =
        encoding == QStringConverter::Utf16LE || encoding == QStringConverter::Utf16BE ? 2 : 4;
    QByteArray utf8;
    QByteArray carried; // the start of a character that goes on in the next chunk
    while (readChunk()) {
        carried.append(chunk_.constData(), chunkSize_);
        qsizetype whole = carried.size() - carried.size() % unit;
        if (endsInHighSurrogate(QByteArrayView(carried).first(whole), encoding))
            whole -= 2;
        utf8 += QString(QStringDecoder(encoding, KeepEverything).decode(QByteArrayView(carried).first(whole)))
                    .toUtf8();
        carried.remove(0, whole);
    }
    utf8 += QString(QStringDecoder(encoding, KeepEverything).decode(carried)).toUtf8();
    wideAsUtf8_.setData(utf8);
    wideAsUtf8_.open(QIODevice::ReadOnly);
    device_ = &wideAsUtf8_;
    encoding_ = Encoding::Utf8;
    chunkSize_ = at_ = 0;
    pass_ = 1;
}

bool DataFileReader::readChunk()
{
    const qint64 got = device_->read(chunk_.data(), chunk_.size());
    failed_ = failed_ || got < 0;
    chunkSize_ = std::max<qint64>(got, 0);
    at_ = 0;
    reportProgress();
    return got > 0;
}

void DataFileReader::reportProgress()
{
    const qint64 size = device_->size();
    if (!progress_ || device_->isSequential() || size <= 0)
        return;
    constexpr qint64 PerPass = 1000;
    progress_->advance(pass_ * PerPass + device_->pos() * PerPass / size, passes_ * PerPass);
}

void DataFileReader::setRecordLimit(qsizetype characters)
{
    // In UTF-8 a character (a UTF-16 unit) takes at most three bytes.
    keptBytes_ = encoding_ == Encoding::Utf8 ? 3 * characters : characters;
}

void DataFileReader::keep(const char* from, const char* to)
{
    qsizetype kept = to - from;
    if (keptBytes_ >= 0)
        kept = std::clamp<qsizetype>(keptBytes_ - pending_.size(), 0, kept);
    pending_.append(from, kept);
    cut_ = cut_ || !blanksOnly(QByteArrayView(from + kept, to));
}

bool DataFileReader::next(QByteArrayView& record)
{
    pending_.clear();
    cut_ = false;
    for (;;) {
        const char* const begin = chunk_.constData() + at_;
        const char* const end = chunk_.constData() + chunkSize_;
        const char* const stop = findRecordEnd(begin, end);
        if (stop == end) { // the record goes on in the next chunk, if there is one
            keep(begin, end);
            if (!readChunk()) {
                if (failed_ || (blanksOnly(pending_) && !cut_))
                    return false;
                record = pending_; // the last record, without a line end
                return true;
            }
            continue;
        }
        at_ = stop + 1 - chunk_.constData();
        if (pending_.isEmpty() && !cut_ && (keptBytes_ < 0 || stop - begin <= keptBytes_)) {
            record = QByteArrayView(begin, stop); // the whole record lies in this chunk
        } else {
            keep(begin, stop);
            record = pending_;
        }
        if (cut_ || !blanksOnly(record))
            return true;
        pending_.clear();
    }
}

QString DataFileReader::text(QByteArrayView record, qsizetype from, qsizetype length) const
{
    // In UTF-8 a character's position is known only after decoding. A byte-order mark that starts
    // a record is a character like any other, and a cut-off character at its end is a mistake.
    if (encoding_ == Encoding::Utf8) {
        QStringDecoder decoder(QStringDecoder::Utf8, KeepEverything);
        return QString(decoder.decode(record)).mid(from, length);
    }

    record = record.sliced(std::min(from, record.size()));
    if (length >= 0 && length < record.size())
        record = record.first(length);
    if (encoding_ == Encoding::Ascii)
        return QString::fromLatin1(record);
    QString decoded(record.size(), Qt::Uninitialized);
    const auto& table = cp874Characters();
    std::transform(record.begin(), record.end(), decoded.data(),
                   [&table](char byte) { return QChar(table[uchar(byte)]); });
    return decoded;
}
