#include "QltCommand.h"

#include "SelectionNames.h"
#include "analysis/AnalysisRun.h"
#include "diagnostics/CsvReport.h"
#include "diagnostics/HtmlReport.h"
#include "model/DataFileLoader.h"
#include "report/ResultReport.h"
#include "report/TextFile.h"

#include <QCommandLineParser>
#include <QFileInfo>
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
    QCommandLineOption html{
        QStringLiteral("html"),
        QStringLiteral("เขียนรายงานวิเคราะห์รายข้อพร้อมแผนภูมิเป็นแฟ้ม HTML สำหรับเปิดด้วยเว็บเบราว์เซอร์"),
        QStringLiteral("FILE")};
    QCommandLineOption csv{QStringLiteral("csv"),
                           QStringLiteral("เขียนค่าดัชนีรายข้อเป็นแฟ้ม CSV (UTF-8) สำหรับโปรแกรมตารางคำนวณ"),
                           QStringLiteral("FILE")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("แสดงวิธีใช้นี้")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("แสดงรุ่นของโปรแกรม")};
};

bool saveDiagnostics(QIODevice& err, const QString& path, const QString& text)
{
    QString error;
    if (saveTextFile(path, text, TextEncoding::Utf8, &error))
        return true;
    say(err, QStringLiteral("เขียนแฟ้ม %1 ไม่ได้: %2").arg(path, error));
    return false;
}

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
               "      เว้นแต่ระบุ -o) ถ้าไม่ระบุ --choices จะถือว่ามี 5 ตัวเลือกเมื่อเฉลยมีคำตอบ 5 มิฉะนั้น 4\n");
}

// What the command line asks for, once it has been checked.
struct Request {
    QString dataFile;        // "-": standard input
    AnalysisSelection boxes; // as the analysis page's check boxes
    int choiceCount = 0;     // 0 when --choices is not given
    TextEncoding encoding = TextEncoding::Cp874;
    QString reportPath;        // "-": standard output; empty: no plain report
    QString htmlPath, csvPath; // empty: not asked for
};

enum class Parsed { Run, Answered, Mistaken };

// Reads the command line into `request`. Help and the version are answered on `out`; a mistake is
// told on `err`, and then nothing is read or written.
Parsed parseArguments(const QStringList& arguments, Request& request, QIODevice& out, QIODevice& err)
{
    Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("ตรวจให้คะแนนและวิเคราะห์ข้อสอบแบบเลือกตอบจากแฟ้มข้อมูล (*.txt) แล้วเขียนรายงานผล"));
    parser.addOptions({options.select, options.choices, options.output, options.encoding, options.html,
                       options.csv, options.help, options.version});
    parser.addPositionalArgument(QStringLiteral("DATAFILE"),
                                 QStringLiteral("แฟ้มข้อมูล (- = อ่านจาก standard input)"));
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
    if (files.size() != 1)
        return mistake(QStringLiteral("ต้องระบุแฟ้มข้อมูลหนึ่งแฟ้ม (ดู qlt --help)"));
    request.dataFile = files.first();

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

    request.htmlPath = parser.value(options.html);
    request.csvPath = parser.value(options.csv);
    // The visual and spreadsheet reports replace the plain one unless it is asked for too.
    const bool diagnose = parser.isSet(options.html) || parser.isSet(options.csv);
    if (parser.isSet(options.output) || !diagnose)
        request.reportPath = parser.value(options.output);
    return Parsed::Run;
}

bool writePlainReport(const Request& request, const TestData& data, const AnalysisResults& results,
                      QIODevice& out, QIODevice& err)
{
    const ReportSelection selection = reportSelection(request.boxes);
    if (request.reportPath == QLatin1String("-")) {
        if (streamReport(out, data, results, selection, request.encoding))
            return true;
        say(err, QStringLiteral("เขียนรายงานออกทาง standard output ไม่ได้: %1").arg(out.errorString()));
        return false;
    }
    QString error;
    if (WriteReport(request.reportPath, data, results, selection, &error, request.encoding))
        return true;
    say(err, QStringLiteral("เขียนรายงานลงแฟ้ม %1 ไม่ได้: %2").arg(request.reportPath, error));
    return false;
}

bool writeDiagnostics(const Request& request, const TestData& data, const AnalysisResults& results,
                      QIODevice& err)
{
    const int choices = request.choiceCount ? request.choiceCount : choiceCountForKey(data.AllKeys);
    const TestDiagnostics diagnostics = diagnoseTest(data, results, choices);
    const QString source = request.dataFile == QLatin1String("-") ? QStringLiteral("standard input")
                                                                  : QFileInfo(request.dataFile).fileName();
    if (!request.htmlPath.isEmpty() &&
        !saveDiagnostics(err, request.htmlPath, composeHtmlReport(data, diagnostics, source)))
        return false;
    return request.csvPath.isEmpty() || saveDiagnostics(err, request.csvPath, composeCsv(diagnostics));
}

// Loads, analyses and writes what the request asks for. The run may clear boxes, as on the page, so
// the reports follow the boxes as the run leaves them.
int run(Request request, QIODevice& in, QIODevice& out, QIODevice& err)
{
    TestData data;
    if (request.choiceCount)
        data.setChoices(request.choiceCount);
    QString error;
    const bool loaded = request.dataFile == QLatin1String("-") ? loadDataStream(in, data, error)
                                                               : loadDataFile(request.dataFile, data, error);
    if (!loaded) {
        say(err, error);
        return QltFailure;
    }

    AnalysisResults results;
    ErrorStreamMessages messages(err);
    if (!runAnalysis(data, request.boxes, results, messages).finished)
        return QltFailure;
    if (!request.reportPath.isEmpty() && !writePlainReport(request, data, results, out, err))
        return QltFailure;
    const bool diagnose = !request.htmlPath.isEmpty() || !request.csvPath.isEmpty();
    if (diagnose && !writeDiagnostics(request, data, results, err))
        return QltFailure;
    return QltSuccess;
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
    return run(request, in, out, err);
}
