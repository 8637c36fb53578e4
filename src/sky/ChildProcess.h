#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// One run of an astrometry.net program: an argument list (no shell), a deadline and a cancel
// flag. The child starts a process group of its own, so that stopping it also stops the
// programs it started (solve-field runs astrometry-engine).
namespace ChildProcess {

enum class Outcome
{
    Finished,   // ended by itself; exitCode holds its code
    NotStarted, // the program is missing or cannot run
    TimedOut,
    Cancelled,
    Crashed,
};

struct Run
{
    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;
    QByteArray output;      // standard output
    QByteArray errorOutput; // standard error
    QString error;          // why it did not start
};

// Runs the program and waits, polling `cancel`; each line of standard output goes to
// `line` as it comes.
Run run(const QString &program, const QStringList &arguments, const QString &workingFolder,
        const QDeadlineTimer &deadline, const std::atomic_bool *cancel = nullptr,
        const std::function<void(const QByteArray &)> &line = {});

} // namespace ChildProcess
