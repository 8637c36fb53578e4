// Renders the settings dialog, the version dialog, the margin diagram and the colour dialog to PNG
// files in the folder given as the first argument, for a person to look at; "en" as the second
// argument takes them in English. Run under a real window system (Xvfb is enough).
#include "common/ColorRef.h"
#include "store/AppSettings.h"
#include "store/Translations.h"
#include "support/FakePlatformServices.h"
#include "ui/AboutDialog.h"
#include "ui/ColorChooser.h"
#include "ui/SettingsDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    const bool english = argc > 2 && QLatin1String(argv[2]) == QLatin1String("en");
    Translations::install(english ? AppSettings::Language::English
                                  : AppSettings::Language::Japanese,
                          Translations::folders(QApplication::applicationDirPath()));

    QTemporaryDir dir;
    AppSettings settings(dir.path(), 15, 15);
    settings.load(dir.filePath(QStringLiteral("nolt.ini")));
    FakePlatformServices services;

    {
        SettingsDialog dialog(settings);
        save(&dialog, out.filePath(QStringLiteral("SettingsDialog.png")));
        auto *box = dialog.findChild<QLineEdit *>(QStringLiteral("txtMargin(1)"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("15a"));
        save(&dialog, out.filePath(QStringLiteral("SettingsDialog-typing.png")));
    }
    {
        AboutDialog dialog(services);
        save(&dialog, out.filePath(QStringLiteral("AboutDialog.png")));
    }
    const QImage diagram = SettingsDialog::marginDiagram();
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
        real.chooseColor(nullptr, ColorRef::toColor(0x804020), ColorChooser::colorDialogTitle(),
                         ColorChooser::standardCustomColors());
    }
    return 0;
}
