#include "app/ThaiFont.h"

#include <QFontDatabase>

// Sans-serif families first found on the desktop. The TLWG ones come with Debian's fonts-thai-tlwg,
// on which the package depends; Waree's Latin letters are those of DejaVu Sans.
QStringList thaiFontFamilies()
{
    return {QStringLiteral("Waree"), QStringLiteral("Loma"), QStringLiteral("Garuda"),
            QStringLiteral("Noto Sans Thai UI"), QStringLiteral("Noto Sans Thai")};
}

// Tlwg Mono comes with fonts-thai-tlwg, as the other TLWG families.
QFont fixedWidthThaiFont()
{
    return QFontDatabase::hasFamily(QStringLiteral("Tlwg Mono"))
               ? QFont(QStringLiteral("Tlwg Mono"))
               : QFontDatabase::systemFont(QFontDatabase::FixedFont);
}
