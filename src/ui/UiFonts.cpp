#include "UiFonts.h"

#include <QStringList>

namespace UiFonts {

QFont windowsFace(const QString &face, int pointSize)
{
    QFont font;
    // Both faces are proportional gothics; IPAPGothic is the closest twin of either.
    font.setFamilies(QStringList{face, QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    font.setPointSize(pointSize);
    return font;
}

QFont dialogFont()
{
    return windowsFace(QString::fromUtf16(PGothic), 9);
}

} // namespace UiFonts
