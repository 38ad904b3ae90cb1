#include "import/ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <new>

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
    // Read through a const pointer: a non-const operator[] would copy the whole workbook, which the
    // caller's QByteArray still shares.
    const char* const data = bytes_.constData();
    while (end >= earliest &&
           !(data[end] == 'P' && data[end + 1] == 'K' && data[end + 2] == 5 && data[end + 3] == 6))
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

struct ZipMemberReader::Inflater {
    z_stream stream{};
    bool ended = false;
    Inflater() = default;
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    ~Inflater() { inflateEnd(&stream); }
};

ZipMemberReader::ZipMemberReader() = default;
ZipMemberReader::~ZipMemberReader() = default;

qsizetype ZipMemberReader::read(char* out, qsizetype room)
{
    room = std::min({room, left_, qsizetype(UINT_MAX)});
    qsizetype got = 0;
    if (!inflater_) {
        std::copy_n(packed_, room, out);
        packed_ += room;
        got = room;
    } else if (room > 0) {
        z_stream& stream = inflater_->stream;
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed_));
        stream.avail_in = uInt(std::min(packedLeft_, qsizetype(UINT_MAX)));
        stream.next_out = reinterpret_cast<Bytef*>(out);
        stream.avail_out = uInt(room);
        const int status = inflate(&stream, Z_NO_FLUSH);
        got = room - stream.avail_out;
        packedLeft_ -= reinterpret_cast<const char*>(stream.next_in) - packed_;
        packed_ = reinterpret_cast<const char*>(stream.next_in);
        inflater_->ended = status == Z_STREAM_END;
        // No progress, or the stream's end before the member's size, is damage.
        if ((status != Z_OK && status != Z_STREAM_END) || got == 0 || (inflater_->ended && got < left_))
            return -1;
    }
    crc_ = quint32(crc32(crc_, reinterpret_cast<const Bytef*>(out), uInt(got)));
    left_ -= got;
    if (left_ == 0 && got == 0)
        return 0;
    if (left_ == 0 && (crc_ != expectedCrc_ || (inflater_ && !inflater_->ended)))
        return -1;
    return got;
}

bool ZipArchive::open(const QString& name, ZipMemberReader& reader, QString& error) const
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
        qint64(member->size) > 1032 * qint64(member->packedSize) + 64 ||
        (member->method == 0 && member->packedSize != member->size)) {
        error = damaged(name);
        return false;
    }
    reader.inflater_.reset();
    if (member->method == Z_DEFLATED) {
        reader.inflater_ = std::make_unique<ZipMemberReader::Inflater>();
        if (inflateInit2(&reader.inflater_->stream, -MAX_WBITS) != Z_OK)
            throw std::bad_alloc(); // zlib fails to start only for want of memory
    }
    reader.packed_ = bytes_.constData() + data;
    reader.packedLeft_ = member->packedSize;
    reader.size_ = reader.left_ = member->size;
    reader.crc_ = 0;
    reader.expectedCrc_ = member->crc;
    return true;
}

bool ZipArchive::read(const QString& name, QByteArray& contents, QString& error) const
{
    ZipMemberReader reader;
    if (!open(name, reader, error))
        return false;
    contents.resize(reader.size());
    qsizetype at = 0;
    for (qsizetype got; (got = reader.read(contents.data() + at, contents.size() - at)) > 0;)
        at += got;
    // A last read of nothing checks that the member ends where the directory says.
    if (at != contents.size() || reader.read(contents.data(), 0) != 0) {
        error = damaged(name);
        return false;
    }
    return true;
}
