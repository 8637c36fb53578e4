#include "SubframeReader.h"

#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>

namespace {

constexpr int kUpdateMs = 100;

} // namespace

// What the reading thread and the window share.
struct SubframeReader::State
{
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::atomic<bool> cancel{false};
    SubframeSummary summary; // written by the thread, read after it ended
};

SubframeReader::SubframeReader(QWidget *window)
    : QObject(window), m_window(window), m_timer(new QTimer(this))
{
    m_timer->setInterval(kUpdateMs);
    connect(m_timer, &QTimer::timeout, this, &SubframeReader::showProgress);
}

SubframeReader::~SubframeReader()
{
    if (m_thread) {
        m_state->cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

bool SubframeReader::start(const QString &folder)
{
    if (m_thread)
        return false;
    m_state = std::make_shared<State>();
    m_thread = QThread::create([state = m_state, folder] {
        state->summary = SubframeSummary::read({folder}, QTimeZone(), [state](int done, int total) {
            state->done = done;
            state->total = total;
            return !state->cancel;
        });
    });
    connect(m_thread, &QThread::finished, this, &SubframeReader::finish);
    m_progress = new QProgressDialog(tr("サブフレームのヘッダを読んでいます..."), tr("中止"), 0, 0,
                                     m_window);
    m_progress->setObjectName(QStringLiteral("SubframeProgress"));
    m_progress->setWindowTitle(tr("サブフレーム"));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(ShowAfterMs);
    m_progress->setValue(0); // from now on
    connect(m_progress, &QProgressDialog::canceled, this,
            [state = m_state] { state->cancel = true; });
    m_thread->start();
    m_timer->start();
    return true;
}

void SubframeReader::showProgress()
{
    if (!m_state || !m_progress || m_state->total == 0)
        return;
    // A shown dialog handles events in setValue, where the reading may come to its end.
    QProgressDialog *progress = m_progress;
    progress->setMaximum(m_state->total);
    progress->setValue(m_state->done);
}

void SubframeReader::finish()
{
    m_timer->stop();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_progress->hide();
    m_progress->deleteLater();
    m_progress = nullptr;
    const SubframeSummary summary = std::move(m_state->summary);
    m_state.reset();
    emit finished(summary);
}
