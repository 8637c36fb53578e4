#include "SolveJob.h"

#include <QPointer>
#include <QThread>

SolveJob::SolveJob(QObject *parent) : QObject(parent) {}

SolveJob::~SolveJob()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

bool SolveJob::start(const SolveRequest &request)
{
    if (m_thread)
        return false;
    m_cancel = false;
    m_thread = QThread::create([this, request] {
        const SolveResult result =
            FieldSolver::solve(request, &m_cancel, [this](const QString &text) {
                QMetaObject::invokeMethod(
                    this, [this, text] { emit progress(text); }, Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                if (m_thread) {
                    m_thread->wait();
                    delete m_thread;
                    m_thread = nullptr;
                }
                emit finished(result);
            },
            Qt::QueuedConnection);
    });
    m_thread->start();
    return true;
}

void SolveJob::cancel()
{
    m_cancel = true;
}
