#pragma once

#include "model/TestData.h"

#include <QList>
#include <QString>
#include <QStringList>

struct Examinee {
    QString id;
    QString answers;
    QString name;
};

// Puts a test keyed `key` and its examinees into `data`, indexed from 1 as the model keeps them.
// The answer matrix and the rest of `data` stay as they were.
void setClass(TestData& data, const QString& key, const QList<Examinee>& examinees);

// A test keyed `key` whose examinees gave `answers`, identified "S1", "S2", ... unless `ids` are
// given, with no names; the answer matrix is filled too.
TestData makeTestData(const QString& key, const QStringList& answers, const QStringList& ids = {});

// The answer texts as plain texts, to compare with what a test expects.
QStringList answerStrings(const AnswerTexts& answers);
