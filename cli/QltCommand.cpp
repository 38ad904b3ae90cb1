#include "QltCommand.h"

#include "FileIdentity.h"
#include "SelectionNames.h"
#include "analysis/AnalysisRun.h"
#include "diagnostics/CsvReport.h"
#include "diagnostics/HtmlReport.h"
#include "import/ColumnList.h"
#include "import/Importer.h"
#include "import/XlsxReader.h"
#include "model/DataFileLoader.h"
#include "model/SystemErrorText.h"
#include "report/CheckedDevice.h"
#include "report/OutputFile.h"
#include "report/ResultReport.h"
#include "report/TextFile.h"
#include "school/ClassGroups.h"
#include "school/Forms.h"
#include "school/Gradebook.h"
#include "school/PupilList.h"
#include "school/Rooms.h"
#include "school/SchoolRecords.h"
#include "school/TableFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <new>
#include <numeric>
#include <optional>
#include <vector>

namespace {
void say(QIODevice& err, QString text)
{
    err.write((QStringLiteral("qlt: ") + text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
               QLatin1Char('\n'))
                  .toUtf8());
}

// Data refused before anything was written: why, and what the teacher does about it.
void sayRefused(QIODevice& err, const QString& why)
{
    say(err, why + QStringLiteral("  จึงไม่ได้เขียนหรือเปลี่ยนแฟ้มใดเลย  แก้ไขแล้วสั่งใหม่อีกครั้ง"));
}

// What the window program would show in a message box goes to standard error instead.
class ErrorStreamMessages : public AnalysisMessages {
public:
    explicit ErrorStreamMessages(QIODevice& err) : err_(err) {}
    void warning(const QString& prompt, const QString& /*title*/) override { say(err_, prompt); }

private:
    QIODevice& err_;
};

struct Options {
    QCommandLineOption select{{QStringLiteral("s"), QStringLiteral("select")},
                              QStringLiteral("การวิเคราะห์ที่ต้องการ คั่นด้วยจุลภาค จาก: %1 "
                                             "(ไม่ระบุ = ทุกอย่างยกเว้น distractors เหมือนหน้าเลือกค่าสถิติ; "
                                             "--select= ว่าง = ไม่เลือกเลย)")
                                  .arg(selectionNames().join(QStringLiteral(", "))),
                              QStringLiteral("LIST")};
    QCommandLineOption choices{{QStringLiteral("c"), QStringLiteral("choices")},
                               QStringLiteral("จำนวนตัวเลือกต่อข้อ 4 หรือ 5 (จำเป็นเมื่อเลือก distractors)"),
                               QStringLiteral("N")};
    QCommandLineOption output{
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("แฟ้มรายงาน (ไม่ระบุ = Result.doc ในโฟลเดอร์ปัจจุบัน; - = ออกทางหน้าจอ)"),
        QStringLiteral("FILE"),
        QString(ResultReportFileName)};
    QCommandLineOption encoding{
        QStringLiteral("encoding"),
        QStringLiteral("รหัสอักขระของรายงาน: windows-874 (ไม่ระบุ, เหมือนโปรแกรม) หรือ utf-8"), QStringLiteral("E"),
        QStringLiteral("windows-874")};
    QCommandLineOption html{
        QStringLiteral("html"),
        QStringLiteral("เขียนรายงานวิเคราะห์รายข้อพร้อมแผนภูมิเป็นแฟ้ม HTML สำหรับเปิดด้วยเว็บเบราว์เซอร์ "
                       "(- = ออกทางหน้าจอ)"),
        QStringLiteral("FILE")};
    QCommandLineOption csv{
        QStringLiteral("csv"),
        QStringLiteral("เขียนค่าดัชนีรายข้อเป็นแฟ้ม CSV (UTF-8) สำหรับโปรแกรมตารางคำนวณ (- = ออกทางหน้าจอ)"),
        QStringLiteral("FILE")};
    QCommandLineOption blueprint{
        QStringLiteral("blueprint"),
        QStringLiteral(
            "แผนผังข้อสอบ (.csv หรือ .xlsx: ข้อ ตัวชี้วัด คำอธิบาย ความยาก ระดับพฤติกรรม) สำหรับ --html "
            "--csv และ --gradebook (ไม่ระบุ = แฟ้ม ชื่อแฟ้มข้อมูล.blueprint.csv หรือ .xlsx ข้างแฟ้มข้อมูล ถ้ามี)"),
        QStringLiteral("FILE")};
    QCommandLineOption passMark{QStringLiteral("pass-mark"),
                                QStringLiteral("เกณฑ์ผ่านของแต่ละตัวชี้วัด เป็นร้อยละของข้อในตัวชี้วัด (ไม่ระบุ = 50)"),
                                QStringLiteral("N")};
    QCommandLineOption gradebook{
        QStringLiteral("gradebook"),
        QStringLiteral("เขียนสมุดคะแนนรายคนเป็นแฟ้ม .csv หรือ .xlsx (ตามนามสกุล; .xlsx มีแผ่นงานค่าสถิติของแบบสอบด้วย)"),
        QStringLiteral("FILE")};
    QCommandLineOption forms{
        QStringLiteral("forms"),
        QStringLiteral("แฟ้มชุดข้อสอบ (.csv หรือ .xlsx: ชุด ข้อ ข้อต้นฉบับ ลำดับตัวเลือก) ของข้อสอบที่พิมพ์สลับข้อและตัวเลือก "
                       "เป็นหลายชุด: คำตอบของทุกชุดจะแปลงกลับเป็นลำดับของชุดต้นฉบับก่อนวิเคราะห์ "
                       "(เฉลยในแฟ้มข้อมูลต้องเป็นเฉลยของชุดต้นฉบับ; ไม่ระบุ = แฟ้ม ชื่อแฟ้มข้อมูล.forms.csv "
                       "หรือ .xlsx ข้างแฟ้มข้อมูล ถ้ามี)"),
        QStringLiteral("FILE")};
    QCommandLineOption formFromId{
        QStringLiteral("form-from-id"),
        QStringLiteral("ใช้กับ --forms: รหัสชุดของผู้สอบแต่ละคนคืออักขระตัวสุดท้ายของเลขประจำตัว แม้มีคอลัมน์ชุด "
                       "(ไม่ระบุ = คอลัมน์ชุดของแฟ้มที่นำเข้าหรือของแฟ้มรายชื่อผู้สอบ ถ้ามี มิฉะนั้นอักขระตัวสุดท้าย"
                       "ของเลขประจำตัว)")};
    QCommandLineOption pupils{
        QStringLiteral("pupils"),
        QStringLiteral("แฟ้มรายชื่อผู้สอบ (.csv หรือ .xlsx: เลขประจำตัว ห้อง ชุด) ตามลำดับในแฟ้มข้อมูล: "
                       "ห้องและชุดข้อสอบของผู้สอบแต่ละคนเมื่อแฟ้มข้อมูลแฟ้มเดียวมีหลายห้องหรือหลายชุด "
                       "(ไม่ระบุ = แฟ้ม ชื่อแฟ้มข้อมูล.pupils.csv หรือ .xlsx ข้างแฟ้มข้อมูล ถ้ามี)"),
        QStringLiteral("FILE")};
    QCommandLineOption idColumn{QStringLiteral("id-column"),
                                QStringLiteral("นำเข้า: คอลัมน์ของรหัสผู้สอบ เช่น B หรือ 2"), QStringLiteral("COL")};
    QCommandLineOption nameColumn{QStringLiteral("name-column"),
                                  QStringLiteral("นำเข้า: คอลัมน์ของชื่อ หรือคอลัมน์ชื่อและนามสกุลคั่นด้วยจุลภาค เช่น C,D"),
                                  QStringLiteral("COL")};
    QCommandLineOption answerColumns{
        QStringLiteral("answer-columns"),
        QStringLiteral(
            "นำเข้า: คอลัมน์คำตอบ ข้อละคอลัมน์ตามลำดับข้อ เช่น E-AR หรือ E,F,H (คอลัมน์เดียว = คำตอบทุกข้อในช่องเดียว)"),
        QStringLiteral("COLS")};
    QCommandLineOption keyRow{QStringLiteral("key-row"),
                              QStringLiteral("นำเข้า: แถวที่เป็นเฉลย นับแบบโปรแกรมตารางคำนวณ (หัวตารางคือแถว 1)"),
                              QStringLiteral("N")};
    QCommandLineOption key{QStringLiteral("key"),
                           QStringLiteral("นำเข้า: เฉลยข้อละ 1 ตัวติดกันแบบแฟ้มข้อมูล เช่น 2431123451"),
                           QStringLiteral("DIGITS")};
    QCommandLineOption sheet{
        QStringLiteral("sheet"),
        QStringLiteral("นำเข้า: ชื่อแผ่นงานของแฟ้ม .xlsx หรือ .ods ตามที่แท็บแสดง (ไม่ระบุ = แผ่นงานแรก)"),
        QStringLiteral("NAME")};
    QCommandLineOption roomColumn{
        QStringLiteral("room-column"),
        QStringLiteral("นำเข้า: คอลัมน์ห้องของผู้สอบ เมื่อแผ่นงานเดียวมีหลายห้อง (วิเคราะห์รวมและเปรียบเทียบรายห้อง)"),
        QStringLiteral("COL")};
    QCommandLineOption formColumn{QStringLiteral("form-column"),
                                  QStringLiteral("นำเข้า: คอลัมน์รหัสชุดข้อสอบของผู้สอบ สำหรับ --forms"),
                                  QStringLiteral("COL")};
    QCommandLineOption writeData{
        QStringLiteral("write-data"),
        QStringLiteral("นำเข้า: เขียนข้อมูลที่นำเข้าเป็นแฟ้มข้อมูล (*.txt) รหัสอักขระ windows-874 ด้วย"),
        QStringLiteral("FILE")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("แสดงวิธีใช้นี้")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("แสดงรุ่นของโปรแกรม")};
};

QString usage(const QCommandLineParser& parser)
{
    return parser.helpText() +
           QStringLiteral(
               "\nตัวอย่าง:\n"
               "  qlt class.txt\n"
               "      วิเคราะห์ทุกอย่างที่หน้าเลือกค่าสถิติติ๊กไว้ตอนเปิด แล้วเขียน Result.doc\n"
               "  qlt -s raw,mean,sd,difficulty,discrimination,distractors -c 4 -o - class.txt\n"
               "      เลือกเอง ตัวเลือก 4 ตัว และแสดงรายงานทางหน้าจอ\n"
               "  qlt --html class.html --csv class.csv class.txt\n"
               "      รายงานวิเคราะห์รายข้อพร้อมแผนภูมิ และตารางสำหรับโปรแกรมตารางคำนวณ (ไม่เขียน Result.doc\n"
               "      เว้นแต่ระบุ -o) ถ้าไม่ระบุ --choices จะถือว่ามี 5 ตัวเลือกเมื่อเฉลยมีคำตอบ 5 หรือคำตอบ\n"
               "      อย่างน้อย 1 % เป็น 5 มิฉะนั้น 4\n"
               "  qlt --write-data class.txt responses.csv\n"
               "      นำเข้าคำตอบจากแฟ้ม .csv .tsv .xlsx หรือ .ods (แบบฟอร์มออนไลน์ ตารางคำนวณ หรือเครื่องตรวจ)\n"
               "      วิเคราะห์ และเก็บเป็นแฟ้มข้อมูลด้วย สรุปการนำเข้าแสดงทาง standard error\n"
               "  qlt --html class.html --gradebook class.xlsx --pass-mark 60 class.txt\n"
               "      ผลตามตัวชี้วัดจากแผนผังข้อสอบ class.blueprint.csv ข้างแฟ้มข้อมูล และสมุดคะแนนรายคน\n"
               "  qlt --html m1.html --gradebook m1.csv m1-1.txt m1-2.txt m1-3.txt\n"
               "      หลายห้องที่สอบข้อสอบเดียวกัน: วิเคราะห์รวมเป็นกลุ่มเดียว และเปรียบเทียบรายห้อง\n"
               "  qlt --forms forms.csv --form-from-id --html class.html class.txt\n"
               "      ข้อสอบหลายชุดที่สลับข้อและตัวเลือก: รหัสชุดคืออักขระตัวสุดท้ายของเลขประจำตัว\n"
               "  qlt --room-column B --write-data m1.txt --html m1.html m1.csv\n"
               "      หลายห้องในแผ่นงานเดียว: เปรียบเทียบรายห้อง และเขียน m1.pupils.csv (ห้องของแต่ละคน) ข้าง m1.txt\n"
               "      ซึ่งรายงานวิเคราะห์รายข้อในหน้าต่างโปรแกรมใช้ด้วย\n");
}

// What the command line asks for, once it has been checked.
struct Request {
    QString dataFile;        // "-": standard input; the first room's when there are several
    QStringList rooms;       // every data file when several rooms are analysed as one class
    AnalysisSelection boxes; // as the analysis page's check boxes
    int choiceCount = 0;     // 0 when --choices is not given
    TextEncoding encoding = TextEncoding::Cp874;
    QString reportPath;        // "-": standard output; empty: no plain report
    QString htmlPath, csvPath; // empty: not asked for
    ImportOverrides overrides; // for a spreadsheet instead of a data file
    bool overridden = false;   // whether any import flag was given
    QString writeDataPath;     // the imported data as a data file; empty: not asked for
    QString blueprintPath;     // named, or else the one beside the data file; empty: none
    double passMark = DefaultPassMark;
    QString gradebookPath; // empty: not asked for
    QString formsPath;     // the forms of a shuffled test: named, or else the one beside; empty: one form
    bool formsFromId = false;
    QString pupilsPath; // the pupils' rooms and forms: named, or else the list beside; empty: none
};

// The class loaded from one data file or import: the data file's bytes an import made, and the
// pupils' rooms and forms its columns gave.
struct Imported {
    QByteArray dataFile;
    QStringList ids;
    ClassGroupSources groups;
};

// What a path names once links are followed, also for a file that does not exist yet: its folder's
// real path and its own name.
QString resolvedPath(QString path)
{
    for (int hops = 0; hops < 40 && QFileInfo(path).isSymLink(); ++hops)
        path = QFileInfo(path).symLinkTarget();
    const QFileInfo file(path);
    if (file.exists())
        return file.canonicalFilePath();
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? file.absoluteFilePath() : QDir(folder).filePath(file.fileName());
}

// Two names of one file, however spelled: by the same resolved path, or as hard links of one file.
bool sameFile(const QString& first, const QString& second)
{
    return samePathText(resolvedPath(first), resolvedPath(second)) || sameExistingFile(first, second);
}

// An output that would overwrite the data file or another output of the same run; empty when none.
QString collision(const Request& request)
{
    std::vector<std::pair<QString, QString>> files = {
        {request.dataFile, QStringLiteral("แฟ้มข้อมูล")},
        {request.reportPath, QStringLiteral("รายงาน (-o)")},
        {request.htmlPath, QStringLiteral("รายงาน HTML (--html)")},
        {request.csvPath, QStringLiteral("ตาราง CSV (--csv)")},
        {request.writeDataPath, QStringLiteral("แฟ้มข้อมูลที่นำเข้า (--write-data)")},
        {request.gradebookPath, QStringLiteral("สมุดคะแนน (--gradebook)")},
        {request.blueprintPath, QStringLiteral("แผนผังข้อสอบ (--blueprint)")},
        {request.formsPath, QStringLiteral("แฟ้มชุดข้อสอบ (--forms)")},
        {request.pupilsPath, QStringLiteral("แฟ้มรายชื่อผู้สอบ (--pupils)")},
    };
    if (!request.writeDataPath.isEmpty())
        files.push_back({pupilListPathFor(request.writeDataPath),
                         QStringLiteral("แฟ้มรายชื่อผู้สอบข้างแฟ้มข้อมูลที่นำเข้า (--write-data)")});
    for (qsizetype room = 1; room < request.rooms.size(); ++room)
        files.push_back({request.rooms[room], QStringLiteral("แฟ้มข้อมูลห้องที่ %1").arg(room + 1)});
    const auto named = [](const QString& path) { return !path.isEmpty() && path != QLatin1String("-"); };
    for (std::size_t second = 1; second < files.size(); ++second)
        for (std::size_t first = 0; first < second; ++first)
            if (named(files[first].first) && named(files[second].first) &&
                sameFile(files[first].first, files[second].first))
                return QStringLiteral("%1 และ%2 เป็นแฟ้มเดียวกัน (%3)  แฟ้มหนึ่งจะถูกเขียนทับด้วยอีกแฟ้ม  "
                                      "กรุณาระบุแฟ้มคนละชื่อ")
                    .arg(files[first].second, files[second].second, files[second].first);
    return {};
}

enum class Parsed { Run, Answered, Mistaken };

// Reads the import flags into `overrides`; an explanation of the first wrong one, or empty.
QString parseImportFlags(const QCommandLineParser& parser, const Options& options, ImportOverrides& overrides)
{
    const auto wrongColumns = [](const QCommandLineOption& option, const QString& value) {
        return QStringLiteral("--%1 '%2' ไม่ใช่คอลัมน์ (เขียนแบบ B, E-AR หรือเลขคอลัมน์นับจาก 1)")
            .arg(option.names().constLast(), value);
    };
    if (parser.isSet(options.idColumn)) {
        const QList<int> columns = parseColumnList(parser.value(options.idColumn));
        if (columns.size() != 1)
            return wrongColumns(options.idColumn, parser.value(options.idColumn));
        overrides.idColumn = columns.first();
    }
    for (const auto& [option, column] : {std::pair{&options.roomColumn, &overrides.roomColumn},
                                         std::pair{&options.formColumn, &overrides.formColumn}})
        if (parser.isSet(*option)) {
            const QList<int> columns = parseColumnList(parser.value(*option));
            if (columns.size() != 1)
                return wrongColumns(*option, parser.value(*option));
            *column = columns.first();
        }
    for (const auto& [option, columns] : {std::pair{&options.nameColumn, &overrides.nameColumns},
                                          std::pair{&options.answerColumns, &overrides.answerColumns}})
        if (parser.isSet(*option)) {
            *columns = parseColumnList(parser.value(*option));
            if (columns->isEmpty() || (option == &options.nameColumn && columns->size() > 2))
                return wrongColumns(*option, parser.value(*option));
        }
    if (parser.isSet(options.keyRow)) {
        bool number = false;
        overrides.keyRow = parser.value(options.keyRow).toInt(&number);
        if (!number || overrides.keyRow < 2)
            return QStringLiteral("--key-row ต้องเป็นเลขแถวตั้งแต่ 2 ขึ้นไป (หัวตารางคือแถว 1) ไม่ใช่ '%1'")
                .arg(parser.value(options.keyRow));
    }
    if (parser.isSet(options.key)) {
        overrides.key = parser.value(options.key);
        if (overrides.key.isEmpty())
            return QStringLiteral("--key ต้องตามด้วยเฉลย ไม่ใช่ค่าว่าง");
        if (parser.isSet(options.keyRow))
            return QStringLiteral("ระบุเฉลยได้ทางเดียว: --key-row หรือ --key");
    }
    overrides.sheet = parser.value(options.sheet);
    return {};
}

// Reads the command line into `request`. Help and the version are answered on `out`; a mistake is
// told on `err`, and then nothing is read or written.
Parsed parseArguments(const QStringList& arguments, Request& request, QIODevice& out, QIODevice& err)
{
    Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "ตรวจให้คะแนนและวิเคราะห์ข้อสอบแบบเลือกตอบจากแฟ้มข้อมูล (*.txt) หรือจากแฟ้ม .csv .tsv .xlsx .ods "
        "ที่ส่งออกจากแบบฟอร์มออนไลน์ โปรแกรมตารางคำนวณ หรือเครื่องตรวจ แล้วเขียนรายงานผล"));
    parser.addOptions({options.select,    options.choices,    options.output,        options.encoding,
                       options.html,      options.csv,        options.blueprint,     options.passMark,
                       options.gradebook, options.forms,      options.formFromId,    options.pupils,
                       options.idColumn,  options.nameColumn, options.answerColumns, options.keyRow,
                       options.key,       options.sheet,      options.roomColumn,    options.formColumn,
                       options.writeData, options.help,       options.version});
    parser.addPositionalArgument(
        QStringLiteral("DATAFILE"),
        QStringLiteral("แฟ้มข้อมูล (- = อ่านจาก standard input)  หลายแฟ้ม = หลายห้องที่สอบข้อสอบเดียวกัน "
                       "วิเคราะห์รวมกันและเปรียบเทียบรายห้อง"),
        QStringLiteral("DATAFILE..."));
    const auto mistake = [&err](const QString& why) {
        say(err, why);
        return Parsed::Mistaken;
    };

    if (!parser.parse(arguments))
        return mistake(QStringLiteral("คำสั่งไม่ถูกต้อง: %1 (ดู qlt --help)").arg(parser.errorText()));
    if (parser.isSet(options.help)) {
        out.write(usage(parser).toUtf8());
        return Parsed::Answered;
    }
    if (parser.isSet(options.version)) {
        out.write("qlt " QUILLET_VERSION "\n");
        return Parsed::Answered;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return mistake(QStringLiteral("ต้องระบุแฟ้มข้อมูลอย่างน้อยหนึ่งแฟ้ม (ดู qlt --help)"));
    request.dataFile = files.first();
    if (files.size() > 1) {
        if (files.contains(QStringLiteral("-")))
            return mistake(QStringLiteral("หลายห้องต้องระบุเป็นแฟ้มข้อมูลที่มีชื่อ อ่านจาก standard input (-) ไม่ได้"));
        if (parser.isSet(options.writeData))
            return mistake(QStringLiteral("--write-data ใช้กับแฟ้มที่นำเข้าแฟ้มเดียวเท่านั้น"));
        request.rooms = files;
    }

    request.boxes = defaultSelection();
    if (parser.isSet(options.select)) {
        QString unknown;
        const auto parsed = parseSelection(parser.value(options.select), unknown);
        if (!parsed)
            return mistake(QStringLiteral("ไม่รู้จักการวิเคราะห์ '%1' (เลือกได้จาก: %2)")
                               .arg(unknown, selectionNames().join(QStringLiteral(", "))));
        request.boxes = *parsed;
    }
    if (const QString conflict = selectionConflict(request.boxes); !conflict.isEmpty())
        return mistake(conflict);

    if (parser.isSet(options.choices)) {
        const QString value = parser.value(options.choices);
        if (value != QLatin1String("4") && value != QLatin1String("5"))
            return mistake(QStringLiteral("จำนวนตัวเลือกต้องเป็น 4 หรือ 5 ไม่ใช่ '%1'").arg(value));
        request.choiceCount = value.toInt();
    }
    if (request.boxes.chkAnalyse[AnalyseBox::Distractors] && request.choiceCount == 0)
        return mistake(QStringLiteral("distractors ต้องระบุจำนวนตัวเลือกด้วย --choices 4 หรือ --choices 5"));

    const QString encodingName = parser.value(options.encoding).toLower();
    if (encodingName != QLatin1String("windows-874") && encodingName != QLatin1String("utf-8"))
        return mistake(QStringLiteral("ไม่รู้จักรหัสอักขระ '%1' (ใช้ windows-874 หรือ utf-8)")
                           .arg(parser.value(options.encoding)));
    request.encoding = encodingName == QLatin1String("utf-8") ? TextEncoding::Utf8 : TextEncoding::Cp874;

    if (const QString wrong = parseImportFlags(parser, options, request.overrides); !wrong.isEmpty())
        return mistake(wrong);
    request.overridden = parser.isSet(options.idColumn) || parser.isSet(options.nameColumn) ||
                         parser.isSet(options.answerColumns) || parser.isSet(options.keyRow) ||
                         parser.isSet(options.key) || parser.isSet(options.sheet) ||
                         parser.isSet(options.roomColumn) || parser.isSet(options.formColumn) ||
                         parser.isSet(options.writeData);
    if (request.overridden && request.dataFile == QLatin1String("-"))
        return mistake(
            QStringLiteral("ตัวเลือกการนำเข้าใช้ได้กับแฟ้ม .csv .tsv .xlsx หรือ .ods ที่ระบุชื่อ ไม่ใช่ standard input"));
    if (parser.isSet(options.writeData) && parser.value(options.writeData) == QLatin1String("-"))
        return mistake(QStringLiteral("--write-data ต้องตามด้วยชื่อแฟ้ม"));
    request.writeDataPath = parser.value(options.writeData);

    for (const QCommandLineOption* file :
         {&options.output, &options.html, &options.csv, &options.writeData, &options.blueprint,
          &options.gradebook, &options.forms, &options.pupils})
        if (parser.isSet(*file) && parser.value(*file).isEmpty())
            return mistake(QStringLiteral("--%1 ต้องตามด้วยชื่อแฟ้ม ไม่ใช่ชื่อว่าง").arg(file->names().constLast()));
    if (parser.isSet(options.formFromId) && !parser.isSet(options.forms))
        return mistake(QStringLiteral("--form-from-id ใช้คู่กับ --forms ซึ่งบอกลำดับข้อและตัวเลือกของแต่ละชุด"));
    if (parser.isSet(options.formFromId) && parser.isSet(options.formColumn))
        return mistake(QStringLiteral("รหัสชุดของผู้สอบมาได้ทางเดียว: --form-from-id หรือ --form-column"));
    if (parser.isSet(options.pupils) && !request.rooms.isEmpty())
        return mistake(QStringLiteral("--pupils ใช้กับแฟ้มข้อมูลแฟ้มเดียว  หลายแฟ้มคือหลายห้องอยู่แล้ว"));
    request.formsPath = parser.value(options.forms);
    request.formsFromId = parser.isSet(options.formFromId);
    request.pupilsPath = parser.value(options.pupils);
    request.htmlPath = parser.value(options.html);
    request.csvPath = parser.value(options.csv);
    request.gradebookPath = parser.value(options.gradebook);
    if (parser.isSet(options.gradebook))
        if (const QString problem = gradebookNameProblem(request.gradebookPath); !problem.isEmpty())
            return mistake(problem);
    // The visual and spreadsheet reports and the gradebook replace the plain one unless it is asked for
    // too, and they show the blueprint's indicators.
    const bool diagnose =
        parser.isSet(options.html) || parser.isSet(options.csv) || parser.isSet(options.gradebook);
    if ((parser.isSet(options.blueprint) || parser.isSet(options.passMark)) && !diagnose)
        return mistake(
            QStringLiteral("--blueprint และ --pass-mark ใช้กับ --html, --csv หรือ --gradebook เท่านั้น"));
    // The blueprint beside the data file serves unless another is named; no output may replace it.
    request.blueprintPath = parser.value(options.blueprint);
    if (diagnose && request.blueprintPath.isEmpty() && request.dataFile != QLatin1String("-"))
        request.blueprintPath = blueprintBeside(request.dataFile);
    // The pupil list and the form file of one data file holding several rooms or forms serve every
    // output, as in the window: with a form file, even the plain report is of the master form's order.
    if (request.rooms.isEmpty() && request.dataFile != QLatin1String("-")) {
        if (request.pupilsPath.isEmpty())
            request.pupilsPath = pupilListBeside(request.dataFile);
        if (request.formsPath.isEmpty())
            request.formsPath = tableBeside(request.dataFile, QLatin1String("forms"));
    }
    if (parser.isSet(options.passMark)) {
        bool number = false;
        request.passMark = parser.value(options.passMark).toDouble(&number);
        if (!number || !(request.passMark >= 0 && request.passMark <= 100))
            return mistake(QStringLiteral("--pass-mark ต้องเป็นร้อยละตั้งแต่ 0 ถึง 100 ไม่ใช่ '%1'")
                               .arg(parser.value(options.passMark)));
    }
    if (parser.isSet(options.output) || !diagnose)
        request.reportPath = parser.value(options.output);
    if (const QString clash = collision(request); !clash.isEmpty())
        return mistake(clash);
    return Parsed::Run;
}

// One output of a run: where it goes ("-": standard output) and what writes it.
struct Output {
    QString path;
    std::function<bool(QIODevice&)> write;
};

// Every output the request asks for, or nothing when one of them cannot be made (told on `err`).
std::optional<std::vector<Output>> plannedOutputs(const Request& request, const TestData& data,
                                                  const AnalysisResults& results, const Imported& imported,
                                                  std::vector<GroupComparison> comparisons, QIODevice& err)
{
    std::vector<Output> outputs;
    const auto bytes = [](QByteArray bytes) {
        return [bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); };
    };
    if (!request.writeDataPath.isEmpty())
        outputs.push_back({request.writeDataPath, bytes(imported.dataFile)});
    // The pupils' rooms and forms go beside the data file, where the window finds them.
    if (!request.writeDataPath.isEmpty() &&
        (!imported.groups.rooms.isEmpty() || !imported.groups.forms.codes.isEmpty()))
        outputs.push_back(
            {pupilListPathFor(request.writeDataPath),
             bytes(pupilListBytes(imported.ids, imported.groups.rooms, imported.groups.forms.codes))});
    if (!request.reportPath.isEmpty())
        outputs.push_back(
            {request.reportPath, [&, selection = reportSelection(request.boxes)](QIODevice& device) {
                 return streamReport(device, data, results, selection, request.encoding);
             }});
    if (request.htmlPath.isEmpty() && request.csvPath.isEmpty() && request.gradebookPath.isEmpty())
        return outputs;
    auto diagnostics = std::make_shared<TestDiagnostics>(diagnoseTest(data, results, request.choiceCount));
    QStringList names;
    for (const QString& file : request.rooms.isEmpty() ? QStringList{request.dataFile} : request.rooms)
        names << (file == QLatin1String("-") ? QStringLiteral("standard input") : QFileInfo(file).fileName());
    const QString source = names.join(QStringLiteral(", "));
    if (const QString warning = choiceCodesWarning(*diagnostics); !warning.isEmpty())
        say(err, QStringLiteral("แฟ้มข้อมูล %1: %2").arg(source, warning));
    const SchoolRequest school{request.blueprintPath, request.passMark, request.htmlPath,
                               request.gradebookPath, std::move(comparisons)};
    auto additions = std::make_shared<HtmlAdditions>();
    auto records = std::make_shared<SchoolRecords>();
    if (QString error; !makeSchoolRecords(school, data, *diagnostics, *additions, *records, error)) {
        sayRefused(err, error);
        return std::nullopt;
    }
    if (!request.gradebookPath.isEmpty())
        outputs.push_back({request.gradebookPath, [records](QIODevice& device) {
                               return device.write(records->gradebook) == records->gradebook.size();
                           }});
    if (!request.htmlPath.isEmpty())
        outputs.push_back({request.htmlPath, [&data, diagnostics, additions, source](QIODevice& device) {
                               return writeText(device,
                                                composeHtmlReport(data, *diagnostics, source, *additions),
                                                TextEncoding::Utf8);
                           }});
    if (!request.csvPath.isEmpty())
        outputs.push_back({request.csvPath, [diagnostics](QIODevice& device) {
                               return writeText(device, composeCsv(*diagnostics), TextEncoding::Utf8);
                           }});
    return outputs;
}

bool cannotWrite(QIODevice& err, const QString& path, const QString& reason)
{
    say(err, QStringLiteral("เขียนแฟ้ม %1 ไม่ได้  เพราะ%2  จึงไม่ได้เขียนหรือเปลี่ยนแฟ้มใดเลย  "
                            "แก้ไขแล้วสั่งใหม่อีกครั้ง")
                 .arg(path, reason));
    return false;
}

// Writes every output or none: each file is written whole beside its earlier version, pipes and
// standard output get theirs after that, and only then do the new files replace the earlier ones.
bool writeAll(const std::vector<Output>& outputs, QIODevice& out, QIODevice& err)
{
    std::vector<std::unique_ptr<OutputFile>> files(outputs.size());
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        if (outputs[index].path == QLatin1String("-"))
            continue;
        files[index] = std::make_unique<OutputFile>(outputs[index].path);
        if (!files[index]->open())
            return cannotWrite(err, outputs[index].path, files[index]->reason());
    }
    // Files first: what went into a pipe or to standard output cannot be taken back.
    std::vector<std::size_t> order(outputs.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_partition(order.begin(), order.end(),
                          [&files](std::size_t index) { return files[index] && !files[index]->isStream(); });
    for (const std::size_t index : order) {
        if (OutputFile* file = files[index].get()) {
            if (!file->write(outputs[index].write))
                return cannotWrite(err, file->path(), file->reason());
            continue;
        }
        CheckedDevice standardOutput(out);
        if (!outputs[index].write(standardOutput)) {
            say(err, QStringLiteral("เขียนรายงานออกทาง standard output ไม่ได้  เพราะ%1  แก้ไขแล้วสั่งใหม่อีกครั้ง")
                         .arg(systemErrorText(standardOutput.errorNumber())));
            return false;
        }
    }
    // A rename fails only when the folder changes under qlt's feet; outputs renamed before it stay new.
    for (const auto& file : files)
        if (file && !file->commit()) {
            say(err, QStringLiteral("เขียนแฟ้ม %1 ไม่ได้  เพราะ%2  แฟ้มนี้ยังเป็นแฟ้มเดิม  แก้ไขแล้วสั่งใหม่อีกครั้ง")
                         .arg(file->path(), file->reason()));
            return false;
        }
    return true;
}

// Whether the named input is a spreadsheet to import: by its ending, or by a workbook's first bytes.
bool isSpreadsheet(const QString& path)
{
    if (path == QLatin1String("-"))
        return false;
    if (isSpreadsheetName(path))
        return true;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(8);
    return looksLikeZip(start) || looksLikeCompoundFile(start);
}

// Loads the class in `path` (a data file, or a spreadsheet to import) into `data`: QltSuccess, or
// the status to exit with once the reason is told on `err`.
int loadClass(const QString& path, const Request& request, QIODevice& in, TestData& data, Imported& imported,
              QIODevice& err)
{
    QString error;
    bool loaded = false;
    if (isSpreadsheet(path)) {
        const ImportResult sheet = importSpreadsheet(path, request.overrides);
        if (!sheet.ok) {
            // A sheet that was read can be imported by naming its columns or key.
            say(err, sheet.preview.isEmpty()
                         ? sheet.error
                         : sheet.error + QStringLiteral(
                                             "\nระบุคอลัมน์และเฉลยเองได้ด้วย --id-column, "
                                             "--name-column, --answer-columns, --room-column, --form-column, "
                                             "--key-row หรือ --key"));
            return QltFailure;
        }
        say(err, QStringLiteral("นำเข้า %1\n").arg(QFileInfo(path).fileName()) + importSummaryText(sheet));
        imported.dataFile = sheet.dataFile;
        imported.ids = sheet.ids;
        imported.groups.rooms = sheet.rooms;
        if (!sheet.forms.isEmpty())
            imported.groups.forms = {sheet.forms,
                                     QStringLiteral("คอลัมน์ชุดของแฟ้ม %1").arg(QFileInfo(path).fileName())};
        loaded = loadDataBytes(imported.dataFile, data, error);
        if (loaded)
            data.setNames(sheet.names);
    } else if (request.overridden) {
        say(err, QStringLiteral("%1 เป็นแฟ้มข้อมูล (*.txt) ไม่ใช่แฟ้ม .csv .tsv .xlsx หรือ .ods  "
                                "ตัวเลือกการนำเข้า (--id-column, --key, --write-data ...) จึงใช้ไม่ได้")
                     .arg(path));
        return QltUsage;
    } else {
        loaded =
            path == QLatin1String("-") ? loadDataStream(in, data, error) : loadDataFile(path, data, error);
    }
    if (!loaded) {
        say(err, error);
        return QltFailure;
    }
    return QltSuccess;
}

// Several rooms pooled into one class in `data`, each pupil's room in `comparisons`.
int loadRooms(const Request& request, QIODevice& in, TestData& data,
              std::vector<GroupComparison>& comparisons, QIODevice& err)
{
    GroupComparison rooms{{}, roomComparisonTexts()};
    for (const QString& path : request.rooms) {
        TestData room;
        Imported imported;
        if (const int status = loadClass(path, request, in, room, imported, err); status != QltSuccess)
            return status;
        if (QString error; !addRoom(data, rooms.groups, room, roomName(path), error)) {
            sayRefused(err, error);
            return QltFailure;
        }
    }
    comparisons.push_back(std::move(rooms));
    return QltSuccess;
}

// The rooms and forms of one data file's pupils, from the import's columns or the pupil list, into
// `comparisons`; with a form file, the answers of every form turned into the master form's order.
bool groupClassPupils(const Request& request, TestData& data, ClassGroupSources sources,
                      std::vector<GroupComparison>& comparisons, QIODevice& err)
{
    QString error, warning;
    if (!request.pupilsPath.isEmpty() && !addPupilList(request.pupilsPath, data, sources, error)) {
        sayRefused(err, error);
        return false;
    }
    sources.formsPath = request.formsPath;
    sources.formsFromId = request.formsFromId;
    if (!groupPupils(data, sources, comparisons, warning, error)) {
        sayRefused(err, error);
        return false;
    }
    if (!warning.isEmpty())
        say(err, warning);
    return true;
}

// Loads, analyses and writes what the request asks for. The run may clear boxes, as on the page, so
// the reports follow the boxes as the run leaves them.
int run(Request request, QIODevice& in, QIODevice& out, QIODevice& err)
{
    TestData data;
    if (request.choiceCount)
        data.setChoices(request.choiceCount);
    Imported imported;
    std::vector<GroupComparison> comparisons;
    const int loaded = request.rooms.isEmpty() ? loadClass(request.dataFile, request, in, data, imported, err)
                                               : loadRooms(request, in, data, comparisons, err);
    if (loaded != QltSuccess)
        return loaded;
    if (!groupClassPupils(request, data, imported.groups, comparisons, err))
        return QltFailure;

    AnalysisResults results;
    ErrorStreamMessages messages(err);
    if (!runAnalysis(data, request.boxes, results, messages).finished)
        return QltFailure;
    const std::optional<std::vector<Output>> outputs =
        plannedOutputs(request, data, results, imported, std::move(comparisons), err);
    return outputs && writeAll(*outputs, out, err) ? QltSuccess : QltFailure;
}
} // namespace

int runQlt(const QStringList& arguments, QIODevice& in, QIODevice& out, QIODevice& err)
{
    Request request;
    switch (parseArguments(arguments, request, out, err)) {
    case Parsed::Answered:
        return QltSuccess;
    case Parsed::Mistaken:
        return QltUsage;
    case Parsed::Run:
        break;
    }
    try {
        return run(request, in, out, err);
    } catch (const std::bad_alloc&) { // a class too large for this machine: no output was replaced
        say(err, QStringLiteral("วิเคราะห์ข้อมูลไม่ได้  เพราะ%1  จึงไม่ได้เขียนหรือเปลี่ยนแฟ้มใดเลย  "
                                "ปิดโปรแกรมอื่นที่เปิดอยู่แล้วลองใหม่อีกครั้ง")
                     .arg(systemErrorText(ENOMEM)));
        return QltFailure;
    }
}
