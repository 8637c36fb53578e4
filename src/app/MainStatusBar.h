#pragma once

#include <QStatusBar>

class PlatformServices;
class QLabel;
class QTimer;

// `StatusBar` of the main window: panel 1 a plain text (the screen's colour depth from start-up),
// panels 2 and 3 the current date and time in the system's short formats, kept up to date by the
// bar itself from the clock of the platform services. Messages show at the left of the panels.
class MainStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    MainStatusBar(PlatformServices &services, QWidget *parent = nullptr);

    // The text of panel 1.
    void setPanelText(const QString &text);
    // The date and time stand still from here on (the window is going).
    void stopClock();

private:
    void updateClock();

    PlatformServices &m_services;
    QLabel *m_text;
    QLabel *m_date;
    QLabel *m_time;
    QTimer *m_clock;
};
