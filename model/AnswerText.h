#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// One examinee's answer text, held in a byte per character: the byte of code page 874, which every
// character of a file in that code page has, as do the digits of every typed answer. A text with a
// character outside the code page is held as it is, two bytes per character. A class read from the
// largest file a teacher can have then needs no more memory than the file itself.
class AnswerText {
public:
    AnswerText() = default;
    AnswerText(const QString& text); // implicit: any text can be an answer text
    // Characters given as their bytes in code page 874.
    static AnswerText fromCp874(QByteArray bytes);

    QString toString() const;
    QChar at(qsizetype index) const;
    qsizetype size() const { return isWide() ? wide_.size() : narrow_.size(); }
    bool isEmpty() const { return size() == 0; }

    // Which of the two the characters are in: bytes() when the text is narrow, units() when wide.
    bool isWide() const { return !wide_.isEmpty(); }
    const std::uint8_t* bytes() const { return reinterpret_cast<const std::uint8_t*>(narrow_.constData()); }
    const char16_t* units() const { return reinterpret_cast<const char16_t*>(wide_.constData()); }

    // A text is wide only when it cannot be narrow, so equal texts are held alike.
    friend bool operator==(const AnswerText& a, const AnswerText& b)
    {
        return a.narrow_ == b.narrow_ && a.wide_ == b.wide_;
    }

private:
    QByteArray narrow_;
    QString wide_; // empty unless the text has a character outside the code page
};

// The answer texts of all examinees, indexed as every array of the test data.
using AnswerTexts = QList<AnswerText>;
