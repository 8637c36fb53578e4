#include "AppSession.h"
#include "app/EditingPanel.h"
#include "app/PreviewCanvas.h"
#include "io/PhotoOptions.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

// A control's state as its properties say, and the picture it shows as the first bytes of a digest.
QString stateText(QWidget *w)
{
    auto *label = qobject_cast<QLabel *>(w); // a label by its text and buddy, in describe()
    QString s;
    for (const char *name :
         {"enabled", "toolTip", "checked", "iconSize", "currentText", "text", "maxLength",
          "minimum", "maximum", "value", "title", "alignmentCode", "color"}) {
        const QVariant v = label ? QVariant() : w->property(name);
        const QString text = v.typeId() == QMetaType::QSize ? QDebug::toString(v) : v.toString();
        if (!text.isEmpty())
            s += QStringLiteral(" %1=%2").arg(QLatin1String(name), text);
    }
    QImage shown = label ? label->pixmap().toImage() : QImage();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        shown = button->icon().pixmap(button->iconSize()).toImage();
    if (qobject_cast<AlignButton *>(w) || qobject_cast<ColorSwatch *>(w) ||
        qobject_cast<PreviewCanvas *>(w)) // what the program's own controls paint
        shown = w->grab().toImage();
    shown.convertTo(QImage::Format_ARGB32);
    return shown.isNull() ? s
                          : s + u' ' + TestFiles::digest({shown.constBits(), shown.sizeInBytes()});
}

// Every named control and command of a window: its place and size in pixels, its font, whether it
// shows, its state, a menu's entries, a label's buddy and text, and the order Tab goes through
// them.
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
            line += QStringLiteral(" \"%1\" %2%3%4%5")
                        .arg(action->text(), action->shortcut().toString(),
                             action->isCheckable() ? " checkable" : "",
                             action->isChecked() ? " checked" : "",
                             action->isEnabled() ? "" : " disabled");
        } else {
            const QFont f = w->font();
            line += u' ' + QDebug::toString(w->geometry()) + u' ' + f.family() + u' ' +
                    QString::number(f.pointSizeF()) + (f.bold() ? " bold" : "") +
                    (w->isVisibleTo(window) ? "" : " hidden") + stateText(w);
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
        }
        lines << line;
    }
    QString tabs = QStringLiteral("  Tab:");
    for (QWidget *f = window->nextInFocusChain(); f != window; f = f->nextInFocusChain())
        if ((f->focusPolicy() & Qt::TabFocus) && !f->objectName().isEmpty())
            tabs += u' ' + f->objectName();
    return lines << tabs;
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
        // Each control of the panel changed in turn, and how many edits the window was told of.
        auto *panel = s.find<EditingPanel>("Picture1");
        int edits = 0;
        connect(panel, &EditingPanel::edited, [&] { ++edits; });
        for (QWidget *c : panel->findChildren<QWidget *>()) {
            edits = 0;
            if (c->objectName().isEmpty())
                continue; // the photo size box's own line
            else if (auto *edit = qobject_cast<QLineEdit *>(c))
                edit->setText(edit->text().toInt() ? QString::number(edit->text().toInt() + 1)
                                                   : edit->text() + u'7');
            else if (auto *list = qobject_cast<QComboBox *>(c)) // a font every machine has
                list->setCurrentIndex(std::max(list->findText(QStringLiteral("IPAMincho")),
                                               list->currentIndex() == 1 ? 2 : 1));
            else if (auto *button = qobject_cast<QToolButton *>(c))
                button->click();
            else if (auto *swatch = qobject_cast<ColorSwatch *>(c))
                swatch->setColor(0x123456);
            else
                continue;
            lines << QStringLiteral("  edited %1 %2").arg(c->objectName()).arg(edits) +
                         stateText(c);
        }
        // The frame as the edited panel draws it; then with a photo of the night sky, stretched
        // linearly, its data filled in.
        s.find<QPushButton>("cmdPreview")->click();
        lines += describe(&w);
        w.settings().setPhotoStretch(int(PhotoOptions::Stretch::Linear));
        s.services.openAnswers.enqueue(QStringLiteral(PICTURES_DIR "/sky-rggb.fits"));
        s.find<QAction>("IDM_LOADPHOTO")->trigger();
        s.find<QAction>("IDM_FILLFROMPHOTO")->trigger();
        lines += describe(&w);
        for (QString &line : lines) // a tooltip of several lines on one
            line.replace(u'\n', u'|');
        QCOMPARE(lines, TestFiles::golden(QStringLiteral(LAYOUT_FILE), lines));
    }
};

QTEST_MAIN(tst_WidgetLayout)
#include "tst_WidgetLayout.moc"
