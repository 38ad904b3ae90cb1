#include "model/DataFileReader.h"

#include "model/CodePage874.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstring>

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

} // namespace

DataFileReader::DataFileReader(QIODevice& device) : device_(&device), chunk_(ChunkSize, Qt::Uninitialized)
{
    const QByteArray head = device.peek(3);
    if (head.startsWith("\xEF\xBB\xBF")) {
        encoding_ = Encoding::Utf8;
        device.skip(3);
    } else if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        convertUtf16(QByteArrayView(head).first(2));
    } else {
        encoding_ = scanEncoding();
        failed_ = failed_ || !device.seek(0);
        chunkSize_ = at_ = 0;
    }
}

DataFileReader::Encoding DataFileReader::scanEncoding()
{
    bool ascii = true;
    QByteArray unchecked; // text after the last ASCII byte read: its last character may go on
    while (readChunk()) {
        QByteArrayView bytes(chunk_.constData(), chunkSize_);
        if (ascii) {
            const char* nonAscii = findNonAscii(bytes.begin(), bytes.end());
            if (nonAscii == bytes.end())
                continue;
            ascii = false;
            bytes = QByteArrayView(nonAscii, bytes.end());
        }
        // An ASCII byte is a whole character, so the text up to the last one can be checked now.
        const char* cut =
            std::find_if(bytes.rbegin(), bytes.rend(), [](char byte) { return isAscii(byte); }).base();
        if (cut == bytes.begin()) {
            unchecked.append(bytes);
            continue;
        }
        unchecked.append(bytes.begin(), cut - bytes.begin());
        if (!QByteArrayView(unchecked).isValidUtf8())
            return Encoding::Cp874;
        unchecked = QByteArray(cut, bytes.end() - cut);
    }
    if (ascii)
        return Encoding::Ascii;
    return QByteArrayView(unchecked).isValidUtf8() ? Encoding::Utf8 : Encoding::Cp874;
}

void DataFileReader::convertUtf16(QByteArrayView byteOrderMark)
{
    device_->skip(byteOrderMark.size());
    const QByteArray bytes = device_->readAll();
    failed_ = !device_->atEnd();
    const auto order = byteOrderMark[0] == '\xFF' ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE;
    utf16AsUtf8_.setData(QString(QStringDecoder(order, KeepEverything).decode(bytes)).toUtf8());
    utf16AsUtf8_.open(QIODevice::ReadOnly);
    device_ = &utf16AsUtf8_;
    encoding_ = Encoding::Utf8;
}

bool DataFileReader::readChunk()
{
    const qint64 got = device_->read(chunk_.data(), chunk_.size());
    failed_ = failed_ || got < 0;
    chunkSize_ = std::max<qint64>(got, 0);
    at_ = 0;
    return got > 0;
}

bool DataFileReader::next(QByteArrayView& record)
{
    pending_.clear();
    for (;;) {
        const char* const begin = chunk_.constData() + at_;
        const char* const end = chunk_.constData() + chunkSize_;
        const char* const stop = findRecordEnd(begin, end);
        if (stop == end) { // the record goes on in the next chunk, if there is one
            pending_.append(begin, end - begin);
            if (!readChunk()) {
                if (failed_ || blanksOnly(pending_))
                    return false;
                record = pending_; // the last record, without a line end
                return true;
            }
            continue;
        }
        at_ = stop + 1 - chunk_.constData();
        const QByteArrayView rest(begin, stop);
        if (pending_.isEmpty()) {
            record = rest;
        } else {
            pending_.append(rest);
            record = pending_;
        }
        if (!blanksOnly(record))
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
