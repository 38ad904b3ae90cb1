#include "import/ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace {

quint16 le16(const QByteArray& bytes, qsizetype at)
{
    return quint16(uchar(bytes[at]) | uchar(bytes[at + 1]) << 8);
}

quint32 le32(const QByteArray& bytes, qsizetype at)
{
    return quint32(le16(bytes, at)) | quint32(le16(bytes, at + 2)) << 16;
}

QString damaged(const QString& what)
{
    return QStringLiteral("โครงสร้างแฟ้ม zip เสียหาย (%1)").arg(what);
}

bool inflateRaw(const char* packed, qsizetype packedSize, QByteArray& out)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed));
    stream.avail_in = uInt(packedSize);
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int status = inflate(&stream, Z_FINISH);
    const bool whole = status == Z_STREAM_END && stream.total_out == uLong(out.size());
    inflateEnd(&stream);
    return whole;
}

} // namespace

bool ZipArchive::open(QByteArray bytes, QString& error)
{
    bytes_ = std::move(bytes);
    members_.clear();
    constexpr qsizetype EndRecord = 22;
    if (bytes_.size() < EndRecord || !bytes_.startsWith("PK")) {
        error = QStringLiteral("ไม่ใช่แฟ้ม zip");
        return false;
    }
    // The end record is the last thing in the archive, followed at most by a 64 KiB comment.
    qsizetype end = bytes_.size() - EndRecord;
    const qsizetype earliest = std::max<qsizetype>(0, end - 0xFFFF);
    while (end >= earliest &&
           !(bytes_[end] == 'P' && bytes_[end + 1] == 'K' && bytes_[end + 2] == 5 && bytes_[end + 3] == 6))
        --end;
    if (end < earliest) {
        error = damaged(QStringLiteral("ไม่พบสารบัญท้ายแฟ้ม"));
        return false;
    }
    const quint16 count = le16(bytes_, end + 10);
    const quint32 directorySize = le32(bytes_, end + 12);
    const quint32 directoryStart = le32(bytes_, end + 16);
    if (count == 0xFFFF || directoryStart == 0xFFFFFFFF) {
        error = QStringLiteral("แฟ้ม zip ขนาดใหญ่พิเศษ (ZIP64) ซึ่งโปรแกรมยังอ่านไม่ได้");
        return false;
    }
    if (qsizetype(directoryStart) + directorySize > end) {
        error = damaged(QStringLiteral("สารบัญชี้ออกนอกแฟ้ม"));
        return false;
    }
    qsizetype at = directoryStart;
    for (quint16 index = 0; index < count; ++index) {
        constexpr qsizetype Header = 46;
        if (at + Header > end || le32(bytes_, at) != 0x02014b50) {
            error = damaged(QStringLiteral("รายการในสารบัญไม่ครบ"));
            return false;
        }
        Member member;
        member.flags = le16(bytes_, at + 8);
        member.method = le16(bytes_, at + 10);
        member.crc = le32(bytes_, at + 16);
        member.packedSize = le32(bytes_, at + 20);
        member.size = le32(bytes_, at + 24);
        const quint16 nameSize = le16(bytes_, at + 28);
        const qsizetype extraSizes = qsizetype(le16(bytes_, at + 30)) + le16(bytes_, at + 32);
        member.localHeader = le32(bytes_, at + 42);
        if (at + Header + nameSize + extraSizes > end) {
            error = damaged(QStringLiteral("รายการในสารบัญไม่ครบ"));
            return false;
        }
        member.name = QString::fromUtf8(bytes_.sliced(at + Header, nameSize));
        members_.push_back(std::move(member));
        at += Header + nameSize + extraSizes;
    }
    return true;
}

const ZipArchive::Member* ZipArchive::find(const QString& name) const
{
    for (const Member& member : members_)
        if (member.name == name)
            return &member;
    return nullptr;
}

bool ZipArchive::read(const QString& name, QByteArray& contents, QString& error) const
{
    const Member* member = find(name);
    if (!member) {
        error = QStringLiteral("ไม่มีส่วน %1 ที่แฟ้ม Excel ต้องมี").arg(name);
        return false;
    }
    if (member->flags & 1) {
        error = QStringLiteral("แฟ้มถูกเข้ารหัสด้วยรหัสผ่าน");
        return false;
    }
    if (member->method != 0 && member->method != Z_DEFLATED) {
        error = QStringLiteral("ส่วน %1 ถูกบีบอัดด้วยวิธีที่โปรแกรมอ่านไม่ได้").arg(name);
        return false;
    }
    constexpr qsizetype LocalHeader = 30;
    const qsizetype at = member->localHeader;
    if (at + LocalHeader > bytes_.size() || le32(bytes_, at) != 0x04034b50) {
        error = damaged(name);
        return false;
    }
    const qsizetype data = at + LocalHeader + le16(bytes_, at + 26) + le16(bytes_, at + 28);
    // Deflate packs at most 1032 bytes into one: a larger size is a damaged (or hostile) directory,
    // which must not make the reader ask for gigabytes.
    if (data + qsizetype(member->packedSize) > bytes_.size() || member->size > quint32(INT_MAX) ||
        qint64(member->size) > 1032 * qint64(member->packedSize) + 64) {
        error = damaged(name);
        return false;
    }
    contents.resize(member->size);
    if (member->method == 0) {
        if (member->packedSize != member->size) {
            error = damaged(name);
            return false;
        }
        std::copy_n(bytes_.constData() + data, member->size, contents.data());
    } else if (!inflateRaw(bytes_.constData() + data, member->packedSize, contents)) {
        error = damaged(name);
        return false;
    }
    if (crc32(0, reinterpret_cast<const Bytef*>(contents.constData()), uInt(contents.size())) !=
        member->crc) {
        error = damaged(name);
        return false;
    }
    return true;
}
