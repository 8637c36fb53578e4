#include "AppSession.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QTest>

namespace {

// Every named control and command of a window: its place and size in pixels, its font, whether it
// shows, a label's buddy and the text of a label, a button or a command.
QStringList describe(QWidget *window)
{
    QStringList lines{window->objectName() + u' ' + QDebug::toString(window->size())};
    for (QObject *o : window->findChildren<QObject *>()) {
        const QString name = o->objectName();
        auto *w = qobject_cast<QWidget *>(o);
        auto *action = qobject_cast<QAction *>(o);
        if (name.isEmpty() || name.startsWith(u"qt_") || (!w && !action))
            continue;
        QString line = QStringLiteral("  %1 %2").arg(name, o->metaObject()->className());
        if (action) {
            line += QStringLiteral(" \"%1\" %2%3")
                        .arg(action->text(), action->shortcut().toString(),
                             action->isCheckable() ? " checkable" : "");
        } else {
            const QFont f = w->font();
            line += QStringLiteral(" %1,%2 %3x%4 %5 %6%7%8")
                        .arg(w->x())
                        .arg(w->y())
                        .arg(w->width())
                        .arg(w->height())
                        .arg(f.family())
                        .arg(f.pointSizeF())
                        .arg(f.bold() ? " bold" : "", w->isVisibleTo(window) ? "" : " hidden");
            if (auto *label = qobject_cast<QLabel *>(w))
                line += QStringLiteral(" \"%1\" %2")
                            .arg(label->text(),
                                 label->buddy() ? label->buddy()->objectName() : QString());
            if (auto *button = qobject_cast<QAbstractButton *>(w))
                line += QStringLiteral(" \"%1\"").arg(button->text());
        }
        lines << line;
    }
    return lines;
}

} // namespace

// The window and its dialogs as laid out: what widget-layout.txt holds must stay. After an
// intended change, MORVEL_UPDATE_LAYOUT=1 writes the file anew; read its diff before committing.
class tst_WidgetLayout : public QObject
{
    Q_OBJECT

private slots:
    void asBefore()
    {
        Session s;
        MainWindow &w = s.start();
        QStringList lines = describe(&w);
        for (const char *command : {"IDMI_SETUP", "IDMI_VERSION", "IDM_SKYOVERLAY"}) {
            onNextModal([&](QWidget *dialog) {
                lines += describe(dialog);
                static_cast<QDialog *>(dialog)->reject();
            });
            s.find<QAction>(command)->trigger();
        }
        const QString golden = QStringLiteral(LAYOUT_FILE);
        if (qEnvironmentVariableIsSet("MORVEL_UPDATE_LAYOUT"))
            QVERIFY(TestFiles::writeAll(golden, lines.join(u'\n').toUtf8() + '\n'));
        QCOMPARE(lines,
                 QString::fromUtf8(TestFiles::readAll(golden)).split(u'\n', Qt::SkipEmptyParts));
    }
};

QTEST_MAIN(tst_WidgetLayout)
#include "tst_WidgetLayout.moc"
