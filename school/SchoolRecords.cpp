#include "school/SchoolRecords.h"

#include "report/TextFile.h"
#include "school/DifficultyIntent.h"
#include "school/Gradebook.h"
#include "school/IndicatorSection.h"

#include <QFileInfo>

bool makeSchoolRecords(const SchoolRequest& request, const TestData& data, TestDiagnostics& test,
                       HtmlAdditions& additions, SchoolRecords& records, QString& error)
{
    if (!request.blueprintPath.isEmpty()) {
        if (!readBlueprint(request.blueprintPath, data.NumItems, records.blueprint, error))
            return false;
        records.scores = scoreIndicators(data, records.blueprint, request.passMark);
        remarkOnIntents(test, records.blueprint);
        if (!request.htmlPath.isEmpty())
            addIndicatorSection(data, records.blueprint, records.scores, additions);
    }
    std::vector<PupilGroups> groups;
    for (const GroupComparison& comparison : request.comparisons) {
        if (!request.htmlPath.isEmpty())
            addComparisonSection(groupFigures(data, comparison.groups), comparison.texts, additions);
        groups.push_back(comparison.groups);
    }
    if (request.gradebookPath.isEmpty())
        return true;
    const bool indicators = records.blueprint.exists();
    const std::vector<Sheet> sheets = gradebookSheets(data, test, indicators ? &records.blueprint : nullptr,
                                                      indicators ? &records.scores : nullptr, groups);
    if (!isWorkbookName(request.gradebookPath))
        records.gradebook = encodeText(composeSheetCsv(sheets.front()), TextEncoding::Utf8);
    else if (!composeGradebookXlsx(sheets, QFileInfo(request.gradebookPath).absolutePath(), records.gradebook,
                                   error))
        return false;
    if (!request.htmlPath.isEmpty())
        additions.header += gradebookLinkHtml(request.htmlPath, request.gradebookPath);
    return true;
}
