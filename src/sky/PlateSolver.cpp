#include "PlateSolver.h"

#include "ChildProcess.h"
#include "FitsCards.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>

namespace {

constexpr double kRadianArcsec = 206264.806;
// The quads solve-field tries span from this fraction of the picture's shorter side up to its
// diagonal.
constexpr double kQuadMin = 0.1;
// image2xy's median box for the background (its default of 100 pixels leaves a bright nebula
// as one huge blob that it then takes seconds to split) and the largest blob it splits.
const QString kBackgroundBox = QStringLiteral("30");
const QString kMaxBlob = QStringLiteral("1000");
constexpr qint64 kMaxIndexHeader = 64 * 1024;

// "COMMENT log odds: 132.07" and "COMMENT nmatch: 18" of a WCS file astrometry.net wrote.
double commentNumber(const QByteArray &header, const QByteArray &label)
{
    for (qsizetype at = 0; at + 80 <= header.size(); at += 80) {
        const QByteArray card = header.mid(at, 80);
        if (card.startsWith("COMMENT ") && card.mid(8).trimmed().startsWith(label))
            return card.mid(8).trimmed().mid(label.size()).trimmed().toDouble();
    }
    return 0;
}

QString tail(const QByteArray &output)
{
    const QList<QByteArray> lines = output.trimmed().split('\n');
    return lines.isEmpty() ? QString() : QString::fromLocal8Bit(lines.last()).trimmed();
}

} // namespace

QString PlateSolver::missingMessage()
{
    return tr("写野の解析には astrometry.net とその索引ファイルが必要です。Debian のパッケージ "
              "astrometry.net、astrometry-data-tycho2-07、astrometry-data-tycho2-08、"
              "astrometry-data-tycho2-09、astrometry-data-tycho2-10-19 を入れてください。");
}

QString PlateSolver::statusMessage(Status status)
{
    switch (status) {
    case Status::Solved:
        return {};
    case Status::NotSolved:
        return tr("写野を特定できませんでした: 星の並びが星図と一致しません。");
    case Status::NotVerified:
        return tr("写野を特定できませんでした: 星図との一致が確かではありません。");
    case Status::FieldTooSmall:
        return tr("写野を特定できませんでした: 写野が索引ファイルの扱える大きさより小さすぎます。");
    case Status::FieldTooLarge:
        return tr("写野を特定できませんでした: 写野が大きすぎます。");
    case Status::Missing:
        return missingMessage();
    case Status::TimedOut:
        return tr("写野を特定できませんでした: 制限時間を過ぎました。");
    case Status::Cancelled:
        return tr("写野の解析を取り消しました。");
    case Status::Failed:
        return tr("写野の解析に失敗しました。");
    }
    return {};
}

QString PlateSolver::program(const QString &name) const
{
    if (m_options.programFolder.isEmpty())
        return QStandardPaths::findExecutable(name);
    return QStandardPaths::findExecutable(name, {m_options.programFolder});
}

QList<PlateSolver::IndexFile> PlateSolver::indexFiles() const
{
    QList<IndexFile> files;
    const QDir folder(m_options.indexFolder);
    const QStringList names =
        folder.entryList({QStringLiteral("index*.fits")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const auto values = FitsCards::parse(file.read(kMaxIndexHeader));
        bool lowOk = false;
        bool highOk = false;
        const double low = values.value(QStringLiteral("SCALE_L")).toDouble(&lowOk);
        const double high = values.value(QStringLiteral("SCALE_U")).toDouble(&highOk);
        if (lowOk && highOk && low > 0 && high >= low)
            files.append({file.fileName(), low * kRadianArcsec, high * kRadianArcsec});
    }
    return files;
}

PlateSolver::Result PlateSolver::solve(const QImage &picture, const SolveHints &hints,
                                       const std::atomic_bool *cancel,
                                       const std::function<void(const QString &)> &progress) const
{
    Result result;
    auto finish = [&](Status status, const QString &detail = QString()) {
        result.status = status;
        result.message = statusMessage(status);
        if (!detail.isEmpty())
            result.message += QLatin1Char(' ') + detail;
        return result;
    };
    auto tell = [&](const QString &text) {
        if (progress)
            progress(text);
    };
    const QDeadlineTimer deadline(std::chrono::seconds(std::max(1, m_options.timeLimit)));
    if (picture.isNull())
        return finish(Status::Failed);
    const QString solveField = program(QStringLiteral("solve-field"));
    const QString image2xy = program(QStringLiteral("image2xy"));
    const QList<IndexFile> indexes = indexFiles();
    if (solveField.isEmpty() || image2xy.isEmpty() || indexes.isEmpty())
        return finish(Status::Missing);

    // The grey copy: the longest side at most maxSide pixels.
    const double shrink = std::max(1.0, double(std::max(picture.width(), picture.height())) /
                                            std::max(64, m_options.maxSide));
    const QSize size(std::max(1, int(std::lround(picture.width() / shrink))),
                     std::max(1, int(std::lround(picture.height() / shrink))));
    const QImage grey = (size == picture.size() ? picture
                                                : picture.scaled(size, Qt::IgnoreAspectRatio,
                                                                 Qt::SmoothTransformation))
                            .convertToFormat(QImage::Format_Grayscale8);
    const double sx = double(picture.width()) / size.width();
    const double sy = double(picture.height()) / size.height();
    const double perPixel = (sx + sy) / 2;

    // The index files whose quads fit the field.
    QList<IndexFile> chosen = indexes;
    if (hints.hasScale()) {
        const double smallestQuad =
            kQuadMin * std::min(size.width(), size.height()) * hints.scaleLow * perPixel;
        const double largestQuad =
            std::hypot(size.width(), size.height()) * hints.scaleHigh * perPixel;
        chosen.clear();
        double smallestServed = indexes.first().smallest;
        for (const IndexFile &index : indexes) {
            smallestServed = std::min(smallestServed, index.smallest);
            if (index.smallest <= largestQuad && index.largest >= smallestQuad)
                chosen.append(index);
        }
        if (chosen.isEmpty())
            return finish(largestQuad < smallestServed ? Status::FieldTooSmall
                                                       : Status::FieldTooLarge);
    }

    QTemporaryDir work;
    if (!work.isValid())
        return finish(Status::Failed, work.errorString());
    const QString fieldFits = work.filePath(QStringLiteral("field.fits"));
    const QString stars = work.filePath(QStringLiteral("field.xy"));
    const QString wcsFile = work.filePath(QStringLiteral("field.wcs"));
    const QString config = work.filePath(QStringLiteral("astrometry.cfg"));
    QByteArray pixels;
    pixels.reserve(qsizetype(size.width()) * size.height());
    for (int y = 0; y < size.height(); ++y)
        pixels.append(reinterpret_cast<const char *>(grey.constScanLine(y)), size.width());
    // The programs stop themselves a little after the time limit, should this process end first.
    const QByteArray cpuLimit = QByteArray::number(m_options.timeLimit + 10);
    QByteArray configText = "cpulimit " + cpuLimit + '\n';
    for (const IndexFile &index : std::as_const(chosen))
        configText += "index " + QFile::encodeName(index.path) + '\n';
    QFile fitsOut(fieldFits);
    QFile configOut(config);
    if (!fitsOut.open(QIODevice::WriteOnly) ||
        fitsOut.write(FitsCards::greyImage(pixels, size.width(), size.height())) < 0 ||
        !configOut.open(QIODevice::WriteOnly) || configOut.write(configText) < 0)
        return finish(Status::Failed, fitsOut.errorString());
    fitsOut.close();
    configOut.close();

    auto failed = [&](const ChildProcess::Run &run) {
        switch (run.outcome) {
        case ChildProcess::Outcome::NotStarted:
            return finish(Status::Missing);
        case ChildProcess::Outcome::TimedOut:
            return finish(Status::TimedOut);
        case ChildProcess::Outcome::Cancelled:
            return finish(Status::Cancelled);
        default:
            return finish(Status::Failed, tail(run.errorOutput + run.output));
        }
    };
    tell(tr("写真の星を探しています…"));
    const ChildProcess::Run found =
        ChildProcess::run(image2xy,
                          {QStringLiteral("-O"), QStringLiteral("-s"), kBackgroundBox,
                           QStringLiteral("-m"), kMaxBlob, QStringLiteral("-o"), stars, fieldFits},
                          work.path(), deadline, cancel);
    if (found.outcome != ChildProcess::Outcome::Finished || found.exitCode != 0)
        return failed(found);

    QStringList arguments = {
        QStringLiteral("--config"),
        config,
        QStringLiteral("--dir"),
        work.path(),
        QStringLiteral("--temp-dir"),
        work.path(),
        QStringLiteral("--out"),
        QStringLiteral("field"),
        QStringLiteral("--overwrite"),
        QStringLiteral("--no-plots"),
        QStringLiteral("--width"),
        QString::number(size.width()),
        QStringLiteral("--height"),
        QString::number(size.height()),
        QStringLiteral("--sort-column"),
        QStringLiteral("FLUX"),
        QStringLiteral("--no-remove-lines"),
        QStringLiteral("--uniformize"),
        QStringLiteral("0"),
        QStringLiteral("--objs"),
        QString::number(m_options.maxStars),
        QStringLiteral("--cpulimit"),
        QString::fromLatin1(cpuLimit),
        QStringLiteral("--new-fits"),
        QStringLiteral("none"),
        QStringLiteral("--corr"),
        QStringLiteral("none"),
        QStringLiteral("--rdls"),
        QStringLiteral("none"),
        QStringLiteral("--match"),
        QStringLiteral("none"),
        QStringLiteral("--solved"),
        QStringLiteral("none"),
        QStringLiteral("--index-xyls"),
        QStringLiteral("none"),
        QStringLiteral("--temp-axy"),
        QStringLiteral("--wcs"),
        wcsFile,
    };
    if (hints.hasScale())
        arguments << QStringLiteral("--scale-units") << QStringLiteral("arcsecperpix")
                  << QStringLiteral("--scale-low") << QString::number(hints.scaleLow * perPixel)
                  << QStringLiteral("--scale-high") << QString::number(hints.scaleHigh * perPixel);
    if (hints.position)
        arguments << QStringLiteral("--ra") << QString::number(hints.position->ra, 'f', 6)
                  << QStringLiteral("--dec") << QString::number(hints.position->dec, 'f', 6)
                  << QStringLiteral("--radius") << QString::number(std::max(0.1, hints.radius));
    arguments << stars;
    tell(tr("星図と照合しています…"));
    const ChildProcess::Run solved = ChildProcess::run(
        solveField, arguments, work.path(), deadline, cancel, [&](const QByteArray &line) {
            if (line.contains("did not solve"))
                tell(tr("星図と照合しています（%1 秒）…")
                         .arg(m_options.timeLimit - deadline.remainingTime() / 1000));
        });
    if (solved.outcome != ChildProcess::Outcome::Finished || solved.exitCode != 0)
        return failed(solved);

    QFile wcsIn(wcsFile);
    if (!wcsIn.open(QIODevice::ReadOnly))
        return finish(deadline.hasExpired() ? Status::TimedOut : Status::NotSolved);
    const QByteArray header = wcsIn.readAll();
    const auto wcs = Wcs::fromHeader(FitsCards::parse(header), size);
    if (!wcs)
        return finish(Status::Failed);
    result.logOdds = commentNumber(header, "log odds:");
    result.matches = int(commentNumber(header, "nmatch:"));
    // A match too weak to trust names nothing.
    if (result.logOdds < m_options.minLogOdds)
        return finish(Status::NotVerified);
    result.wcs = wcs->transformed(sx, sy, QPointF(0, 0), picture.size());
    return finish(Status::Solved);
}
