#include "FieldFacts.h"

#include "SkyText.h"

const QStringList &FieldFacts::names()
{
    static const QStringList names = {
        QStringLiteral("RA"),     QStringLiteral("DEC"),   QStringLiteral("FOV"),
        QStringLiteral("SCALE"),  QStringLiteral("NORTH"), QStringLiteral("OBJECTS"),
        QStringLiteral("TARGET"),
    };
    return names;
}

QList<std::pair<QString, QString>> FieldFacts::values(const SolveResult &result,
                                                      AppSettings::Language language)
{
    QStringList texts(names().size());
    if (const auto &wcs = result.wcs) {
        const SkyPoint centre = wcs->centre();
        texts[0] = SkyText::raText(centre.ra);
        texts[1] = SkyText::decText(centre.dec);
        texts[2] = SkyText::fieldText(wcs->fieldWidth(), wcs->fieldHeight());
        texts[3] = SkyText::scaleText(wcs->pixelScale());
        texts[4] = SkyText::angleText(wcs->upAngle());
        QStringList objects;
        for (const FieldObject &o : FieldObjects::named(result.objects, *wcs)) {
            const QString name = o.object.name(language);
            objects << (name.isEmpty() ? o.object.shortLabel()
                                       : o.object.shortLabel() + QLatin1Char(' ') + name);
        }
        const bool english = language == AppSettings::Language::English;
        texts[5] = objects.join(english ? QStringLiteral(", ") : QStringLiteral("\u3001"));
        if (result.target)
            texts[6] = result.target->object.label(language);
    }
    QList<std::pair<QString, QString>> values;
    for (int i = 0; i < names().size(); ++i)
        values.append({names()[i], texts[i]});
    return values;
}
