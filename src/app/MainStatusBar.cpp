#include "MainStatusBar.h"

#include "ui/PlatformServices.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace {

// The least widths of the date and time panels, in twips.
constexpr int DateWidth = 1300;
constexpr int TimeWidth = 900;

} // namespace

MainStatusBar::MainStatusBar(PlatformServices &services, QWidget *parent)
    : QStatusBar(parent), m_services(services)
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(true);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("StatusBarPanel1"));
    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("StatusBarPanel2"));
    m_date->setAlignment(Qt::AlignCenter);
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("StatusBarPanel3"));
    m_time->setAlignment(Qt::AlignCenter);
    // All three panels are permanent: a message (a file saved, a photo damaged) takes the room
    // at their left and hides none of them.
    addPermanentWidget(m_text);
    addPermanentWidget(m_date);
    addPermanentWidget(m_time);
    const Twips::PerPixel twips = Twips::screen();
    m_date->setMinimumWidth(Twips::toPixels(DateWidth, twips.x));
    m_time->setMinimumWidth(Twips::toPixels(TimeWidth, twips.x));
    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &MainStatusBar::updateClock);
    m_clock->start();
    updateClock();
}

void MainStatusBar::setPanelText(const QString &text)
{
    m_text->setText(text);
}

void MainStatusBar::stopClock()
{
    m_clock->stop();
}

void MainStatusBar::updateClock()
{
    const QDateTime now = m_services.now();
    const QLocale locale;
    m_date->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_time->setText(locale.toString(now.time(), QLocale::ShortFormat));
}
