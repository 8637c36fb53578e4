#include "support/FakePlatformServices.h"
#include "ui/BasHook.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Types `text` key by key; characters beyond ASCII come as keys of their own, as from a keyboard
// layout that has them.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void commit(QWidget *widget, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

// A window with two digit boxes, one unguarded box and the photo-size box.
struct Window
{
    FakePlatformServices services;
    QWidget widget;
    QLineEdit *txtYear = new QLineEdit(&widget);
    QLineEdit *txtFontSize = new QLineEdit(&widget);
    QLineEdit *txtTargetName = new QLineEdit(&widget);
    QComboBox *cboPhotoSize = new QComboBox(&widget);
    BasHook hook{services};

    Window()
    {
        auto *layout = new QVBoxLayout(&widget);
        for (QWidget *w :
             std::initializer_list<QWidget *>{txtYear, txtFontSize, txtTargetName, cboPhotoSize})
            layout->addWidget(w);
        cboPhotoSize->setEditable(true);
        cboPhotoSize->setCompleter(nullptr);
        hook.guard(txtYear);
        hook.guard(txtFontSize);
        hook.guardPhotoSize(cboPhotoSize);
        widget.show();
        widget.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&widget));
    }

    void focus(QWidget *w)
    {
        w->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(w->hasFocus());
    }
};

} // namespace

class tst_BasHook : public QObject
{
    Q_OBJECT

private slots:
    void isAllowedChar_data();
    void isAllowedChar();
    void typedCharacters();
    void editingKeysStillWork();
    void keyboardPaste_data();
    void keyboardPaste();
    void middleButtonPaste();
    void contextMenuPaste_data();
    void contextMenuPaste();
    void inputMethodCommit_data();
    void inputMethodCommit();
    void onlyFocusedBoxFiltered();
    void droppedTextJudged();
    void hookFailureMessage();
    void photoSizeKey_data();
    void photoSizeKey();
    void photoSizeTypedCommittedAndPasted();
};

void tst_BasHook::isAllowedChar_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("allowed");
    const quint32 digits = BasHook::AllowDigits;
    QTest::newRow("year digits") << digits << QString() << u"2002"_s << true;
    QTest::newRow("empty text is allowed") << digits << QString() << QString() << true;
    QTest::newRow("kanji after digits") << digits << QString() << u"2002年"_s << false;
    QTest::newRow("blank inside") << digits << QString() << u"20 02"_s << false;
    QTest::newRow("full-width digit") << digits << QString() << u"２"_s << false;
    QTest::newRow("no flags refuse the empty text") << 0u << QString() << QString() << false;
    QTest::newRow("unknown bit adds nothing") << 0x400u << QString() << u"1"_s << false;
    QTest::newRow("time with colon and blank")
        << quint32(BasHook::AllowDigits | BasHook::AllowColon | BasHook::AllowBlank) << QString()
        << u"12:30 "_s << true;
    QTest::newRow("custom set used with its bit")
        << quint32(BasHook::AllowDigits | BasHook::AllowCustom) << u"年月日"_s << u"2002年"_s
        << true;
    QTest::newRow("custom set ignored without its bit")
        << digits << u"年月日"_s << u"2002年"_s << false;
}

void tst_BasHook::isAllowedChar()
{
    QFETCH(quint32, flags);
    QFETCH(QString, custom);
    QFETCH(QString, text);
    QFETCH(bool, allowed);
    FakePlatformServices services;
    BasHook hook(services);
    QLineEdit box;
    hook.HookControl(&box, flags, custom);
    QCOMPARE(hook.IsAllowedChar(text), allowed);
}

void tst_BasHook::typedCharacters()
{
    Window w;
    w.focus(w.txtYear);
    QCOMPARE(w.hook.HookedControl(), w.txtYear);
    // What a Japanese input method types as keys: full-width digits arrive as ASCII.
    typeText(w.txtYear, u"2a0 0-2 1２ｱｘ"_s);
    QCOMPARE(w.txtYear->text(), u"200212"_s);
    // On Windows AltGr arrives as Ctrl+Alt, and the box takes the character it types.
    const auto altGr = Qt::ControlModifier | Qt::AltModifier;
    QTest::sendKeyEvent(QTest::Click, w.txtYear, Qt::Key_Q, u"@"_s, altGr);
    QTest::sendKeyEvent(QTest::Click, w.txtYear, Qt::Key_7, u"7"_s, altGr);
    QCOMPARE(w.txtYear->text(), u"2002127"_s);
}

void tst_BasHook::editingKeysStillWork()
{
    Window w;
    w.focus(w.txtYear);
    typeText(w.txtYear, u"2003"_s);
    QTest::keyClick(w.txtYear, Qt::Key_Backspace);
    QTest::keyClick(w.txtYear, Qt::Key_Home);
    QTest::keyClick(w.txtYear, Qt::Key_Delete);
    QCOMPARE(w.txtYear->text(), u"00"_s);
    // Escape and Return are not inserted; the box reports Return as usual.
    QSignalSpy returned(w.txtYear, &QLineEdit::returnPressed);
    QTest::keyClick(w.txtYear, Qt::Key_Escape);
    QTest::keyClick(w.txtYear, Qt::Key_Return);
    QCOMPARE(w.txtYear->text(), u"00"_s);
    QCOMPARE(returned.count(), 1);
    // Copy and cut keep working.
    w.txtYear->selectAll();
    QTest::keyClick(w.txtYear, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"00"_s);
    QCOMPARE(w.txtYear->text(), QString());
}

void tst_BasHook::keyboardPaste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("shiftInsert");
    QTest::addColumn<QString>("result");
    QTest::newRow("Ctrl+V digits") << u"2002"_s << false << u"12002"_s;
    QTest::newRow("Ctrl+V digits and kanji") << u"2002年"_s << false << u"1"_s;
    QTest::newRow("Ctrl+V full-width digits as ASCII") << u"２００2"_s << false << u"12002"_s;
    QTest::newRow("Ctrl+V leading blank") << u" 2002"_s << false << u"1"_s;
    QTest::newRow("Ctrl+V a picture") << QString() << false << u"1"_s;
    QTest::newRow("Shift+Insert digits") << u"77"_s << true << u"177"_s;
    QTest::newRow("Shift+Insert letters") << u"ab"_s << true << u"1"_s;
}

void tst_BasHook::keyboardPaste()
{
    QFETCH(QString, clipboard);
    QFETCH(bool, shiftInsert);
    QFETCH(QString, result);
    Window w;
    w.focus(w.txtFontSize);
    typeText(w.txtFontSize, u"1"_s);
    if (clipboard.isEmpty()) {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(picture);
    } else {
        QGuiApplication::clipboard()->setText(clipboard);
    }
    if (shiftInsert)
        QTest::keyClick(w.txtFontSize, Qt::Key_Insert, Qt::ShiftModifier);
    else
        QTest::keyClick(w.txtFontSize, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.txtFontSize->text(), result);
}

void tst_BasHook::middleButtonPaste()
{
    if (!QGuiApplication::clipboard()->supportsSelection())
        QSKIP("this window system has no selection to paste");
    Window w;
    w.focus(w.txtYear);
    QGuiApplication::clipboard()->setText(u"2a"_s, QClipboard::Selection);
    QTest::mouseClick(w.txtYear, Qt::MiddleButton);
    QCOMPARE(w.txtYear->text(), QString());
}

void tst_BasHook::contextMenuPaste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("result");
    QTest::newRow("digits pasted") << u"31"_s << u"31"_s;
    QTest::newRow("letters refused") << u"3a"_s << QString();
    QTest::newRow("full-width digits as ASCII") << u"３1"_s << u"31"_s;
}

void tst_BasHook::contextMenuPaste()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, result);
    Window w;
    w.focus(w.txtYear);
    QGuiApplication::clipboard()->setText(clipboard);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              w.txtYear->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w.txtYear, &request);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction *paste = nullptr;
    for (QAction *action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            paste = action;
    QVERIFY(paste);
    menu->close();
    paste->trigger();
    QCOMPARE(w.txtYear->text(), result);
    QCOMPARE(w.hook.HookedControl(), w.txtYear); // the menu held the focus only while open
}

void tst_BasHook::inputMethodCommit_data()
{
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("result");
    QTest::newRow("half-width digits") << u"12"_s << u"12"_s;
    QTest::newRow("full-width digits as ASCII") << u"２０"_s << u"20"_s;
    QTest::newRow("each character judged alone") << u"1２3年ｘ"_s << u"123"_s;
}

void tst_BasHook::inputMethodCommit()
{
    QFETCH(QString, commit);
    QFETCH(QString, result);
    Window w;
    w.focus(w.txtFontSize);
    QInputMethodEvent preedit(u"２"_s, {});
    QApplication::sendEvent(w.txtFontSize, &preedit);
    ::commit(w.txtFontSize, commit);
    QCOMPARE(w.txtFontSize->text(), result);
}

void tst_BasHook::onlyFocusedBoxFiltered()
{
    Window w;
    w.focus(w.txtTargetName);
    QCOMPARE(w.hook.HookedControl(), nullptr);
    typeText(w.txtTargetName, u"M42"_s);
    QCOMPARE(w.txtTargetName->text(), u"M42"_s);
    // Focus moving straight from one guarded box to the next moves the filter with it.
    w.focus(w.txtYear);
    w.focus(w.txtFontSize);
    QCOMPARE(w.hook.HookedControl(), w.txtFontSize);
    // Keys that reach a guarded box without the focus are not its user's typing: not judged.
    typeText(w.txtYear, u"x1"_s);
    QCOMPARE(w.txtYear->text(), u"x1"_s);
    typeText(w.txtFontSize, u"x1"_s);
    QCOMPARE(w.txtFontSize->text(), u"1"_s);
    w.focus(w.txtTargetName);
    QCOMPARE(w.hook.HookedControl(), nullptr);
}

void tst_BasHook::droppedTextJudged()
{
    Window w;
    for (const auto &[text, result] :
         {std::pair{u"12"_s, u"12"_s}, std::pair{u"1a"_s, QString()}}) {
        w.txtYear->clear();
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.txtYear, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.txtYear, &drop);
        QCOMPARE(w.txtYear->text(), result);
    }
}

void tst_BasHook::hookFailureMessage()
{
    FakePlatformServices services;
    BasHook hook(services);
    QPushButton button;
    hook.HookControl(&button, BasHook::AllowDigits, QString());
    hook.HookControl(nullptr, BasHook::AllowDigits, QString());
    QCOMPARE(services.messageCalls.size(), 2);
    QCOMPARE(services.messageCalls[0].text, u"Error : HookControl Function"_s);
    QCOMPARE(services.messageCalls[0].icon, QMessageBox::Critical);
    QCOMPARE(hook.HookedControl(), nullptr);
    // Removing a hook has nothing that can fail.
    hook.UnHookControl();
    QCOMPARE(services.messageCalls.size(), 2);
}

void tst_BasHook::photoSizeKey_data()
{
    QTest::addColumn<QString>("remaining");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("digit passes") << u"640"_s << u"4"_s << u"4"_s;
    QTest::newRow("capital X becomes x") << u"640"_s << u"X"_s << u"x"_s;
    QTest::newRow("capital X after capital X dropped") << u"640X4"_s << u"X"_s << QString();
    QTest::newRow("backspace passes") << u"640x480"_s << u"\b"_s << u"\b"_s;
    QTest::newRow("full-width digit as ASCII") << u"640"_s << u"４"_s << u"4"_s;
    QTest::newRow("full-width X becomes x") << u"640"_s << u"Ｘ"_s << u"x"_s;
    QTest::newRow("full-width x after x dropped") << u"640x"_s << u"ｘ"_s << QString();
    QTest::newRow("multiplication sign dropped") << u"640"_s << u"×"_s << QString();
}

void tst_BasHook::photoSizeKey()
{
    QFETCH(QString, remaining);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    const QChar key = BasHook::PhotoSizeKey(remaining, typed.at(0));
    QCOMPARE(key.isNull() ? QString() : QString(key), result);
}

void tst_BasHook::photoSizeTypedCommittedAndPasted()
{
    Window w;
    QComboBox *box = w.cboPhotoSize;
    w.focus(box);
    typeText(box, u"1a2*4-0,0x3.5x６"_s);
    QCOMPARE(box->currentText(), u"12400x356"_s);
    // Typing over the whole text: its "x" goes away with it, so the new "x" is taken.
    box->lineEdit()->selectAll();
    typeText(box, u"320X240"_s);
    QCOMPARE(box->currentText(), u"320x240"_s);
    box->setEditText(QString());
    for (const QString &text : {u"６４０"_s, u"Ｘ"_s, u"ｘ48x０"_s})
        commit(box, text);
    QCOMPARE(box->currentText(), u"640x480"_s);
    // A paste is not filtered here: the size is judged when the picture is composed.
    box->setEditText(QString());
    QGuiApplication::clipboard()->setText(u"1024 x 768"_s);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->currentText(), u"1024 x 768"_s);
}

QTEST_MAIN(tst_BasHook)
#include "tst_BasHook.moc"
