// Renders the settings dialog, the version dialog, the margin diagram and the colour dialog to PNG
// files in the folder given as the first argument, for a person to look at. Run under a real
// window system (Xvfb is enough).
#include "store/clsNoltIO.h"
#include "support/FakePlatformServices.h"
#include "ui/BasCmndlg.h"
#include "ui/frmAbout.h"
#include "ui/frmSetup.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

void save(QWidget *widget, const QString &path)
{
    widget->show();
    widget->activateWindow();
    if (!QTest::qWaitForWindowExposed(widget))
        qWarning("%s: the dialog was not shown", qPrintable(path));
    QTest::qWait(100);
    widget->grab().save(path);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    QTemporaryDir dir;
    clsNoltIO settings(dir.path(), 15, 15);
    settings.OpenFile(dir.filePath(QStringLiteral("nolt.ini")));
    FakePlatformServices services;

    {
        frmSetup dialog(settings, services);
        save(&dialog, out.filePath(QStringLiteral("frmSetup.png")));
        auto *box = dialog.findChild<QLineEdit *>(QStringLiteral("txtMargin(1)"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("15a"));
        save(&dialog, out.filePath(QStringLiteral("frmSetup-typing.png")));
    }
    {
        frmAbout dialog(services);
        save(&dialog, out.filePath(QStringLiteral("frmAbout.png")));
    }
    const QImage diagram = frmSetup::marginDiagram();
    diagram.scaled(diagram.size() * 4).save(out.filePath(QStringLiteral("marginDiagram-x4.png")));
    {
        // The dialog of QtPlatformServices::chooseColor, answered by a timer once it is shown.
        QtPlatformServices real;
        QTimer::singleShot(300, [&out] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->grab().save(out.filePath(QStringLiteral("colorDialog.png")));
            dialog->reject();
        });
        real.chooseColor(nullptr, BasCmndlg::fromColorRef(0x804020), BasCmndlg::colorDialogTitle(),
                         BasCmndlg::standardCustomColors());
    }
    return 0;
}
