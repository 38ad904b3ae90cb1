#include "QltCommand.h"

#include "SelectionNames.h"
#include "analysis/AnalysisRun.h"
#include "model/DataFileLoader.h"
#include "report/ResultReport.h"
#include "report/TextFile.h"

#include <QCommandLineParser>
#include <QIODevice>

namespace {
void say(QIODevice& err, QString text)
{
    err.write((QStringLiteral("qlt: ") + text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
               QLatin1Char('\n'))
                  .toUtf8());
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
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("แสดงวิธีใช้นี้")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("แสดงรุ่นของโปรแกรม")};
};

QString usage(const QCommandLineParser& parser)
{
    return parser.helpText() +
           QStringLiteral("\nตัวอย่าง:\n"
                          "  qlt class.txt\n"
                          "      วิเคราะห์ทุกอย่างที่หน้าเลือกค่าสถิติติ๊กไว้ตอนเปิด แล้วเขียน Result.doc\n"
                          "  qlt -s raw,mean,sd,difficulty,discrimination,distractors -c 4 -o - class.txt\n"
                          "      เลือกเอง ตัวเลือก 4 ตัว และแสดงรายงานทางหน้าจอ\n");
}
} // namespace

int runQlt(const QStringList& arguments, QIODevice& in, QIODevice& out, QIODevice& err)
{
    Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("ตรวจให้คะแนนและวิเคราะห์ข้อสอบแบบเลือกตอบจากแฟ้มข้อมูล (*.txt) แล้วเขียนรายงานผล"));
    parser.addOptions(
        {options.select, options.choices, options.output, options.encoding, options.help, options.version});
    parser.addPositionalArgument(QStringLiteral("DATAFILE"),
                                 QStringLiteral("แฟ้มข้อมูล (- = อ่านจาก standard input)"));

    if (!parser.parse(arguments)) {
        say(err, parser.errorText());
        return QltUsage;
    }
    if (parser.isSet(options.help)) {
        out.write(usage(parser).toUtf8());
        return QltSuccess;
    }
    if (parser.isSet(options.version)) {
        out.write("qlt " QUILLET_VERSION "\n");
        return QltSuccess;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        say(err, QStringLiteral("ต้องระบุแฟ้มข้อมูลหนึ่งแฟ้ม (ดู qlt --help)"));
        return QltUsage;
    }

    AnalysisSelection boxes = defaultSelection();
    if (parser.isSet(options.select)) {
        QString unknown;
        const auto parsed = parseSelection(parser.value(options.select), unknown);
        if (!parsed) {
            say(err, QStringLiteral("ไม่รู้จักการวิเคราะห์ '%1' (เลือกได้จาก: %2)")
                         .arg(unknown, selectionNames().join(QStringLiteral(", "))));
            return QltUsage;
        }
        boxes = *parsed;
    }
    if (const QString conflict = selectionConflict(boxes); !conflict.isEmpty()) {
        say(err, conflict);
        return QltUsage;
    }

    int choiceCount = 0;
    if (parser.isSet(options.choices)) {
        const QString value = parser.value(options.choices);
        if (value != QLatin1String("4") && value != QLatin1String("5")) {
            say(err, QStringLiteral("จำนวนตัวเลือกต้องเป็น 4 หรือ 5 ไม่ใช่ '%1'").arg(value));
            return QltUsage;
        }
        choiceCount = value.toInt();
    }
    if (boxes.chkAnalyse[AnalyseBox::Distractors] && choiceCount == 0) {
        say(err, QStringLiteral("distractors ต้องระบุจำนวนตัวเลือกด้วย --choices 4 หรือ --choices 5"));
        return QltUsage;
    }

    const QString encodingName = parser.value(options.encoding).toLower();
    if (encodingName != QLatin1String("windows-874") && encodingName != QLatin1String("utf-8")) {
        say(err, QStringLiteral("ไม่รู้จักรหัสอักขระ '%1' (ใช้ windows-874 หรือ utf-8)")
                     .arg(parser.value(options.encoding)));
        return QltUsage;
    }
    const TextEncoding encoding =
        encodingName == QLatin1String("utf-8") ? TextEncoding::Utf8 : TextEncoding::Cp874;

    TestData data;
    if (choiceCount)
        data.setChoices(choiceCount);
    QString error;
    const QString& file = files.first();
    const bool loaded = file == QLatin1String("-") ? loadDataBytes(in.readAll(), data, error)
                                                   : loadDataFile(file, data, error);
    if (!loaded) {
        say(err, error);
        return QltFailure;
    }

    AnalysisResults results;
    ErrorStreamMessages messages(err);
    if (!runAnalysis(data, boxes, results, messages).finished)
        return QltFailure;

    const QString report = composeReport(data, results, reportSelection(boxes));
    const QString path = parser.value(options.output);
    if (path == QLatin1String("-")) {
        out.write(encodeText(report, encoding));
        return QltSuccess;
    }
    if (!saveTextFile(path, report, encoding, &error)) {
        say(err, QStringLiteral("เขียนรายงานลงแฟ้ม %1 ไม่ได้: %2").arg(path, error));
        return QltFailure;
    }
    return QltSuccess;
}
