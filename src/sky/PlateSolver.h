#pragma once

#include "SolveHints.h"
#include "Wcs.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <optional>

// Finds where a picture lies on the sky with astrometry.net's programs: image2xy finds the stars
// of a grey, shrunk copy of the picture, solve-field matches them against the Tycho-2 index
// files that suit the field's scale. Each solve works in a temporary folder of its own, within
// a time limit, and can be cancelled; the programs run as child processes, never linked.
class PlateSolver
{
    Q_DECLARE_TR_FUNCTIONS(PlateSolver)

public:
    struct Options
    {
        QString programFolder; // where solve-field and image2xy are; empty: the PATH
        QString indexFolder = QStringLiteral("/usr/share/astrometry");
        int timeLimit = 60;       // seconds for the whole solve
        int maxSide = 1024;       // the solved copy's longest side, in pixels
        int maxStars = 100;       // the brightest stars handed to solve-field
        double minLogOdds = 20.7; // astrometry.net's own: odds of 1e9 to 1
    };

    enum class Status
    {
        Solved,
        NotSolved,     // the programs ran and found no match
        NotVerified,   // a match too weak to trust
        FieldTooSmall, // smaller than the installed index files serve
        FieldTooLarge,
        Missing, // astrometry.net or its index files are not installed
        TimedOut,
        Cancelled,
        Failed, // a program failed, or the picture is empty
    };

    struct Result
    {
        Status status = Status::Failed;
        std::optional<Wcs> wcs; // in the pixels of the picture given
        double logOdds = 0;
        int matches = 0; // stars of the index matched
        QString message; // why it is not solved, in the user's language
    };

    // An index file's range of quad sizes, arcseconds.
    struct IndexFile
    {
        QString path;
        double smallest = 0;
        double largest = 0;
    };

    PlateSolver() = default;
    explicit PlateSolver(const Options &options) : m_options(options) {}
    const Options &options() const { return m_options; }

    // Solves the picture, blocking until done, the time limit or `cancel`; `progress` gets short
    // texts for a status bar.
    Result solve(const QImage &picture, const SolveHints &hints,
                 const std::atomic_bool *cancel = nullptr,
                 const std::function<void(const QString &)> &progress = {}) const;

    // The index files installed, with their scales; empty when none.
    QList<IndexFile> indexFiles() const;
    QString program(const QString &name) const;

    // The message for a missing astrometry.net: the Debian packages to install.
    static QString missingMessage();
    static QString statusMessage(Status status);

private:
    Options m_options;
};
