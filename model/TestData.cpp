#include "model/TestData.h"

void TestData::setKey(const QString& key)
{
    AllKeys = key;
    NumItems = int(key.size());
    Keys = makeTextArray(NumItems);
    for (int j = 1; j <= NumItems; ++j)
        Keys[j] = key.mid(j - 1, 1);
}

void TestData::setChoices(int count)
{
    NumChoices = count;
    ChoiceCodes = makeTextArray(count);
    for (int c = 1; c <= count; ++c)
        ChoiceCodes[c] = QString::number(c);
}

void TestData::setNames(const QStringList& names)
{
    if (names.size() != NumStud)
        return;
    StudName = makeTextArray(NumStud);
    for (int i = 1; i <= NumStud; ++i)
        StudName[i] = names[i - 1];
}
