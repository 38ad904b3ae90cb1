#include "app/ThaiFont.h"

#include <QApplication>
#include <QFontDatabase>

void useThaiFont()
{
    for (const QString& family : thaiFontFamilies()) {
        if (QFontDatabase::hasFamily(family)) {
            QFont font = QApplication::font();
            font.setFamily(family);
            QApplication::setFont(font);
            return;
        }
    }
}
