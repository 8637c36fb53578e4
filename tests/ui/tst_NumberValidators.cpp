#include "ui/DigitsValidator.h"
#include "ui/PhotoSizeValidator.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
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

// An input method's commit, replacing `length` characters from `from` relative to the cursor.
void commit(QWidget *widget, const QString &text, int from = 0, int length = 0)
{
    QInputMethodEvent event;
    event.setCommitString(text, from, length);
    QApplication::sendEvent(widget, &event);
}

// Pastes `text` into the box holding `before`.
QString paste(QLineEdit *box, const QString &before, const QString &text)
{
    box->setText(before);
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    return box->text();
}

// A window with a digit box and the photo-size box.
struct Window
{
    QWidget widget;
    QLineEdit *txtYear = new QLineEdit(&widget);
    QComboBox *cboPhotoSize = new QComboBox(&widget);
    QLineEdit *size = nullptr;

    Window()
    {
        auto *layout = new QVBoxLayout(&widget);
        layout->addWidget(txtYear);
        layout->addWidget(cboPhotoSize);
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
    void digitsTyped()
    {
        Window w;
        // What a Japanese input method types as keys: full-width digits arrive as ASCII.
        typeText(w.txtYear, u"2a0 0-2 1２ｱｘ:"_s);
        QCOMPARE(w.txtYear->text(), u"200212"_s);
        // Deletions are taken.
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete})
            QTest::keyClick(w.txtYear, key);
        QCOMPARE(w.txtYear->text(), u"0021"_s);
        w.txtYear->selectAll();
        QTest::keyClick(w.txtYear, Qt::Key_Delete);
        // An input method's commit is judged as a whole, as a paste is.
        commit(w.txtYear, u"1２3年ｘ"_s);
        commit(w.txtYear, u"1２3"_s);
        commit(w.txtYear, u"45"_s);
        QCOMPARE(w.txtYear->text(), u"12345"_s);
        // A text the program sets (a template's year) stays as it is, and the box goes on judging.
        w.txtYear->setText(u"2002年"_s);
        typeText(w.txtYear, u"a1"_s);
        QCOMPARE(w.txtYear->text(), u"2002年1"_s);
    }
    void photoSizeTyped()
    {
        Window w;
        w.size->setFocus();
        w.size->clear();
        typeText(w.size, u"1a2*4-0,0x3.5x６×"_s);
        QCOMPARE(w.size->text(), u"12400x356"_s);
        // An "x" that is only selected still counts: typed over, it is refused, the selection kept;
        // once the selection is replaced, a new "x" is taken.
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
        // An input method replacing the "4" before the cursor: judged from that digit, not the "x".
        commit(w.size, u"９"_s, -3, 1);
        QCOMPARE(w.size->text(), u"640x980"_s);
        commit(w.size, u"５"_s, 1, 1); // and the last one, after the cursor
        QCOMPARE(w.size->text(), u"640x985"_s);
    }
    void pastes()
    {
        Window w;
        // A paste is judged as a whole, by the rule of its box.
        QCOMPARE(paste(w.txtYear, u"1"_s, u"2002年"_s), u"1"_s);
        QCOMPARE(paste(w.txtYear, u"1"_s, u"７"_s), u"17"_s);
        QCOMPARE(paste(w.size, QString(), u"1024Ｘ768"_s), u"1024x768"_s);
        QCOMPARE(paste(w.size, QString(), u"800x6x0"_s), QString());
    }
};

QTEST_MAIN(tst_NumberValidators)
#include "tst_NumberValidators.moc"
