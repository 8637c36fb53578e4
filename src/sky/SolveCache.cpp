#include "SolveCache.h"

#include "FitsCards.h"
#include "common/AtomicFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

constexpr int kVersion = 1;
constexpr qint64 kMaxEntry = 1 << 20;

const char *statusName(PlateSolver::Status status)
{
    switch (status) {
    case PlateSolver::Status::Solved:
        return "solved";
    case PlateSolver::Status::NotVerified:
        return "not verified";
    default:
        return "not solved";
    }
}

} // namespace

SolveCache::SolveCache(const QString &folder) : m_folder(folder)
{
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                   QStringLiteral("/morvel/solve"); // shared by the window and morvel-compose
}

QString SolveCache::key(const QString &photoPath, const QImage &image, const QString &settings)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QFile file(photoPath);
    if (!photoPath.isEmpty() && file.open(QIODevice::ReadOnly)) {
        hash.addData(&file);
    } else {
        for (int y = 0; y < image.height(); ++y)
            hash.addData(QByteArrayView(image.constScanLine(y), image.bytesPerLine()));
    }
    hash.addData(QStringLiteral("|%1x%2|%3|%4")
                     .arg(image.width())
                     .arg(image.height())
                     .arg(settings)
                     .arg(kVersion)
                     .toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

std::optional<SolveCache::Entry> SolveCache::find(const QString &key) const
{
    QFile file(QDir(m_folder).filePath(key + QStringLiteral(".json")));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxEntry)
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
    if (o.value(QLatin1String("version")).toInt() != kVersion)
        return std::nullopt;
    Entry entry;
    const QString status = o.value(QLatin1String("status")).toString();
    entry.result.logOdds = o.value(QLatin1String("logOdds")).toDouble();
    entry.result.matches = o.value(QLatin1String("matches")).toInt();
    if (status == QLatin1String(statusName(PlateSolver::Status::Solved))) {
        const QByteArray header =
            QByteArray::fromBase64(o.value(QLatin1String("wcs")).toString().toLatin1());
        entry.result.wcs = Wcs::fromHeader(FitsCards::parse(header));
        if (!entry.result.wcs)
            return std::nullopt;
        entry.result.status = PlateSolver::Status::Solved;
    } else if (status == QLatin1String(statusName(PlateSolver::Status::NotVerified))) {
        entry.result.status = PlateSolver::Status::NotVerified;
    } else if (status == QLatin1String(statusName(PlateSolver::Status::NotSolved))) {
        entry.result.status = PlateSolver::Status::NotSolved;
    } else {
        return std::nullopt;
    }
    entry.result.message = PlateSolver::statusMessage(entry.result.status);
    entry.listed = FieldObjects::parseListed(
        QJsonDocument(o.value(QLatin1String("listed")).toObject()).toJson(QJsonDocument::Compact));
    return entry;
}

bool SolveCache::store(const QString &key, const Entry &entry, QString *reason) const
{
    QJsonObject o;
    o.insert(QLatin1String("version"), kVersion);
    o.insert(QLatin1String("status"), QLatin1String(statusName(entry.result.status)));
    o.insert(QLatin1String("logOdds"), entry.result.logOdds);
    o.insert(QLatin1String("matches"), entry.result.matches);
    if (entry.result.wcs)
        o.insert(QLatin1String("wcs"),
                 QString::fromLatin1(FitsCards::write(entry.result.wcs->headerCards()).toBase64()));
    // The list in the form plot-constellations writes it.
    QJsonArray annotations;
    for (const FieldObjects::Listed &l : entry.listed)
        annotations.append(
            QJsonObject{{QLatin1String("type"), QLatin1String("ngc")},
                        {QLatin1String("names"), QJsonArray::fromStringList(l.names)},
                        {QLatin1String("pixelx"), l.pixel.x() + 0.5},
                        {QLatin1String("pixely"), l.pixel.y() + 0.5},
                        {QLatin1String("radius"), l.radius}});
    o.insert(QLatin1String("listed"), QJsonObject{{QLatin1String("annotations"), annotations}});
    if (!QDir().mkpath(m_folder)) {
        if (reason)
            *reason = m_folder;
        return false;
    }
    QString why;
    const bool ok = AtomicFile::write(QDir(m_folder).filePath(key + QStringLiteral(".json")),
                                      QJsonDocument(o).toJson(QJsonDocument::Compact), &why);
    if (!ok && reason)
        *reason = why;
    return ok;
}
