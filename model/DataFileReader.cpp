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
    : device_(&device), progress_(progress), chunk_(chunkSizeFor(device), Qt::Uninitialized),
      total_(device.isSequential() ? 0 : device.size() - device.pos())
{
    const QByteArray head = device.peek(4096);
    if (head.startsWith("\xEF\xBB\xBF")) {
        encoding_ = Encoding::Utf8;
        device.skip(3);
    } else if (const std::optional<Wide> wide = wideEncoding(head)) {
        convertToUtf8(wide->encoding, wide->byteOrderMark);
    } else {
        undecided_ = true; // ASCII until a record says otherwise
    }
}

void DataFileReader::decideEncoding(QByteArrayView record)
{
    if (!nonAsciiDropped_ && findNonAscii(record.begin(), record.end()) == record.end())
        return;
    // Everything before this record was ASCII, which all three encodings read alike, so whether the
    // file is UTF-8 depends on the rest of it alone. That is read once more, and the reading goes on
    // where it was.
    undecided_ = false;
    const qint64 resume = device_->pos();
    total_ += total_ - recordStart_;
    QByteArray buffer(chunk_.size(), Qt::Uninitialized);
    failed_ = failed_ || !device_->seek(recordStart_);
    encoding_ = scanEncoding(buffer);
    failed_ = failed_ || !device_->seek(resume);
}

DataFileReader::Encoding DataFileReader::scanEncoding(QByteArray& buffer)
{
    QByteArray unchecked; // the end of the last chunk: a character that may go on in the next one
    for (qsizetype got; (got = read(buffer)) > 0;) {
        // Every character but the last is whole and can be checked now; the last may go on in the
        // next chunk. Only those few bytes are carried over, however long the non-ASCII text runs.
        unchecked.append(buffer.constData(), got);
        qsizetype last = unchecked.size() - 1;
        while (last > 0 && unchecked.size() - last < 4 && (uchar(unchecked[last]) & 0xC0) == 0x80)
            --last;
        const qsizetype whole = isAscii(unchecked[last]) ? last + 1 : last;
        if (!QByteArrayView(unchecked).first(whole).isValidUtf8())
            return Encoding::Cp874;
        unchecked.remove(0, whole);
    }
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
    total_ += utf8.size();
    chunkOffset_ = chunkSize_ = at_ = 0;
}

qsizetype DataFileReader::read(QByteArray& buffer)
{
    const qint64 got = device_->read(buffer.data(), buffer.size());
    failed_ = failed_ || got < 0;
    if (got <= 0)
        return 0;
    bytesRead_ += got;
    if (progress_ && total_ > 0)
        progress_->advance(std::min(bytesRead_, total_), total_);
    return got;
}

bool DataFileReader::readChunk()
{
    chunkOffset_ = device_->pos();
    chunkSize_ = read(chunk_);
    at_ = 0;
    return chunkSize_ > 0;
}

void DataFileReader::setRecordLimit(qsizetype characters)
{
    // In UTF-8 a character (a UTF-16 unit) takes at most three bytes; a file still taken as ASCII
    // may yet turn out to be UTF-8.
    keptBytes_ = encoding_ == Encoding::Cp874 ? characters : 3 * characters;
}

void DataFileReader::keep(const char* from, const char* to)
{
    qsizetype kept = to - from;
    if (keptBytes_ >= 0)
        kept = std::clamp<qsizetype>(keptBytes_ - pending_.size(), 0, kept);
    pending_.append(from, kept);
    const QByteArrayView dropped(from + kept, to);
    cut_ = cut_ || !blanksOnly(dropped);
    // A character dropped here still has its say in the file's encoding.
    nonAsciiDropped_ = nonAsciiDropped_ || (undecided_ && findNonAscii(dropped.begin(), dropped.end()) != to);
}

bool DataFileReader::next(QByteArrayView& record)
{
    if (!nextRecord(record))
        return false;
    if (undecided_)
        decideEncoding(record);
    return !failed_;
}

bool DataFileReader::nextRecord(QByteArrayView& record)
{
    pending_.clear();
    cut_ = false;
    for (;;) {
        if (pending_.isEmpty())
            recordStart_ = chunkOffset_ + at_;
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
        cut_ = false;
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
    return decodeCp874(record);
}
