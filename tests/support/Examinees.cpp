#include "Examinees.h"

void setClass(TestData& data, const QString& key, const QList<Examinee>& examinees)
{
    data.setKey(key);
    data.NumStud = int(examinees.size());
    data.StudID = makeTextArray(data.NumStud);
    data.StudName = makeTextArray(data.NumStud);
    data.StudAns = makeTextArray<AnswerText>(data.NumStud);
    for (int i = 1; i <= data.NumStud; ++i) {
        data.StudID[i] = examinees[i - 1].id;
        data.StudAns[i] = examinees[i - 1].answers;
        data.StudName[i] = examinees[i - 1].name;
    }
}

TestData makeTestData(const QString& key, const QStringList& answers, const QStringList& ids)
{
    QList<Examinee> examinees;
    for (qsizetype i = 0; i < answers.size(); ++i)
        examinees.append({ids.isEmpty() ? QStringLiteral("S%1").arg(i + 1) : ids[i], answers[i], QString()});
    TestData data;
    setClass(data, key, examinees);
    data.AnsMatrix.create(data.NumStud, data.NumItems);
    for (int i = 1; i <= data.NumStud; ++i)
        data.AnsMatrix.setRow(i, data.StudAns[i]);
    return data;
}

QStringList answerStrings(const AnswerTexts& answers)
{
    QStringList texts;
    for (const AnswerText& text : answers)
        texts.append(text.toString());
    return texts;
}
