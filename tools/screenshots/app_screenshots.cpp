// Not a test: the main window as a person sees it, under a real window system (Xvfb is enough).
//
//   app_screenshots window FOLDER PHOTO
//       starts the main window with FOLDER as the program's folder, drops PHOTO on the preview
//       canvas as a file manager would, and stays up until it is ended (tools/screenshot.sh).
//   app_screenshots dialogs FOLDER PHOTO OUTDIR
//       the same, then opens every dialog through the window's own commands and takes a picture
//       of the screen with each one up (`import -window root`), cut to the dialog, into OUTDIR.
//   app_screenshots choices FOLDER PHOTO OUTDIR
//       the same start, then the choices beyond the 1:1 window: the view fitted to the window
//       (FOLDER's "nolt.ini" turns it on) with its menu entry, the save dialog's file types, and
//       full-width digits committed by an input method into the year box.
//   app_screenshots sky FOLDER OUTDIR
//       the same start with a FITS photo of the Lagoon Nebula's field drawn from the index's
//       stars (RA, DEC and the scale in its header as hints): the fill solves it, the caption
//       names the field and the template's overlay marks it (FOLDER's "nolt.ini" turns solving
//       on, its "default.kvl" the overlay); then the overlay's dialog.
// The language is the one of FOLDER's "nolt.ini", as at a start of the program; the translation
// is the build's (this program runs from the build folder's "tools").
#include "app/AppStartup.h"
#include "app/ColorSwatch.h"
#include "app/MainWindow.h"
#include "app/PreviewCanvas.h"
#include "app/PreviewWindow.h"
#include "support/FitsWriter.h"
#include "support/StarField.h"
#include "ui/PlatformServices.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <functional>

namespace {

void dropFile(QWidget *canvas, const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = canvas->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &enter);
    if (!enter.isAccepted())
        return;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &drop);
}

// The screen, or the part of it that `area` covers.
void screenshot(const QString &path, const QRect &area = {})
{
    QTest::qWait(400);
    QStringList args{QStringLiteral("-window"), QStringLiteral("root")};
    if (area.isValid())
        args << QStringLiteral("-crop")
             << QStringLiteral("%1x%2+%3+%4")
                    .arg(area.width())
                    .arg(area.height())
                    .arg(area.x())
                    .arg(area.y())
             << QStringLiteral("+repage");
    QProcess::execute(QStringLiteral("import"), args << path);
    std::printf("%s\n", qPrintable(path));
}

// Takes the next modal dialog as it stands on the screen, then closes it.
void whenModal(const QString &path, std::function<void(QWidget *)> close)
{
    auto *timer = new QTimer;
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, [timer, path, close] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        screenshot(path, dialog->frameGeometry());
        close(dialog);
    });
    timer->start();
}

void reject(QWidget *dialog)
{
    if (auto *d = qobject_cast<QDialog *>(dialog))
        d->reject();
}

// The choices beyond the 1:1 window, each as it stands on the screen.
void choices(MainWindow &window, const QDir &out)
{
    auto shot = [&out](const char *name) { return out.filePath(QString::fromLatin1(name)); };
    screenshot(shot("fit-view.png"), window.frameGeometry());

    QMenu *photo = window.findChild<QMenu *>(QStringLiteral("IDM_PHOTO"));
    QMenuBar *bar = window.menuBar();
    QTimer::singleShot(300, [&] {
        screenshot(shot("fit-menu.png"), window.frameGeometry().united(photo->geometry()));
        photo->close();
    });
    photo->exec(bar->mapToGlobal(bar->actionGeometry(photo->menuAction()).bottomLeft()));

    // The save dialog with its list of file types open.
    auto *timer = new QTimer;
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, [timer, shot] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QTest::qWait(300);
        types->showPopup();
        QWidget *popup = types->view()->window();
        screenshot(shot("save-formats.png"), dialog->frameGeometry().united(popup->geometry()));
        types->hidePopup();
        dialog->reject();
    });
    timer->start();
    window.findChild<QAction *>(QStringLiteral("IDM_SAVEPHOTO"))->trigger();

    // What a Japanese input method commits into the year box: full-width digits.
    auto *year = window.findChild<QLineEdit *>(QStringLiteral("txtYear"));
    year->setFocus();
    year->selectAll();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("２０２５"));
    QCoreApplication::sendEvent(year, &commit);
    const QRect row(year->parentWidget()->mapToGlobal(QPoint(0, year->y() - 40)),
                    QSize(year->parentWidget()->width(), year->height() + 80));
    screenshot(shot("fullwidth-digits.png"), row);
}

// A FITS photo of the sky around the Lagoon Nebula, rows bottom up as FITS keeps them, with the
// pointing and the camera's pixel and focal length that a capture program writes.
QString skyPhoto(const QString &folder)
{
    const QSize size(480, 360);
    const double scale = 2.4 * 3600 / size.width();
    const QImage sky = StarField::render(Wcs::fromView({271.0, -24.25}, scale, 18, false, size), 7);
    std::vector<double> values;
    for (int y = size.height() - 1; y >= 0; --y)
        for (int x = 0; x < size.width(); ++x)
            values.push_back(qGray(sky.pixel(x, y)));
    const double pixel = 3.76;
    const QString path = QDir(folder).filePath(QStringLiteral("lagoon.fits"));
    FitsWriter::write(path, {BYTE_IMG,
                             {size.width(), size.height()},
                             values,
                             {QStringLiteral("RA=271.1"), QStringLiteral("DEC=-24.1"),
                              QStringLiteral("XPIXSZ=%1").arg(pixel),
                              QStringLiteral("FOCALLEN=%1").arg(206.265 * pixel / scale),
                              QStringLiteral("EXPTIME=300"), QStringLiteral("STACKCNT=12")},
                             false,
                             false});
    return path;
}

// The solved caption with the overlay, and the overlay's dialog.
void sky(MainWindow &window, const QDir &out)
{
    window.findChild<QLineEdit *>(QStringLiteral("txtTargetName"))->clear();
    window.findChild<QAction *>(QStringLiteral("IDM_FILLFROMPHOTO"))->trigger();
    for (int i = 0; i < 600 && window.isSolving(); ++i)
        QTest::qWait(100);
    screenshot(out.filePath(QStringLiteral("sky.png")), window.frameGeometry());
    whenModal(out.filePath(QStringLiteral("sky-overlay.png")), reject);
    window.findChild<QAction *>(QStringLiteral("IDM_SKYOVERLAY"))->trigger();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool dialogs = args.size() == 5 && args[1] == QLatin1String("dialogs");
    const bool views = args.size() == 5 && args[1] == QLatin1String("choices");
    const bool skyViews = args.size() == 4 && args[1] == QLatin1String("sky");
    if (!dialogs && !views && !skyViews &&
        !(args.size() == 4 && args[1] == QLatin1String("window"))) {
        std::fprintf(stderr, "usage: app_screenshots window FOLDER PHOTO\n"
                             "       app_screenshots dialogs FOLDER PHOTO OUTDIR\n"
                             "       app_screenshots choices FOLDER PHOTO OUTDIR\n"
                             "       app_screenshots sky FOLDER OUTDIR\n");
        return 2;
    }
    // As the program starts itself.
    AppStartup::prepare(args[2]);

    QtPlatformServices services;
    MainWindow window(&services, args[2]);
    window.start();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "app_screenshots: the window was not shown\n");
    QTest::qWait(300);
    if (skyViews) {
        dropFile(window.previewWindow()->canvas(), skyPhoto(args[2]));
        const QDir out(args[3]);
        out.mkpath(QStringLiteral("."));
        sky(window, out);
        return 0;
    }
    dropFile(window.previewWindow()->canvas(), args[3]);
    if (!dialogs && !views)
        return QApplication::exec();

    const QDir out(args[4]);
    out.mkpath(QStringLiteral("."));
    if (views) {
        choices(window, out);
        return 0;
    }
    auto shot = [&out](const char *name) { return out.filePath(QString::fromLatin1(name)); };
    screenshot(shot("main-with-photo.png"), window.frameGeometry());

    whenModal(shot("settings.png"), reject);
    window.findChild<QAction *>(QStringLiteral("IDMI_SETUP"))->trigger();
    whenModal(shot("about.png"), reject);
    window.findChild<QAction *>(QStringLiteral("IDMI_VERSION"))->trigger();
    whenModal(shot("colour.png"), reject);
    window.findChild<ColorSwatch *>(QStringLiteral("picFontColor(0)"))->clicked();
    whenModal(shot("open-photo.png"), reject);
    window.findChild<QAction *>(QStringLiteral("IDM_LOADPHOTO"))->trigger();
    whenModal(shot("save-picture.png"), reject);
    window.findChild<QAction *>(QStringLiteral("IDM_SAVEPHOTO"))->trigger();

    // A photo too large, and a file that is not a picture, dropped on the canvas.
    const QString large = out.filePath(QStringLiteral("too-large.bmp"));
    QImage(1700, 100, QImage::Format_RGB32).save(large, "BMP");
    whenModal(shot("size-message.png"), reject);
    dropFile(window.previewWindow()->canvas(), large);
    const QString broken = out.filePath(QStringLiteral("broken.jpg"));
    {
        QFile f(broken);
        if (f.open(QIODevice::WriteOnly))
            f.write("not a picture");
    }
    whenModal(shot("unreadable-message.png"), reject);
    dropFile(window.previewWindow()->canvas(), broken);
    QFile::remove(large);
    QFile::remove(broken);

    // Each menu of the menu bar, open.
    QMenuBar *bar = window.menuBar();
    for (QAction *entry : bar->actions()) {
        QMenu *menu = entry->menu();
        const QString name =
            entry->objectName().isEmpty() ? menu->objectName() : entry->objectName();
        QTimer::singleShot(300, [&, menu, name] {
            screenshot(out.filePath(QStringLiteral("menu-%1.png").arg(name.toLower())),
                       window.frameGeometry().united(menu->geometry()));
            menu->close();
        });
        menu->exec(bar->mapToGlobal(bar->actionGeometry(entry).bottomLeft()));
    }

    // Back to the photo, then the alignment menu of the last footer item.
    dropFile(window.previewWindow()->canvas(), args[3]);
    auto *align = window.findChild<QToolButton *>(QStringLiteral("tlbFontAlign(4)"));
    QTimer::singleShot(300, [&] {
        screenshot(shot("align-menu.png"),
                   window.frameGeometry().united(align->menu()->geometry()));
        align->menu()->close();
    });
    align->showMenu();

    whenModal(shot("closing-question.png"), [](QWidget *dialog) {
        if (auto *d = qobject_cast<QDialog *>(dialog))
            d->done(QMessageBox::No);
    });
    window.close();
    return 0;
}
