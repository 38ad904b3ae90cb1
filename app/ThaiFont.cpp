#include "app/ThaiFont.h"

#include <QApplication>
#include <QFontDatabase>

void useThaiFont()
{
    // Sans-serif families first found on the desktop. The TLWG ones come with Debian's fonts-thai-tlwg,
    // on which the package depends; Waree's Latin letters are those of DejaVu Sans.
    for (const char* family : {"Waree", "Loma", "Garuda", "Noto Sans Thai UI", "Noto Sans Thai"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            QFont font = QApplication::font();
            font.setFamily(QString::fromLatin1(family));
            QApplication::setFont(font);
            return;
        }
    }
}
