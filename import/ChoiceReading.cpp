#include "import/ChoiceReading.h"

char16_t choiceOfLabel(QChar label)
{
    const char16_t unit = label.unicode();
    if (unit >= u'1' && unit <= u'5')
        return unit;
    if (unit >= u'๑' && unit <= u'๕')
        return char16_t(u'1' + (unit - u'๑'));
    if (unit >= u'A' && unit <= u'E')
        return char16_t(u'1' + (unit - u'A'));
    if (unit >= u'a' && unit <= u'e')
        return char16_t(u'1' + (unit - u'a'));
    switch (unit) {
    case u'ก':
        return u'1';
    case u'ข':
        return u'2';
    case u'ค':
        return u'3';
    case u'ง':
        return u'4';
    case u'จ':
        return u'5';
    default:
        return 0;
    }
}

char16_t readChoiceCell(QStringView cell)
{
    if (cell.size() == 1 && !cell.front().isSpace()) { // the usual cell, read without more ado
        const char16_t choice = choiceOfLabel(cell.front());
        return choice ? choice : UnreadableAnswer;
    }
    cell = cell.trimmed();
    if (cell.isEmpty())
        return BlankAnswer;
    const char16_t first = choiceOfLabel(cell.front());
    if (cell.size() == 1)
        return first ? first : UnreadableAnswer;
    // A labelled option text: "ข. 25 องศา", "2) 25 องศา".
    if (first && cell.size() >= 3 && (cell[1] == u'.' || cell[1] == u')') && cell[2].isSpace())
        return first;
    // Several labels, perhaps with commas or blanks between them as check-box answers are exported.
    int labels = 0;
    for (const QChar character : cell) {
        if (choiceOfLabel(character))
            ++labels;
        else if (character != u',' && character != u';' && !character.isSpace())
            return UnreadableAnswer;
    }
    return labels >= 2 ? SeveralMarks : UnreadableAnswer;
}

char16_t readChoiceCharacter(QChar character)
{
    if (character == u' ')
        return BlankAnswer;
    const char16_t choice = choiceOfLabel(character);
    return choice ? choice : UnreadableAnswer;
}

bool isKeyWord(QStringView cell)
{
    cell = cell.trimmed();
    return cell == u"เฉลย" || cell.compare(u"KEY", Qt::CaseInsensitive) == 0 ||
           cell.compare(u"ANSWER KEY", Qt::CaseInsensitive) == 0;
}
