#include "support/FakePlatformServices.h"
#include "ui/NumberInputFilter.h"

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

// A window with a digit box, a time box (digits and colon), an unguarded box and the photo-size
// box.
struct Window
{
    FakePlatformServices services;
    QWidget widget;
    QLineEdit *txtYear = new QLineEdit(&widget);
    QLineEdit *txtTime = new QLineEdit(&widget);
    QLineEdit *txtTargetName = new QLineEdit(&widget);
    QComboBox *cboPhotoSize = new QComboBox(&widget);
    NumberInputFilter hook{services};

    Window()
    {
        auto *layout = new QVBoxLayout(&widget);
        for (QWidget *w :
             std::initializer_list<QWidget *>{txtYear, txtTime, txtTargetName, cboPhotoSize})
            layout->addWidget(w);
        cboPhotoSize->setEditable(true);
        cboPhotoSize->setCompleter(nullptr);
        hook.guard(txtYear);
        hook.guard(txtTime, NumberInputFilter::AllowDigits | NumberInputFilter::AllowColon);
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

class tst_NumberInputFilter : public QObject
{
    Q_OBJECT

private slots:
    void typingFollowsTheFocusedBox();
    void pastesAndDrops();
    void rulesAndHookFailure();
};

void tst_NumberInputFilter::typingFollowsTheFocusedBox()
{
    Window w;
    w.focus(w.txtYear);
    QCOMPARE(w.hook.hookedControl(), w.txtYear);
    // What a Japanese input method types as keys: full-width digits arrive as ASCII.
    typeText(w.txtYear, u"2a0 0-2 1２ｱｘ:"_s);
    QCOMPARE(w.txtYear->text(), u"200212"_s);
    // On Windows AltGr arrives as Ctrl+Alt, and the box takes the character it types.
    const auto altGr = Qt::ControlModifier | Qt::AltModifier;
    QTest::sendKeyEvent(QTest::Click, w.txtYear, Qt::Key_Q, u"@"_s, altGr);
    QTest::sendKeyEvent(QTest::Click, w.txtYear, Qt::Key_7, u"7"_s, altGr);
    QCOMPARE(w.txtYear->text(), u"2002127"_s);
    // Editing keys work; Escape and Return are not inserted, and Return is reported as usual.
    QSignalSpy returned(w.txtYear, &QLineEdit::returnPressed);
    for (Qt::Key key :
         {Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete, Qt::Key_Escape, Qt::Key_Return})
        QTest::keyClick(w.txtYear, key);
    QCOMPARE(w.txtYear->text(), u"00212"_s);
    QCOMPARE(returned.count(), 1);
    w.txtYear->selectAll();
    QTest::keyClick(w.txtYear, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"00212"_s);
    // Each input-method character is judged alone.
    QInputMethodEvent preedit(u"２"_s, {});
    QApplication::sendEvent(w.txtYear, &preedit);
    commit(w.txtYear, u"1２3年ｘ"_s);
    commit(w.txtYear, u"45"_s);
    QCOMPARE(w.txtYear->text(), u"12345"_s);

    // Focus moving straight to the next guarded box hooks it with its own rule.
    w.focus(w.txtTime);
    QCOMPARE(w.hook.hookedControl(), w.txtTime);
    typeText(w.txtTime, u"12:3a0 "_s);
    QCOMPARE(w.txtTime->text(), u"12:30"_s);
    // Keys that reach a guarded box without the focus are not its user's typing: not judged.
    w.txtYear->clear();
    typeText(w.txtYear, u"x1"_s);
    QCOMPARE(w.txtYear->text(), u"x1"_s);
    w.focus(w.txtTargetName);
    QCOMPARE(w.hook.hookedControl(), nullptr);
    typeText(w.txtTargetName, u"M42"_s);
    QCOMPARE(w.txtTargetName->text(), u"M42"_s);

    // The photo size box takes digits and one "x".
    QComboBox *box = w.cboPhotoSize;
    w.focus(box);
    typeText(box, u"1a2*4-0,0x3.5x６×"_s);
    QCOMPARE(box->currentText(), u"12400x356"_s);
    // Typing over the whole text: its "x" goes away with it, so the new "x" is taken.
    box->lineEdit()->selectAll();
    typeText(box, u"320X240"_s);
    QCOMPARE(box->currentText(), u"320x240"_s);
    box->setEditText(QString());
    for (const QString &text : {u"６４０"_s, u"Ｘ"_s, u"ｘ48x０"_s})
        commit(box, text);
    QCOMPARE(box->currentText(), u"640x480"_s);
    // A paste is not filtered here: the size is judged when the picture is composed. Its capital
    // X counts as the one "x".
    box->setEditText(QString());
    QGuiApplication::clipboard()->setText(u"1024 X 768"_s);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    typeText(box, u"x"_s);
    QCOMPARE(box->currentText(), u"1024 X 768"_s);
}

void tst_NumberInputFilter::pastesAndDrops()
{
    Window w;
    w.focus(w.txtYear);
    QClipboard *clipboard = QGuiApplication::clipboard();
    // The box holds "1"; an empty clipboard text stands for a picture.
    const auto paste = [&](const QString &text, QKeyCombination key) {
        w.txtYear->setText(u"1"_s);
        if (text.isEmpty())
            clipboard->setImage(QImage(4, 4, QImage::Format_RGB32));
        else
            clipboard->setText(text);
        QTest::keyClick(w.txtYear, key.key(), key.keyboardModifiers());
        return w.txtYear->text();
    };
    const QKeyCombination ctrlV(Qt::ControlModifier, Qt::Key_V);
    QCOMPARE(paste(u"2002"_s, ctrlV), u"12002"_s);
    QCOMPARE(paste(u"2002年"_s, ctrlV), u"1"_s);
    QCOMPARE(paste(u"２００2"_s, ctrlV), u"12002"_s);
    QCOMPARE(paste(QString(), ctrlV), u"1"_s);
    QCOMPARE(paste(u"７"_s, QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert)), u"17"_s);

    // The context menu's Paste judges the same way; the menu holds the focus only while open.
    w.txtYear->clear();
    clipboard->setText(u"3a"_s);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              w.txtYear->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w.txtYear, &request);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction *pasteEntry = nullptr;
    for (QAction *action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            pasteEntry = action;
    QVERIFY(pasteEntry);
    menu->close();
    pasteEntry->trigger();
    QCOMPARE(w.txtYear->text(), QString());
    QCOMPARE(w.hook.hookedControl(), w.txtYear);

    const auto drop = [](QLineEdit *box, const QString &text) {
        box->clear();
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
        return box->text();
    };
    // Whichever box has the focus, a drop is judged by the rule of the box it lands on.
    w.focus(w.txtYear);
    QCOMPARE(drop(w.txtTime, u"12:30"_s), u"12:30"_s);
    QCOMPARE(drop(w.txtYear, u"12:30"_s), QString());
    QCOMPARE(drop(w.txtYear, u"12"_s), u"12"_s);
    w.focus(w.txtTime);
    QCOMPARE(drop(w.txtYear, u"1:2"_s), QString());
    QCOMPARE(drop(w.txtTime, u"1a"_s), QString());
    QCOMPARE(drop(w.txtTargetName, u"M42:"_s), u"M42:"_s);
}

void tst_NumberInputFilter::rulesAndHookFailure()
{
    FakePlatformServices services;
    NumberInputFilter hook(services);
    QLineEdit box;
    // The empty text passes any rule but none; an unknown bit adds nothing; the custom set counts
    // with its bit only.
    const quint32 digits = NumberInputFilter::AllowDigits;
    const std::tuple<quint32, QString, bool> cases[] = {
        {digits, u""_s, true},
        {0u, u""_s, false},
        {0x400u, u"1"_s, false},
        {digits | NumberInputFilter::AllowCustom, u"2002年"_s, true},
        {digits, u"2002年"_s, false}};
    for (const auto &[flags, text, allowed] : cases) {
        hook.hookControl(&box, flags, u"年月日"_s);
        QCOMPARE(hook.isAllowedChar(text), allowed);
    }
    QVERIFY(services.messageCalls.isEmpty());
    QPushButton button;
    hook.hookControl(&button, NumberInputFilter::AllowDigits, QString());
    hook.hookControl(nullptr, NumberInputFilter::AllowDigits, QString());
    QCOMPARE(services.messageCalls.size(), 2);
    QCOMPARE(services.messageCalls[0].text, u"Error : HookControl Function"_s);
    QCOMPARE(services.messageCalls[0].icon, QMessageBox::Critical);
    QCOMPARE(hook.hookedControl(), nullptr);
    // Removing a hook has nothing that can fail.
    hook.unhookControl();
    QCOMPARE(services.messageCalls.size(), 2);
}

QTEST_MAIN(tst_NumberInputFilter)
#include "tst_NumberInputFilter.moc"
