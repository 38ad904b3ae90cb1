#include "model/AnswerText.h"

#include "model/CodePage874.h"

AnswerText::AnswerText(const QString& text)
{
    if (!cp874BytesOf(text, narrow_)) {
        narrow_.clear();
        wide_ = text;
    }
}

AnswerText AnswerText::fromCp874(QByteArray bytes)
{
    AnswerText text;
    text.narrow_ = std::move(bytes);
    return text;
}

QString AnswerText::toString() const
{
    return isWide() ? wide_ : decodeCp874(narrow_);
}

QChar AnswerText::at(qsizetype index) const
{
    return isWide() ? wide_.at(index) : QChar(cp874Characters()[uchar(narrow_.at(index))]);
}
