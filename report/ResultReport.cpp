#include "report/ResultReport.h"

#include "report/PrintZoneWriter.h"
#include "report/TextFile.h"

namespace {

// A result that no run computed (a box ticked after the last run) reads as 0 or empty rather than
// past the end of its array.
double at(const std::vector<double>& values, int index)
{
    return index < qsizetype(values.size()) ? values[index] : 0.0;
}

QStringView at(const QStringList& texts, int index)
{
    return index < texts.size() ? QStringView(texts[index]) : QStringView();
}

template <class T> T at(const Grid<T>& grid, int row, int column)
{
    return row < grid.rows() && column < grid.columns() ? grid(row, column) : T();
}

constexpr QStringView Separator = u"-------------------------------------------------------------------------"
                                  u"-----------------------------------------------";

class ReportComposer {
public:
    ReportComposer(const TestData& data, const AnalysisResults& results, const ReportSelection& selection,
                   PrintZoneWriter& out)
        : data(data), results(results), selection(selection), out(out)
    {
    }

    void compose()
    {
        heading();
        scoreTable();
        basicStatistics();
        testQuality();
        out.endLine();
        itemTables();
        out.endLine();
        out.text(u"  ข้อสอบที่อยู่ในเกณฑ์นำไปใช้ได้  คือ  ").text(results.UsableItems).endLine();
    }

private:
    void heading()
    {
        out.zone().text(u"ผลการตรวจคะแนนและการวิเคราะห์ข้อสอบ").endLine();
        out.text(u"  ข้อสอบจำนวน  ").number(formatPlainNumber(data.NumItems)).text(u"  ข้อ");
        out.zone().text(u"ผู้เข้าสอบจำนวน  ").number(formatPlainNumber(data.NumStud)).text(u"  คน").endLine();
        out.text(Separator).endLine();
    }

    // The selected columns follow in the order of ScoreCode; for every code the page allows, this is
    // the table's layout.
    void scoreTable()
    {
        if (selection.ScoreCode() == u"000")
            return;
        out.text(u"  ตอนที่ 1 :  คะแนนดิบ  -  Z-Score  -  t-Score").endLine();
        out.endLine();
        for (int i = 1; i <= data.NumStud; ++i) {
            out.text(u"  ").text(at(data.StudID, i)).zone().text(at(data.StudName, i));
            if (selection.IncludeRawScore)
                out.zone().number(formatPlainNumber(at(results.Score, i)));
            if (selection.IncludeZScore)
                out.zone().number(formatStandard(at(results.ZScore, i)));
            if (selection.IncludeTScore)
                out.zone().number(formatStandard(at(results.TScore, i)));
            out.endLine();
        }
    }

    // Mode, skewness and kurtosis print only inside a part that one of the other four opens.
    void basicStatistics()
    {
        if (!selection.IncludeRange && !selection.IncludeMean && !selection.IncludeMedian &&
            !selection.IncludeSD)
            return;
        out.text(Separator).endLine();
        out.text(u"  ตอนที่ 2 :  สถิติพื้นฐาน").endLine();
        out.endLine();
        if (selection.IncludeMean)
            out.text(u"  คะแนนเฉลี่ย (Mean) =  ").number(formatStandard(results.Mean)).endLine();
        if (selection.IncludeMedian)
            out.text(u"  ค่ามัธยฐาน (Median) =  ").number(formatStandard(results.Median)).endLine();
        if (selection.IncludeMode) {
            out.text(u"  ค่าฐานนิยม (Mode) =  ").number(formatStandard(results.Mode));
            out.text(u"  (ประมาณจาก Mode = 3Median - 2Mean)").endLine();
        }
        if (selection.IncludeRange) {
            out.text(u"  พิสัย (Range) =  ").number(formatJoinedInteger(results.ScoreRange)).zone();
            out.text(u"( คะแนนสูงสุด  =  ").number(formatJoinedInteger(results.MaxScore)).text(u" , ");
            out.text(u"คะแนนต่ำสุด  =  ").number(formatJoinedInteger(results.MinScore)).text(u" )").endLine();
        }
        if (selection.IncludeSD)
            out.text(u"  ส่วนเบี่ยงเบนมาตรฐาน (SD) =  ").number(formatThreeDecimals(results.SD)).endLine();
        if (selection.IncludeSkewness)
            out.text(u"  ความเบ้ (Skewness) =  ").number(formatThreeDecimals(results.Skewness)).endLine();
        if (selection.IncludeKurtosis)
            out.text(u"  ความโด่ง (Kurtosis) =  ").number(formatThreeDecimals(results.Kurtosis)).endLine();
    }

    // The distractor analysis alone never opens this part: the page ticks discrimination with it.
    void testQuality()
    {
        if (!selection.IncludeReliability && !selection.IncludeDifficulty &&
            !selection.IncludeDiscrimination && !selection.IncludeSEM)
            return;
        out.text(Separator).endLine();
        out.text(u"  ตอนที่ 3 : คุณภาพของแบบสอบ").endLine();
        out.endLine();
        if (selection.IncludeReliability)
            out.text(u"  ค่าความเที่ยง (สูตร KR20)  =  ").number(formatThreeDecimals(results.KR20)).endLine();
        if (selection.IncludeSEM)
            out.text(u"  ค่าความคลาดเคลื่อนของการวัด (SEM)  =  ")
                .number(formatThreeDecimals(results.SEM))
                .endLine();
    }

    // "000" prints no table, and neither do "001" and "101": the page never ticks the distractor
    // analysis without discrimination.
    void itemTables()
    {
        const QString code = selection.ItemCode();
        if (code == u"100") {
            difficultyTable();
        } else if (code == u"010") {
            out.text(u"  ค่าอำนาจจำแนก (Discrimination)").endLine();
            for (int j = 1; j <= data.NumItems; ++j) {
                itemLabel(j).zone().number(formatTwoDecimals(at(results.ItemDiscrimination, j)));
                out.zone().text(at(results.DiscriminationGrade, j)).endLine();
            }
        } else if (code == u"110") {
            out.text(u"  ค่าความยาก (Difficulty) และ ค่าอำนาจจำแนก (Discrimination)").endLine();
            for (int j = 1; j <= data.NumItems; ++j) {
                itemLabel(j).zone().number(formatTwoDecimals(at(results.ItemDifficulty, j)));
                out.zone().number(formatTwoDecimals(at(results.ItemDiscrimination, j)));
                out.zone().text(at(results.DifficultyGrade, j));
                out.zone().text(at(results.DiscriminationGrade, j)).endLine();
            }
        } else if (code == u"011") {
            out.text(u"  ค่าอำนาจจำแนก (Discrimination) และคุณภาพตัวลวง").endLine();
            optionBlocks(u"  ตัวเลือก *   ");
        } else if (code == u"111") {
            difficultyTable();
            out.text(u"  ค่าอำนาจจำแนก (Discrimination) และ คุณภาพตัวลวง").endLine();
            optionBlocks(u"  ตัวเลือก*    ");
        }
    }

    void difficultyTable()
    {
        out.text(u"  ค่าความยาก (Difficulty)").endLine();
        for (int j = 1; j <= data.NumItems; ++j) {
            itemLabel(j).zone().number(formatTwoDecimals(at(results.ItemDifficulty, j)));
            out.zone().text(at(results.DifficultyGrade, j)).endLine();
        }
        out.endLine();
    }

    PrintZoneWriter& itemLabel(int item) { return out.text(u"  ข้อ   ").number(formatJoinedInteger(item)); }

    // Each item's choices, the keyed one labelled by `keyMarker`; every label is 15 characters wide.
    void optionBlocks(QStringView keyMarker)
    {
        for (int j = 1; j <= data.NumItems; ++j) {
            out.text(u"  ข้อ     ").number(formatJoinedInteger(j)).endLine();
            for (int k = 1; k <= data.NumChoices; ++k) {
                const bool keyed = at(data.Keys, j) == at(data.ChoiceCodes, k);
                out.text(keyed ? keyMarker : u"  ตัวเลือก     ").number(formatJoinedInteger(k));
                out.zone().text(u" ").number(formatTwoDecimals(at(results.OptionIndex, j, k)));
                out.zone().text(at(results.OptionGrade, j, k)).endLine();
            }
            out.endLine();
        }
    }

    const TestData& data;
    const AnalysisResults& results;
    const ReportSelection& selection;
    PrintZoneWriter& out;
};

} // namespace

QString composeReport(const TestData& data, const AnalysisResults& results, const ReportSelection& selection)
{
    PrintZoneWriter out(qsizetype(data.NumStud) * 96 + qsizetype(data.NumItems) * (data.NumChoices + 3) * 64 +
                        4096);
    ReportComposer(data, results, selection, out).compose();
    return out.take();
}

bool streamReport(QIODevice& device, const TestData& data, const AnalysisResults& results,
                  const ReportSelection& selection, TextEncoding encoding)
{
    bool written = true;
    PrintZoneWriter out([&](QStringView piece) { written = written && writeText(device, piece, encoding); },
                        32 * 1024);
    ReportComposer(data, results, selection, out).compose();
    out.flush();
    return written;
}

bool WriteReport(const QString& path, const TestData& data, const AnalysisResults& results,
                 const ReportSelection& selection, QString* error, TextEncoding encoding)
{
    return saveFile(
        path, [&](QIODevice& device) { return streamReport(device, data, results, selection, encoding); },
        error);
}
