#include "ui/DigitsValidator.h"
#include "ui/PhotoSizeValidator.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

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

QString paste(QLineEdit *box, const QString &text, QKeyCombination key = Qt::CTRL | Qt::Key_V)
{
    if (text.isEmpty())
        QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    else
        QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(box, key.key(), key.keyboardModifiers());
    return box->text();
}

QString drop(QLineEdit *box, const QString &text)
{
    box->clear();
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
    return box->text();
}

// A window with a digit box, a box without a validator and the photo-size box.
struct Window
{
    QWidget widget;
    QLineEdit *txtYear = new QLineEdit(&widget);
    QLineEdit *txtTargetName = new QLineEdit(&widget);
    QComboBox *cboPhotoSize = new QComboBox(&widget);
    QLineEdit *size = nullptr;

    Window()
    {
        auto *layout = new QVBoxLayout(&widget);
        for (QWidget *w : std::initializer_list<QWidget *>{txtYear, txtTargetName, cboPhotoSize})
            layout->addWidget(w);
        cboPhotoSize->setEditable(true);
        cboPhotoSize->setCompleter(nullptr);
        size = cboPhotoSize->lineEdit();
        new DigitsValidator(txtYear);
        new PhotoSizeValidator(size);
        widget.show();
        widget.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&widget));
        txtYear->setFocus();
    }
};

} // namespace

class tst_NumberValidators : public QObject
{
    Q_OBJECT

private slots:
    void digitsTyped();
    void photoSizeTyped();
    void pastesAndDrops();
};

void tst_NumberValidators::digitsTyped()
{
    Window w;
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
    // An input method's commit is judged as a whole, as a paste is.
    QInputMethodEvent preedit(u"２"_s, {});
    QApplication::sendEvent(w.txtYear, &preedit);
    commit(w.txtYear, u"1２3年ｘ"_s);
    commit(w.txtYear, u"1２3"_s);
    commit(w.txtYear, u"45"_s);
    QCOMPARE(w.txtYear->text(), u"12345"_s);
    // A text the program sets (a template's year) stays as it is, and the box goes on judging.
    w.txtYear->setText(u"2002年"_s);
    typeText(w.txtYear, u"a1"_s);
    QTest::keyClick(w.txtYear, Qt::Key_Return);
    QCOMPARE(w.txtYear->text(), u"2002年1"_s);
    QCOMPARE(returned.count(), 2);

    w.txtTargetName->setFocus();
    typeText(w.txtTargetName, u"M42 ｘ"_s);
    QCOMPARE(w.txtTargetName->text(), u"M42 ｘ"_s);
}

void tst_NumberValidators::photoSizeTyped()
{
    Window w;
    w.size->setFocus();
    w.size->clear();
    typeText(w.size, u"1a2*4-0,0x3.5x６×"_s);
    QCOMPARE(w.size->text(), u"12400x356"_s);
    // Typing over the whole text: its "x" goes away with it, so the new "x" is taken.
    w.size->selectAll();
    typeText(w.size, u"320X240"_s);
    QCOMPARE(w.size->text(), u"320x240"_s);
    // An "x" that is only selected still counts: typed over, it is refused, the selection kept.
    w.cboPhotoSize->setEditText(u"640x480"_s);
    w.size->setSelection(3, 4);
    typeText(w.size, u"x"_s);
    QCOMPARE(w.size->text(), u"640x480"_s);
    typeText(w.size, u"9X"_s);
    QCOMPARE(w.size->text(), u"6409x"_s);
    w.size->clear();
    for (const QString &text : {u"６４０"_s, u"Ｘ"_s, u"ｘ"_s, u"48０"_s})
        commit(w.size, text);
    QCOMPARE(w.cboPhotoSize->currentText(), u"640x480"_s);
}

void tst_NumberValidators::pastesAndDrops()
{
    Window w;
    // The box holds "1"; an empty clipboard text stands for a picture.
    const auto pasteAfterOne = [&](const QString &text, QKeyCombination key) {
        w.txtYear->setText(u"1"_s);
        return paste(w.txtYear, text, key);
    };
    const QKeyCombination ctrlV = Qt::CTRL | Qt::Key_V;
    QCOMPARE(pasteAfterOne(u"2002"_s, ctrlV), u"12002"_s);
    QCOMPARE(pasteAfterOne(u"2002年"_s, ctrlV), u"1"_s);
    QCOMPARE(pasteAfterOne(u" 2002"_s, ctrlV), u"1"_s);
    QCOMPARE(pasteAfterOne(u"２００2"_s, ctrlV), u"12002"_s);
    QCOMPARE(pasteAfterOne(QString(), ctrlV), u"1"_s);
    QCOMPARE(pasteAfterOne(u"７"_s, Qt::SHIFT | Qt::Key_Insert), u"17"_s);

    // The context menu's Paste is the box's own and judged the same way.
    w.txtYear->clear();
    QGuiApplication::clipboard()->setText(u"3a"_s);
    const std::unique_ptr<QMenu> menu(w.txtYear->createStandardContextMenu());
    QAction *pasteEntry = nullptr;
    for (QAction *action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            pasteEntry = action;
    QVERIFY(pasteEntry);
    pasteEntry->trigger();
    QCOMPARE(w.txtYear->text(), QString());

    // The photo size judges a paste by its rule too.
    w.size->clear();
    QCOMPARE(paste(w.size, u"1024 X 768"_s), QString());
    QCOMPARE(paste(w.size, u"1024Ｘ768"_s), u"1024x768"_s);

    // Whichever box has the focus, a drop is judged by the box it lands on.
    QCOMPARE(drop(w.txtYear, u"12:30"_s), QString());
    QCOMPARE(drop(w.txtYear, u"12"_s), u"12"_s);
    QCOMPARE(drop(w.size, u"800x6x0"_s), QString());
    QCOMPARE(drop(w.size, u"800X600"_s), u"800x600"_s);
    QCOMPARE(drop(w.txtTargetName, u"M42:"_s), u"M42:"_s);
}

QTEST_MAIN(tst_NumberValidators)
#include "tst_NumberValidators.moc"
