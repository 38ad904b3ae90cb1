#pragma once

#include "model/AnswerMatrix.h"
#include "model/AnswerText.h"

#include <QString>
#include <QStringList>

// Limits of one data set: counts are 16-bit and every array holds count + 2 entries.
inline constexpr int MaxCount = 32766;

// A text array for `count` entries: indices 0..count + 1, every entry empty; 1..count are used.
template <typename Text = QString> QList<Text> makeTextArray(int count)
{
    return QList<Text>(count + 2);
}

// One test: the answer key, the examinees and their answers, and the number of choices per item.
// The pages fill it (typed in, or read from a data file), the analysis and the report read it.
// An array that was never created is an empty list; a created one has count + 2 entries.
struct TestData {
    int NumItems = 0; // number of items, always the length of AllKeys
    QString AllKeys;  // the key as typed or read: character j answers item j
    QStringList Keys; // Keys[j] = character j of AllKeys, j = 1..NumItems

    int NumStud = 0;      // number of examinees
    QStringList StudID;   // identifier of examinee i, i = 1..NumStud
    QStringList StudName; // name of examinee i, empty when names are not given
    AnswerTexts StudAns;  // all answers of examinee i, item 1 first
    AnswerMatrix AnsMatrix;

    int NameGiven = 0; // 1 when the entry page asks for a name per examinee
    int CurStud = 0;   // the entry page's next examinee: 1..NumStud + 1
    QString DataFile;  // the data file chosen on the source page

    int NumChoices = 0;      // 4 or 5 once chosen on the analysis page
    QStringList ChoiceCodes; // "1".."4" or "1".."5" at indices 1..NumChoices

    // Replaces AllKeys, NumItems and Keys by a new key.
    void setKey(const QString& key);
    // Re-creates ChoiceCodes for 4 or 5 choices.
    void setChoices(int count);
    // Gives examinees 1..NumStud the names, in order; names that do not match the examinees' number
    // change nothing.
    void setNames(const QStringList& names);
};
