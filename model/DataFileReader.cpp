#include "model/DataFileReader.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

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

// Code page 874 maps every byte to exactly one character (its undefined bytes to private-use
// characters that encode back to the same byte), so a table built from the converter decodes as
// the converter would, without a converter call per record.
const std::array<char16_t, 256>& cp874Table()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> units{};
        QStringDecoder decoder("windows-874");
        for (int byte = 0; byte < 256; ++byte) {
            const char single = char(byte);
            const QString decoded = decoder.decode(QByteArrayView(&single, 1));
            units[byte] = decoded.size() == 1 ? decoded[0].unicode() : char16_t(QChar::ReplacementCharacter);
        }
        return units;
    }();
    return table;
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
            const auto nonAscii = std::find_if_not(bytes.begin(), bytes.end(), isAscii);
            if (nonAscii == bytes.end())
                continue;
            ascii = false;
            bytes = QByteArrayView(nonAscii, bytes.end());
        }
        // An ASCII byte is a whole character, so the text up to the last one can be checked now.
        const char* cut = std::find_if(bytes.rbegin(), bytes.rend(), isAscii).base();
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
    const char* bytes = chunk_.constData();
    qsizetype start = at_;
    bool blanksOnly = true;
    for (;;) {
        if (at_ == chunkSize_) {
            pending_.append(bytes + start, at_ - start);
            if (!readChunk()) {
                if (blanksOnly || failed_)
                    return false;
                record = pending_; // the last record, without a line end
                return true;
            }
            bytes = chunk_.constData();
            start = 0;
        }
        const char byte = bytes[at_++];
        if (isRecordEnd(byte)) {
            if (!blanksOnly) {
                const QByteArrayView rest(bytes + start, at_ - 1 - start);
                if (pending_.isEmpty()) {
                    record = rest;
                } else {
                    pending_.append(rest);
                    record = pending_;
                }
                return true;
            }
            pending_.clear();
            start = at_;
        } else if (blanksOnly && !isBlank(byte)) {
            blanksOnly = false;
        }
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
    const auto& table = cp874Table();
    std::transform(record.begin(), record.end(), decoded.data(),
                   [&table](char byte) { return QChar(table[uchar(byte)]); });
    return decoded;
}
