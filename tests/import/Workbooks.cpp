#include "Workbooks.h"

#include <zlib.h>

namespace {

void put16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xFF)).append(char(value >> 8));
}

void put32(QByteArray& out, quint32 value)
{
    put16(out, quint16(value & 0xFFFF));
    put16(out, quint16(value >> 16));
}

QByteArray deflated(const QByteArray& data)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

} // namespace

QByteArray zipArchive(const QList<QPair<QString, QByteArray>>& members, ZipMembers how)
{
    QByteArray archive, directory;
    for (const auto& [name, contents] : members) {
        const QByteArray encodedName = name.toUtf8();
        const quint32 crc =
            crc32(0, reinterpret_cast<const Bytef*>(contents.constData()), uInt(contents.size()));
        const quint32 offset = quint32(archive.size());
        const quint16 flags = how == ZipMembers::Encrypted ? 1 : 0;
        const quint16 method = how == ZipMembers::Deflated ? 8 : 0;
        const QByteArray packed = how == ZipMembers::Deflated ? deflated(contents) : contents;
        put32(archive, 0x04034b50);
        put16(archive, 20), put16(archive, flags), put16(archive, method), put32(archive, 0);
        put32(archive, crc), put32(archive, quint32(packed.size())), put32(archive, quint32(contents.size()));
        put16(archive, quint16(encodedName.size())), put16(archive, 0);
        archive += encodedName + packed;

        put32(directory, 0x02014b50);
        put16(directory, 20), put16(directory, 20), put16(directory, flags), put16(directory, method);
        put32(directory, 0), put32(directory, crc);
        put32(directory, quint32(packed.size())), put32(directory, quint32(contents.size()));
        put16(directory, quint16(encodedName.size())), put16(directory, 0), put16(directory, 0);
        put16(directory, 0), put16(directory, 0), put32(directory, 0), put32(directory, offset);
        directory += encodedName;
    }
    const quint32 directoryStart = quint32(archive.size());
    archive += directory;
    put32(archive, 0x06054b50);
    put16(archive, 0), put16(archive, 0);
    put16(archive, quint16(members.size())), put16(archive, quint16(members.size()));
    put32(archive, quint32(directory.size())), put32(archive, directoryStart), put16(archive, 0);
    return archive;
}

QByteArray workbook(const QByteArray& sheetData, const QList<QString>& shared, ZipMembers how)
{
    QByteArray strings = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const QString& text : shared)
        strings += "<si><t>" + text.toHtmlEscaped().toUtf8() + "</t></si>";
    strings += "</sst>";
    return zipArchive(
        {
            {"xl/workbook.xml",
             "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
             "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
             "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
            {"xl/_rels/workbook.xml.rels",
             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
            {"xl/sharedStrings.xml", strings},
            {"xl/worksheets/sheet1.xml",
             "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
                 sheetData + "</sheetData></worksheet>"},
        },
        how);
}

QByteArray odsSpreadsheet(const QByteArray& rows, bool encrypted, ZipMembers how)
{
    const QByteArray manifest =
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
        "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\">" +
        QByteArray(encrypted ? "<manifest:encryption-data manifest:checksum-type=\"SHA1/1K\"/>" : "") +
        "</manifest:file-entry></manifest:manifest>";
    return zipArchive(
        {
            {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
            {"META-INF/manifest.xml", manifest},
            {"content.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
             "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
             "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
             "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
             "<table:table table:name=\"Sheet1\"><table:table-column/>" +
                 rows + "</table:table></office:spreadsheet></office:body></office:document-content>"},
        },
        how);
}

QByteArray numberRow(int row, const QList<qint64>& values)
{
    QByteArray xml = "<row r=\"" + QByteArray::number(row) + "\">";
    for (int index = 0; index < values.size(); ++index)
        xml += "<c r=\"" + cellName(index, row) + "\"><v>" + QByteArray::number(values[index]) + "</v></c>";
    return xml + "</row>";
}

QByteArray cellName(qsizetype column, qsizetype row)
{
    QByteArray name;
    for (qsizetype rest = column + 1; rest > 0; rest = (rest - 1) / 26)
        name.prepend(char('A' + (rest - 1) % 26));
    return name + QByteArray::number(row);
}
