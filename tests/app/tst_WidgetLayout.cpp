#include "AppSession.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

// Every named control and command of a window: its place and size in pixels, its font, whether it
// shows, a menu's entries, a label's buddy and the text of a label, a button or a command.
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
            line += u' ' + QDebug::toString(w->geometry()) + u' ' + f.family() + u' ' +
                    QString::number(f.pointSizeF()) + (f.bold() ? " bold" : "") +
                    (w->isVisibleTo(window) ? "" : " hidden");
            // A menu's entries in their order, a separator as "-".
            if (auto *menu = qobject_cast<QMenu *>(w))
                for (const QAction *a : menu->actions())
                    line += u' ' + (a->isSeparator() ? QStringLiteral("-") : a->objectName());
            if (auto *label = qobject_cast<QLabel *>(w)) {
                // A file's address by its name: where the checkout lies does not count.
                const QUrl url(label->text());
                line += QStringLiteral(" \"%1\" %2")
                            .arg(url.isLocalFile() ? url.fileName() : label->text(),
                                 label->buddy() ? label->buddy()->objectName() : QString());
            }
            if (auto *button = qobject_cast<QAbstractButton *>(w))
                line += QStringLiteral(" \"%1\"").arg(button->text());
        }
        lines << line;
    }
    return lines;
}

} // namespace

// The window and its dialogs as laid out: what widget-layout.txt holds must stay.
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
        QCOMPARE(lines, TestFiles::golden(QStringLiteral(LAYOUT_FILE), lines));
    }
};

QTEST_MAIN(tst_WidgetLayout)
#include "tst_WidgetLayout.moc"
