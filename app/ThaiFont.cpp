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

QFont listingFont(const QFont& pageFont)
{
    QFont font = fixedWidthThaiFont();
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(pageFont.pointSizeF() * 1.15);
    return font;
}
