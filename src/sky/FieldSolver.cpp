#include "FieldSolver.h"

#include "SkyCatalogue.h"
#include "SolveCache.h"
#include "io/LoadPicture.h"

#include <QFileInfo>

namespace {

// plot-constellations lists a field in a few tens of milliseconds.
constexpr int kListSeconds = 20;

// Everything besides the photo that decides a solve's outcome.
QString settingsKey(const SolveRequest &request, const PlateSolver &solver)
{
    QStringList indexes;
    for (const PlateSolver::IndexFile &index : solver.indexFiles())
        indexes << QFileInfo(index.path).fileName();
    const PlateSolver::Options &o = request.solver;
    return QStringLiteral("%1|%2 %3 %4 %5|%6")
        .arg(request.hints.cacheKey())
        .arg(o.maxSide)
        .arg(o.maxStars)
        .arg(o.minLogOdds)
        .arg(o.timeLimit)
        .arg(indexes.join(u','));
}

} // namespace

SolveResult FieldSolver::solve(const SolveRequest &request, const std::atomic_bool *cancel,
                               const std::function<void(const QString &)> &progress)
{
    SolveResult r;
    const PlateSolver solver(request.solver);
    QList<FieldObjects::Listed> listed;
    bool haveList = false;
    if (request.hints.headerWcs) {
        r.status = PlateSolver::Status::Solved;
        r.source = SolveResult::Source::Header;
        r.wcs = request.hints.headerWcs;
    } else {
        // The picture the results are in: the caller's, else the photo at its natural size.
        QSize size = request.image.size();
        if (request.image.isNull()) {
            const LoadPicture::Header header = LoadPicture::readHeader(request.photoPath);
            if (!header.ok()) {
                r.message = header.error;
                return r;
            }
            size = header.size;
        }
        const SolveCache cache(request.cacheFolder);
        const QString key =
            SolveCache::key(request.photoPath, request.image,
                            QStringLiteral("%1x%2|").arg(size.width()).arg(size.height()) +
                                settingsKey(request, solver));
        std::optional<SolveCache::Entry> cached;
        if (request.useCache)
            cached = cache.find(key);
        PlateSolver::Result solved;
        if (cached) {
            solved = cached->result;
            listed = cached->listed;
            haveList = true;
            r.source = SolveResult::Source::Cache;
        } else {
            QImage picture = request.image;
            if (picture.isNull()) {
                // Decoded no larger than the solver looks at: a JPEG at a reduced scale.
                PhotoOptions options;
                options.shrink = true;
                options.box = QSize(request.solver.maxSide, request.solver.maxSide);
                const LoadPicture::Picture decoded =
                    LoadPicture::decode(request.photoPath, options);
                if (!decoded.ok()) {
                    r.message = decoded.error;
                    return r;
                }
                picture = decoded.image;
            }
            SolveHints hints = request.hints;
            const double shrink = double(size.width()) / std::max(1, picture.width());
            hints.scaleLow *= shrink;
            hints.scaleHigh *= shrink;
            hints.headerWcs.reset();
            solved = solver.solve(picture, hints, cancel, progress);
            if (solved.wcs)
                solved.wcs = solved.wcs->transformed(double(size.width()) / picture.width(),
                                                     double(size.height()) / picture.height(),
                                                     QPointF(0, 0), size);
            r.source = SolveResult::Source::Solver;
        }
        r.status = solved.status;
        r.logOdds = solved.logOdds;
        r.matches = solved.matches;
        r.message = solved.message;
        r.wcs = solved.status == PlateSolver::Status::Solved ? solved.wcs : std::nullopt;
        if (!cached && request.useCache &&
            (solved.status == PlateSolver::Status::Solved ||
             solved.status == PlateSolver::Status::NotSolved ||
             solved.status == PlateSolver::Status::NotVerified)) {
            if (r.wcs) {
                listed = FieldObjects::listed(
                    *r.wcs, solver.program(QStringLiteral("plot-constellations")),
                    QDeadlineTimer(std::chrono::seconds(kListSeconds)), cancel);
                haveList = true;
            }
            cache.store(key, {solved, listed});
        }
    }
    if (!r.wcs)
        return r;
    if (!haveList)
        listed = FieldObjects::listed(*r.wcs, solver.program(QStringLiteral("plot-constellations")),
                                      QDeadlineTimer(std::chrono::seconds(kListSeconds)), cancel);
    r.objects = FieldObjects::inField(*r.wcs, SkyCatalogue::builtIn(), listed);
    r.target = FieldObjects::target(r.objects, *r.wcs);
    if (const SkyObject *typed = request.hints.target) {
        const auto pixel = r.wcs->skyToPixel(typed->position);
        const QSize size = r.wcs->imageSize();
        if (!pixel || pixel->x() < 0 || pixel->y() < 0 || pixel->x() >= size.width() ||
            pixel->y() >= size.height()) {
            r.targetOutsideField = true;
            r.targetMessage =
                tr("入力された対象「%1」は写野の外にあります。対象名はそのままにします。")
                    .arg(request.hints.targetName);
        }
    }
    return r;
}
