#pragma once

#include "model/AnswerText.h"

#include <QBuffer>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringConverter>

class Progress;
class QIODevice;

// A blank, as data files use it: the space character. A tab is an ordinary character.
template <typename Unit> constexpr bool isBlank(Unit unit)
{
    return unit == Unit(' ');
}

// Reads the records of a data file one after another. A record ends at a line end (CR LF, LF or a
// lone CR) and at a comma; records that are empty or hold only blanks are skipped.
//
// The encoding is decided for the whole file: a UTF-8 byte-order mark, or valid UTF-8 that holds
// non-ASCII bytes, means UTF-8; a UTF-16 or UTF-32 byte-order mark, or a start in which every other
// byte is zero, means UTF-16 or UTF-32 (what Windows editors call "Unicode"); anything else is the
// Thai code page 874, one byte per character. The records are read in one pass, in chunks, and
// decoded one at a time, so neither the whole file nor its decoded text is ever held (a UTF-16 or
// UTF-32 file is held re-encoded). A file without a mark is read once more from its first non-ASCII
// record on, to tell UTF-8 from code page 874; an ASCII file, the usual kind, is read just once.
class DataFileReader {
public:
    // `device` is open for reading, at its start, and seekable. `progress`, when given, hears after
    // every chunk how far the reading has come.
    explicit DataFileReader(QIODevice& device, Progress* progress = nullptr);

    // The next record's bytes, valid until the next call; false at the end of the data or when
    // reading fails. A record longer than the record limit is cut to it.
    bool next(QByteArrayView& record);
    bool failed() const { return failed_; }

    // Keeps at most the first `characters` characters of every following record, so that a
    // gigabyte-long line costs no more memory than a short one; the rest is skipped as it is read.
    void setRecordLimit(qsizetype characters);
    // Whether the last record lost characters other than blanks to the record limit.
    bool cut() const { return cut_; }

    // Characters [from, from + length) of a record, or fewer where it ends sooner; a negative
    // length means "to the end". A character is one UTF-16 unit.
    QString text(QByteArrayView record, qsizetype from = 0, qsizetype length = -1) const;
    // The same characters as an answer text, held a byte per character where the file has them so.
    AnswerText answers(QByteArrayView record, qsizetype from, qsizetype length) const;

private:
    enum class Encoding { Ascii, Utf8, Cp874 };

    bool nextRecord(QByteArrayView& record);
    void decideEncoding(QByteArrayView record);
    Encoding scanEncoding(QByteArray& buffer);
    void convertToUtf8(QStringConverter::Encoding encoding, qsizetype byteOrderMark);
    qsizetype read(QByteArray& buffer);
    bool readChunk();
    void keep(const char* from, const char* to);

    QIODevice* device_;
    Progress* progress_;
    QBuffer wideAsUtf8_; // a UTF-16 or UTF-32 file, re-encoded so that the records are read as bytes
    Encoding encoding_ = Encoding::Ascii;
    bool undecided_ = false; // ASCII so far, in a file without a mark
    QByteArray chunk_;
    qint64 chunkOffset_ = 0;   // where chunk_ starts in the device
    qsizetype chunkSize_ = 0;  // bytes of chunk_ in use
    qsizetype at_ = 0;         // next byte of chunk_ to look at
    qint64 recordStart_ = 0;   // where the record being read starts in the device
    QByteArray pending_;       // the start of a record that goes on in the next chunk
    qsizetype keptBytes_ = -1; // at most this many bytes of a record are kept; negative: all
    bool cut_ = false;
    bool nonAsciiDropped_ = false;
    bool failed_ = false;
    qint64 bytesRead_ = 0; // for the progress: bytes read so far, of total_ to read
    qint64 total_ = 0;
};
