#pragma once

#include "app/AlignButton.h"
#include "app/ColorSwatch.h"
#include "app/MainWindow.h"
#include "store/AppSettings.h"
#include "support/FakePlatformServices.h"
#include "support/LocalZone.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <memory>

// A program folder in a temporary directory, and the window started in it.
struct Session
{
    QTemporaryDir dir;
    FakePlatformServices services;
    std::unique_ptr<MainWindow> window;

    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }

    MainWindow &start()
    {
        window = std::make_unique<MainWindow>(&services, dir.path());
        window->start();
        return *window;
    }

    template <class T> T *find(const QString &name) const { return window->findChild<T *>(name); }
    QLineEdit *edit(const QString &name) const { return find<QLineEdit>(name); }
    QComboBox *combo(const QString &name) const { return find<QComboBox>(name); }
    ColorSwatch *swatch(const QString &name) const { return find<ColorSwatch>(name); }
    AlignButton *align(int i) const
    {
        return find<AlignButton>(QStringLiteral("tlbFontAlign(%1)").arg(i));
    }
};

// Twips to whole pixels, as the window places its controls.
inline int px(double twips, double tpp)
{
    return int(std::lround(twips / tpp));
}

// Runs `act` on the next modal dialog as soon as it is up; `act` must close it.
inline void onNextModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}
