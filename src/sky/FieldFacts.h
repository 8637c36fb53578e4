#pragma once

#include "FieldSolver.h"
#include "store/AppSettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// The field of a solved photo as caption placeholders: {RA} "18h06m09s", {DEC} "−24°04′43″",
// {FOV} "2.41°×1.60°", {SCALE} "8.47″/px", {NORTH} "12.3°" (the position angle of the
// picture's up direction, east of north), {OBJECTS} (the named objects in the field) and
// {TARGET} ("M 8 (NGC 6523) 干潟星雲": the object the picture is of, FieldObjects::target).
class FieldFacts
{
public:
    static const QStringList &names();

    // Every name with its value; a field that is not identified gives empty values, so that
    // a pattern's optional part with one of them is left out.
    static QList<std::pair<QString, QString>> values(const SolveResult &result,
                                                     AppSettings::Language language);
};
