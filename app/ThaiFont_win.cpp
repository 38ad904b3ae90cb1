#include "app/ThaiFont.h"

#include <QApplication>
#include <QFontDatabase>

// Leelawadee UI is Windows' Thai interface font since Windows 8.1; Tahoma has carried Thai since
// Windows 2000. Wine has neither with Thai letters, but offers the Linux desktop's TLWG fonts.
QStringList thaiFontFamilies()
{
    return {QStringLiteral("Leelawadee UI"), QStringLiteral("Tahoma"), QStringLiteral("Waree"),
            QStringLiteral("Loma")};
}

// Windows has no fixed-width font with Thai letters, and Courier New borrows them at other widths,
// so the program carries TLWG's Tlwg Mono (fonts-thai-tlwg) in its resources.
QFont fixedWidthThaiFont()
{
    static const int loaded = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/TlwgMono.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(loaded);
    return families.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(families.first());
}
