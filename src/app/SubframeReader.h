#pragma once

#include "compose/SubframeSummary.h"

#include <QObject>
#include <memory>

class QProgressDialog;
class QThread;
class QTimer;
class QWidget;

// Reads the sub-frames of a folder on a thread of its own, so that the window stays responsive.
// A progress dialog over the window shows when the reading takes longer than half a second; its
// Cancel button stops the reading after the file being read.
class SubframeReader : public QObject
{
    Q_OBJECT

public:
    explicit SubframeReader(QWidget *window);
    ~SubframeReader() override; // stops a reading and waits for its thread

    // Starts reading the folder (and its folders); false, doing nothing, while a reading runs.
    bool start(const QString &folder);
    bool isReading() const { return m_thread != nullptr; }
    QProgressDialog *progressDialog() const { return m_progress; }

    static constexpr int ShowAfterMs = 500;

signals:
    // Every file read, or the reading stopped (summary.isCancelled()).
    void finished(const SubframeSummary &summary);

private:
    struct State;

    void showProgress();
    void finish();

    QWidget *m_window;
    QThread *m_thread = nullptr;
    QProgressDialog *m_progress = nullptr;
    QTimer *m_timer;
    std::shared_ptr<State> m_state;
};
