#include "school/ClassGroups.h"

#include "school/PupilList.h"
#include "school/Rooms.h"
#include "school/TableFile.h"

bool addPupilList(const QString& path, const TestData& data, ClassGroupSources& sources, QString& error)
{
    PupilList list;
    if (!readPupilList(path, data, list, error))
        return false;
    if (!list.rooms.isEmpty())
        sources.rooms = list.rooms;
    if (!list.forms.isEmpty())
        sources.forms = {list.forms, QStringLiteral("คอลัมน์ชุดของแฟ้ม %1").arg(list.name)};
    return true;
}

bool groupSourcesBeside(const QString& dataFile, const TestData& data, ClassGroupSources& sources,
                        QString& error)
{
    sources.formsPath = tableBeside(dataFile, QLatin1String("forms"));
    const QString pupils = pupilListBeside(dataFile);
    return pupils.isEmpty() || addPupilList(pupils, data, sources, error);
}

bool groupPupils(TestData& data, const ClassGroupSources& sources, std::vector<GroupComparison>& comparisons,
                 QString& warning, QString& error)
{
    std::vector<GroupComparison> added;
    if (!sources.rooms.isEmpty())
        added.push_back({roomsOfPupils(sources.rooms), roomComparisonTexts()});
    if (!sources.formsPath.isEmpty()) {
        FormFile forms;
        PupilGroups groups;
        if (!readForms(sources.formsPath, data.NumItems, forms, error) ||
            !mapToMaster(data, forms, sources.formsFromId ? FormCodes{} : sources.forms, groups, error))
            return false;
        warning = formKeyWarning(data, forms);
        added.push_back({std::move(groups), formComparisonTexts(warning)});
    }
    for (GroupComparison& comparison : added)
        comparisons.push_back(std::move(comparison));
    return true;
}
