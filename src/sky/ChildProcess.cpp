#include "ChildProcess.h"

#include <QProcess>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

constexpr int kPollMs = 50;
constexpr int kGraceMs = 1000;

void stop(QProcess &process)
{
#ifdef Q_OS_UNIX
    // The whole group: the child leads it (setsid), its own children belong to it.
    const auto group = pid_t(process.processId());
    if (group > 0) {
        ::kill(-group, SIGTERM);
        process.waitForFinished(kGraceMs);
        ::kill(-group, SIGKILL);
    }
#endif
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(kGraceMs);
    }
}

} // namespace

namespace ChildProcess {

Run run(const QString &program, const QStringList &arguments, const QString &workingFolder,
        const QDeadlineTimer &deadline, const std::atomic_bool *cancel,
        const std::function<void(const QByteArray &)> &line)
{
    Run result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    process.setChildProcessModifier([] { ::setsid(); });
#endif
    process.start();
    if (!process.waitForStarted()) {
        result.error = process.errorString();
        return result;
    }
    QByteArray pending;
    auto take = [&] {
        const QByteArray bytes = process.readAllStandardOutput();
        result.output += bytes;
        pending += bytes;
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            if (line)
                line(pending.left(end));
            pending.remove(0, end + 1);
        }
    };
    while (!process.waitForFinished(kPollMs)) {
        take();
        const bool cancelled = cancel && cancel->load();
        if (cancelled || deadline.hasExpired()) {
            stop(process);
            result.outcome = cancelled ? Outcome::Cancelled : Outcome::TimedOut;
            result.errorOutput = process.readAllStandardError();
            return result;
        }
        if (process.state() == QProcess::NotRunning)
            break;
    }
    take();
    result.errorOutput = process.readAllStandardError();
    result.exitCode = process.exitCode();
    result.outcome =
        process.exitStatus() == QProcess::NormalExit ? Outcome::Finished : Outcome::Crashed;
    return result;
}

} // namespace ChildProcess
