#pragma once

#include "FieldObjects.h"
#include "PlateSolver.h"
#include "SolveHints.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <optional>

// What to solve: the photo (its file, and the decoded picture when the caller has it), the hints
// and the solver's settings.
struct SolveRequest
{
    QString photoPath; // read for the cache key; decoded when `image` is null
    QImage image;      // the photo as the caller decoded it; results are in its pixels
    SolveHints hints;
    PlateSolver::Options solver;
    QString cacheFolder; // empty: the user's cache folder
    bool useCache = true;
};

// What a solve found.
struct SolveResult
{
    enum class Source
    {
        None,
        Header, // the photo's own FITS header
        Solver,
        Cache,
    };

    PlateSolver::Status status = PlateSolver::Status::Failed;
    Source source = Source::None;
    std::optional<Wcs> wcs; // set only when identified
    double logOdds = 0;
    int matches = 0;
    QList<FieldObject> objects; // in the field, largest first
    std::optional<FieldObject> target;
    // The typed target is in the catalogue but outside the field: the caller tells the user and
    // keeps the typed name.
    bool targetOutsideField = false;
    QString message;       // why the field is not identified, in the user's language
    QString targetMessage; // set with targetOutsideField

    bool isIdentified() const { return wcs.has_value(); }
};

// The solve of one photo: the WCS of its header when it has one, else the cache, else
// astrometry.net; then the objects of the field and its target. Runs synchronously (the
// command line) or inside SolveJob (the window).
class FieldSolver
{
    Q_DECLARE_TR_FUNCTIONS(FieldSolver)

public:
    static SolveResult solve(const SolveRequest &request, const std::atomic_bool *cancel = nullptr,
                             const std::function<void(const QString &)> &progress = {});
};
