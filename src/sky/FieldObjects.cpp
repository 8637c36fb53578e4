#include "FieldObjects.h"

#include "ChildProcess.h"
#include "FitsCards.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRad = std::numbers::pi / 180;
constexpr double kStep = 1.0 / 60; // one arcminute, for the local scale and direction

// The place `distance` degrees from `from` toward position angle `angle`.
SkyPoint offset(const SkyPoint &from, double angle, double distance)
{
    const double d = distance * kRad;
    const double a = angle * kRad;
    const double dec0 = from.dec * kRad;
    const double dec =
        std::asin(std::sin(dec0) * std::cos(d) + std::cos(dec0) * std::sin(d) * std::cos(a));
    const double ra = from.ra * kRad + std::atan2(std::sin(a) * std::sin(d) * std::cos(dec0),
                                                  std::cos(d) - std::sin(dec0) * std::sin(dec));
    return {ra / kRad, dec / kRad};
}

bool isInside(const QPointF &p, const QSize &size)
{
    return p.x() >= 0 && p.y() >= 0 && p.x() < size.width() && p.y() < size.height();
}

double shorterSide(const Wcs &wcs)
{
    return std::min(wcs.fieldWidth(), wcs.fieldHeight());
}

// A designation of astrometry.net's list: "NGC 6523", "IC 434", "M 8".
bool isDesignation(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^(NGC|IC|M) \\d+[A-Za-z]?$"));
    return re.match(name).hasMatch();
}

} // namespace

namespace FieldObjects {

QList<Listed> parseListed(const QByteArray &json)
{
    // The JSON follows the program's other messages on the error stream.
    const qsizetype start = json.indexOf('{');
    const QJsonDocument document =
        QJsonDocument::fromJson(start < 0 ? QByteArray() : json.mid(start));
    QList<Listed> list;
    const QJsonArray annotations = document.object().value(QLatin1String("annotations")).toArray();
    for (const QJsonValue &value : annotations) {
        const QJsonObject a = value.toObject();
        Listed entry;
        const QJsonArray names = a.value(QLatin1String("names")).toArray();
        for (const QJsonValue &n : names)
            entry.names << n.toString().simplified();
        entry.pixel = QPointF(a.value(QLatin1String("pixelx")).toDouble() - 0.5,
                              a.value(QLatin1String("pixely")).toDouble() - 0.5);
        entry.radius = std::max(0.0, a.value(QLatin1String("radius")).toDouble());
        if (a.value(QLatin1String("type")).toString() == QLatin1String("ngc") &&
            !entry.names.isEmpty() && !entry.names.first().isEmpty())
            list.append(entry);
    }
    return list;
}

QList<Listed> listed(const Wcs &wcs, const QString &program, const QDeadlineTimer &deadline,
                     const std::atomic_bool *cancel)
{
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("field.wcs"));
    QList<FitsCards::Card> cards = {{QStringLiteral("SIMPLE"), FitsCards::boolean(true)},
                                    {QStringLiteral("BITPIX"), QStringLiteral("8")},
                                    {QStringLiteral("NAXIS"), QStringLiteral("0")}};
    cards += wcs.headerCards();
    QFile file(path);
    if (program.isEmpty() || !work.isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(FitsCards::write(cards)) < 0)
        return {};
    file.close();
    const ChildProcess::Run run =
        ChildProcess::run(program,
                          {QStringLiteral("-L"), QStringLiteral("-N"), QStringLiteral("-J"),
                           QStringLiteral("-w"), path},
                          work.path(), deadline, cancel);
    if (run.outcome != ChildProcess::Outcome::Finished || run.exitCode != 0)
        return {};
    return parseListed(run.errorOutput);
}

FieldObject place(const SkyObject &object, const Wcs &wcs)
{
    FieldObject placed{object, true, {}, 0, 0, 0};
    const auto centre = wcs.skyToPixel(object.position);
    const auto along = wcs.skyToPixel(offset(object.position, object.positionAngle, kStep));
    if (!centre || !along)
        return placed;
    placed.pixel = *centre;
    const QPointF axis = *along - *centre;
    const double pixelsPerArcmin = std::hypot(axis.x(), axis.y());
    placed.axisAngle = std::atan2(axis.y(), axis.x()) / kRad;
    placed.majorPixels = object.majorAxis * pixelsPerArcmin;
    placed.minorPixels = object.minorAxis * pixelsPerArcmin;
    return placed;
}

QList<FieldObject> inField(const Wcs &wcs, const SkyCatalogue &catalogue,
                           const QList<Listed> &listed)
{
    QList<FieldObject> objects;
    const double reach = std::hypot(wcs.fieldWidth(), wcs.fieldHeight());
    const SkyPoint centre = wcs.centre();
    for (const SkyObject &object : catalogue.objects()) {
        if (skyDistance(centre, object.position) > reach)
            continue;
        const auto pixel = wcs.skyToPixel(object.position);
        if (pixel && isInside(*pixel, wcs.imageSize()))
            objects.append(place(object, wcs));
    }
    for (const Listed &entry : listed) {
        bool known = false;
        for (const QString &name : entry.names)
            known = known || catalogue.find(name) != nullptr;
        if (known || !isInside(entry.pixel, wcs.imageSize()))
            continue;
        SkyObject object;
        object.designation = entry.names.first();
        for (const QString &name : entry.names.mid(1)) {
            if (name.startsWith(QLatin1String("M ")) && isDesignation(name))
                object.messier = name.mid(2).toInt();
            else if (!isDesignation(name) && object.englishName.isEmpty())
                object.englishName = name;
        }
        object.position = wcs.pixelToSky(entry.pixel);
        object.majorAxis = 2 * entry.radius * wcs.pixelScale() / 60;
        object.minorAxis = object.majorAxis;
        FieldObject placed = place(object, wcs);
        placed.fromCatalogue = false;
        objects.append(placed);
    }
    std::stable_sort(objects.begin(), objects.end(),
                     [](const FieldObject &a, const FieldObject &b) {
                         return a.object.majorAxis > b.object.majorAxis;
                     });
    return objects;
}

std::optional<FieldObject> target(const QList<FieldObject> &objects, const Wcs &wcs)
{
    const double side = shorterSide(wcs);
    const SkyPoint centre = wcs.centre();
    std::optional<FieldObject> best;
    double bestDistance = 0;
    for (const FieldObject &o : objects) {
        if (o.object.majorAxis / 60 < TargetShare * side)
            continue;
        const double distance = skyDistance(centre, o.object.position);
        const bool tie = best && std::fabs(distance - bestDistance) < 0.01 * side;
        if (!best ||
            (tie ? o.object.majorAxis > best->object.majorAxis : distance < bestDistance)) {
            best = o;
            bestDistance = distance;
        }
    }
    return best;
}

QList<FieldObject> named(const QList<FieldObject> &objects, const Wcs &wcs)
{
    const double side = shorterSide(wcs);
    QList<FieldObject> list;
    for (const FieldObject &o : objects) {
        const bool sized = o.object.majorAxis / 60 >= ListedShare * side;
        if ((sized || (o.fromCatalogue && o.object.majorAxis == 0)) && list.size() < MaxListed)
            list.append(o);
    }
    return list;
}

} // namespace FieldObjects
