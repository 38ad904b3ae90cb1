#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// A member of a ZipArchive unpacked piece by piece, so that a sheet of a hundred megabytes of XML is
// read through a small buffer instead of being held whole. Its CRC-32 is checked once its last byte
// has been read.
class ZipMemberReader {
public:
    ZipMemberReader();
    ~ZipMemberReader();
    ZipMemberReader(const ZipMemberReader&) = delete;
    ZipMemberReader& operator=(const ZipMemberReader&) = delete;

    // Up to `room` more bytes of the member into `out`: how many, 0 once it has all been read, or -1
    // when it is damaged (it unpacks to another size or fails its check sum).
    qsizetype read(char* out, qsizetype room);
    // The size the directory gives it.
    qsizetype size() const { return size_; }

private:
    friend class ZipArchive;
    struct Inflater;
    std::unique_ptr<Inflater> inflater_; // none for a stored member
    const char* packed_ = nullptr;
    qsizetype packedLeft_ = 0;
    qsizetype size_ = 0;
    qsizetype left_ = 0; // of the member still to read
    quint32 crc_ = 0;
    quint32 expectedCrc_ = 0;
};

// The members of a zip archive held in memory, as an XLSX workbook is one: the central directory is
// read at the end of the archive, and a member is unpacked on demand (stored, or deflated through
// zlib's raw inflate) and checked against its CRC-32. Encrypted members and the ZIP64 extension,
// which no workbook of a class needs, are refused.
class ZipArchive {
public:
    // False, with the reason in Thai in `error`, when `bytes` are not a zip archive or its directory
    // is damaged.
    bool open(QByteArray bytes, QString& error);

    bool contains(const QString& name) const { return find(name) != nullptr; }
    // The member's bytes; false, with the reason in Thai, when it is missing, encrypted, packed in a
    // way other than stored or deflated, or damaged.
    bool read(const QString& name, QByteArray& contents, QString& error) const;
    // The same member to be read piece by piece; `reader` must not outlive the archive.
    bool open(const QString& name, ZipMemberReader& reader, QString& error) const;

private:
    struct Member {
        QString name;
        quint16 flags = 0;
        quint16 method = 0;
        quint32 crc = 0;
        quint32 packedSize = 0;
        quint32 size = 0;
        quint32 localHeader = 0;
    };
    const Member* find(const QString& name) const;

    QByteArray bytes_;
    std::vector<Member> members_;
};
