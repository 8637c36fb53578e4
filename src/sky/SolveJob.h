#pragma once

#include "FieldSolver.h"

#include <QObject>
#include <atomic>

class QThread;

// A solve in the background for the window: FieldSolver on a thread of its own, its progress
// and result delivered as signals on the job's thread. Cancelling stops astrometry.net's
// programs; a job destroyed while running cancels and waits for its thread.
class SolveJob : public QObject
{
    Q_OBJECT

public:
    explicit SolveJob(QObject *parent = nullptr);
    ~SolveJob() override;

    // Starts a solve; false while another one runs.
    bool start(const SolveRequest &request);
    void cancel();
    bool isRunning() const { return m_thread != nullptr; }

signals:
    void progress(const QString &text);
    // Always once per start, cancelled solves included.
    void finished(const SolveResult &result);

private:
    QThread *m_thread = nullptr;
    std::atomic_bool m_cancel = false;
};
