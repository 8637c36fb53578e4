#include "FontSetup.h"

#include <QFont>
#include <QFontDatabase>
#include <algorithm>

namespace {

struct Twin
{
    const char16_t *face;
    const char *candidates[3]; // installed families to draw it with, best first
};

// The faces templates name, with the IPA fonts that share their metrics.
const Twin kTwins[] = {
    {u"ＭＳ ゴシック", {"IPAGothic", "IPAゴシック", nullptr}},
    {u"ＭＳ Ｐゴシック", {"IPAPGothic", "IPA Pゴシック", nullptr}},
    {u"ＭＳ 明朝", {"IPAMincho", "IPA明朝", nullptr}},
    {u"ＭＳ Ｐ明朝", {"IPAPMincho", "IPA P明朝", nullptr}},
    {u"MS UI Gothic", {"IPAPGothic", "IPA Pゴシック", nullptr}},
    {u"MS Gothic", {"IPAGothic", "IPAゴシック", nullptr}},
    {u"MS PGothic", {"IPAPGothic", "IPA Pゴシック", nullptr}},
    {u"MS Mincho", {"IPAMincho", "IPA明朝", nullptr}},
    {u"MS PMincho", {"IPAPMincho", "IPA P明朝", nullptr}},
};

// The five the panel offers even when they are not installed.
constexpr int kPanelFaces = 5;

} // namespace

namespace FontSetup {

QString substituteFor(const QString &face)
{
    for (const Twin &twin : kTwins) {
        if (face != QString::fromUtf16(twin.face))
            continue;
        if (QFontDatabase::hasFamily(face))
            return {};
        for (const char *candidate : twin.candidates) {
            if (candidate && QFontDatabase::hasFamily(QString::fromUtf8(candidate)))
                return QString::fromUtf8(candidate);
        }
        return {};
    }
    return {};
}

void install()
{
    for (const Twin &twin : kTwins) {
        const QString face = QString::fromUtf16(twin.face);
        const QString substitute = substituteFor(face);
        if (!substitute.isEmpty())
            QFont::insertSubstitution(face, substitute);
    }
}

void install(const QStringList &faces)
{
    // Substitutions are looked up whatever the letter case of the family, so are the faces here.
    for (const Twin &twin : kTwins) {
        const QString face = QString::fromUtf16(twin.face);
        if (!faces.contains(face, Qt::CaseInsensitive))
            continue;
        const QString substitute = substituteFor(face);
        if (!substitute.isEmpty())
            QFont::insertSubstitution(face, substitute);
    }
}

QStringList panelFontNames()
{
    QStringList names;
    for (const QString &family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            names << family;
    }
    for (int i = 0; i < kPanelFaces; ++i)
        names << QString::fromUtf16(kTwins[i].face);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace FontSetup
