#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

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
