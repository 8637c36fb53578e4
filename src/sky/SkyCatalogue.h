#pragma once

#include "Wcs.h"
#include "store/AppSettings.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A deep-sky object of the catalogue.
struct SkyObject
{
    enum class Type
    {
        Galaxy,
        GalaxyGroup,
        OpenCluster,
        GlobularCluster,
        Nebula,
        PlanetaryNebula,
        SupernovaRemnant,
        DarkNebula,
        StarCloud,
        DoubleStar,
        Other,
    };

    QString designation; // "NGC 6523", "IC 434", "M 45", "Sh2-155"
    int messier = 0;     // 0 for none
    int caldwell = 0;
    Type type = Type::Other;
    SkyPoint position;
    double majorAxis = 0;     // arcminutes; 0 when unknown
    double minorAxis = 0;     // arcminutes; the major axis when unknown
    double positionAngle = 0; // degrees of the major axis, north through east
    QString englishName;
    QString japaneseName;
    QStringList aliases;

    // The common name in the language; empty when it has none.
    QString name(AppSettings::Language language) const;
    // "M 8 (NGC 6523) 干潟星雲" / "M 8 (NGC 6523) Lagoon Nebula", "NGC 7000 北アメリカ星雲",
    // "NGC 6530": the Messier number first, the designation, the common name.
    QString label(AppSettings::Language language) const;
    // "M 8", "NGC 7000": the Messier number or the designation.
    QString shortLabel() const;
};

// The program's own table of deep-sky objects (src/sky/data/objects.csv, from OpenNGC): all
// Messier and Caldwell objects and well-known NGC and IC objects.
class SkyCatalogue
{
    Q_DECLARE_TR_FUNCTIONS(SkyCatalogue)

public:
    // The table built into the program.
    static const SkyCatalogue &builtIn();
    // A table in the file's format; rows that do not read are skipped.
    static SkyCatalogue fromCsv(const QByteArray &csv);

    const QList<SkyObject> &objects() const { return m_objects; }

    // The object a typed name means: a designation ("M8", "m 8", "NGC6523", "Messier 8",
    // "C 20", "Caldwell 20", full-width digits too), a name in either language or an alias,
    // or a text that starts with a designation ("M8 干潟星雲"). Null when none.
    const SkyObject *find(const QString &name) const;

    // The designation key of a name: "M 8" and "messier8" give "M8", "NGC 0224" gives "NGC224".
    static QString key(const QString &name);

private:
    QList<SkyObject> m_objects;
    QHash<QString, int> m_byKey;
};
