#include "store/clsNoltIO.h"
#include "support/FakePlatformServices.h"
#include "ui/Twips.h"
#include "ui/frmSetup.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Settings with the defaults of a first start.
struct Settings
{
    QTemporaryDir dir;
    clsNoltIO nolt{dir.path(), 15, 15};
    Settings() { nolt.OpenFile(dir.filePath(u"nolt.ini"_s)); }
};

template <typename T> T *child(QWidget *dialog, const QString &name)
{
    T *widget = dialog->findChild<T *>(name);
    if (!widget)
        qWarning("no control %s", qPrintable(name));
    return widget;
}

QLineEdit *margin(QWidget *dialog, int i)
{
    return child<QLineEdit>(dialog, u"txtMargin(%1)"_s.arg(i));
}

// Every value the dialog shows, in the order of its mapping.
QList<qint32> values(const clsNoltIO &s)
{
    return {s.DateFormat(),        s.DelimiterFormat(),   s.ThreeCharMonth(),
            s.MarginFontVBorder(), s.MarginFontHBorder(), s.MarginFrameHBorder(),
            s.MarginFontVFrame(),  s.SavePosition()};
}

// Changes every control of the dialog.
void changeEverything(QWidget *dialog)
{
    child<QComboBox>(dialog, u"cboDateFormat"_s)->setCurrentIndex(1);
    child<QComboBox>(dialog, u"cboDateDelimiter"_s)->setCurrentIndex(3);
    child<QCheckBox>(dialog, u"chkMonth"_s)->setChecked(true);
    for (int i = 0; i < 4; ++i)
        margin(dialog, i)->setText(QString::number(31 + i));
    child<QCheckBox>(dialog, u"chkWindowPos"_s)->setChecked(true);
}

void showActive(QWidget *dialog)
{
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

} // namespace

class tst_frmSetup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void captionAndTexts();
    void geometry_data();
    void geometry();
    void tabOrder();
    void opensWithDefaults();
    void saveStoresEveryControl();
    void closeStoresNothing_data();
    void closeStoresNothing();
    void enterDoesNotSave();
    void emptyMarginStoresZero();
    void leadingZerosDropped();
    void marginsTakeDigitsOnly();
    void valuesTheControlsCannotShowAreKept();
    void leadingNumber_data();
    void leadingNumber();
    void showModalReportsSave();
};

void tst_frmSetup::initTestCase()
{
    if (Twips::perPixelX() != 15 || Twips::perPixelY() != 15)
        QSKIP("the geometry below is for a 96 dpi screen");
}

void tst_frmSetup::captionAndTexts()
{
    Settings s;
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    QCOMPARE(dialog.windowTitle(), u"全般の設定"_s);
    QCOMPARE(dialog.size(), QSize(294, 213));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));

    auto *format = child<QComboBox>(&dialog, u"cboDateFormat"_s);
    QCOMPARE(format->count(), 2);
    QCOMPARE(format->itemText(0), u"YYYY/MM/DD"_s);
    QCOMPARE(format->itemText(1), u"MM/DD/YYYY"_s);
    QVERIFY(!format->isEditable());
    auto *delimiter = child<QComboBox>(&dialog, u"cboDateDelimiter"_s);
    QCOMPARE(delimiter->count(), 4);
    QCOMPARE(delimiter->itemText(0), u"/"_s);
    QCOMPARE(delimiter->itemText(1), u"-"_s);
    QCOMPARE(delimiter->itemText(2), u"."_s);
    QCOMPARE(delimiter->itemText(3), u"年月日"_s);
    QVERIFY(!delimiter->isEditable());
    QCOMPARE(child<QCheckBox>(&dialog, u"chkMonth"_s)->text(), u"\"月\"を英語表記する"_s);
    QCOMPARE(child<QCheckBox>(&dialog, u"chkWindowPos"_s)->text(),
             u"終了時の位置と大きさを保存する"_s);
    QCOMPARE(child<QPushButton>(&dialog, u"cmdSave"_s)->text(), u"保存"_s);
    QCOMPARE(child<QPushButton>(&dialog, u"cmdClose"_s)->text(), u"閉じる"_s);

    const QStringList labels = {u"日付形式"_s, u"余白"_s, u"1."_s,    u"pixel"_s, u"2."_s,
                                u"pixel"_s,    u"3."_s,   u"pixel"_s, u"4."_s,    u"pixel"_s};
    for (int i = 0; i < labels.size(); ++i)
        QCOMPARE(child<QLabel>(&dialog, u"lblTag(%1)"_s.arg(i))->text(), labels[i]);
}

void tst_frmSetup::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");

    const auto row = [](const char *name, int l, int t, int w, int h) {
        QTest::newRow(name) << QString::fromLatin1(name) << QRect(l, t, w, h);
    };
    row("cboDateFormat", 1230, 60, 1635, 300);
    row("cboDateDelimiter", 2880, 60, 1005, 300);
    row("chkMonth", 1260, 390, 2775, 225);
    row("txtMargin(0)", 2880, 810, 615, 285);
    row("txtMargin(1)", 2880, 1140, 615, 285);
    row("txtMargin(2)", 2880, 1470, 615, 285);
    row("txtMargin(3)", 2880, 1800, 615, 285);
    row("chkWindowPos", 120, 2430, 3135, 225);
    row("cmdSave", 2490, 2760, 855, 300);
    row("cmdClose", 3420, 2760, 855, 300);
    row("picPreview", 1230, 690, 1275, 1575);
    row("lblTag(0)", 120, 90, 1065, 225);
    row("lblTag(1)", 120, 720, 615, 225);
    row("lblTag(2)", 2640, 870, 225, 225);
    row("lblTag(4)", 2640, 1200, 225, 225);
    row("lblTag(6)", 2640, 1530, 225, 225);
    row("lblTag(8)", 2640, 1860, 225, 225);
    row("lblTag(3)", 3540, 870, 555, 225);
    row("lblTag(5)", 3540, 1200, 555, 225);
    row("lblTag(7)", 3540, 1530, 555, 225);
    row("lblTag(9)", 3540, 1860, 555, 225);
}

void tst_frmSetup::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);

    Settings s;
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    auto *widget = child<QWidget>(&dialog, name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
}

void tst_frmSetup::tabOrder()
{
    Settings s;
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    showActive(&dialog);

    const QStringList order = {u"cboDateFormat"_s, u"cboDateDelimiter"_s, u"chkMonth"_s,
                               u"txtMargin(0)"_s,  u"txtMargin(1)"_s,     u"txtMargin(2)"_s,
                               u"txtMargin(3)"_s,  u"chkWindowPos"_s,     u"cmdSave"_s,
                               u"cmdClose"_s,      u"cboDateFormat"_s};
    child<QWidget>(&dialog, order[0])->setFocus();
    for (const QString &name : order) {
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

void tst_frmSetup::opensWithDefaults()
{
    Settings s;
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    QCOMPARE(child<QComboBox>(&dialog, u"cboDateFormat"_s)->currentText(), u"YYYY/MM/DD"_s);
    QCOMPARE(child<QComboBox>(&dialog, u"cboDateDelimiter"_s)->currentText(), u"/"_s);
    QVERIFY(!child<QCheckBox>(&dialog, u"chkMonth"_s)->isChecked());
    QCOMPARE(margin(&dialog, 0)->text(), u"10"_s);
    QCOMPARE(margin(&dialog, 1)->text(), u"10"_s);
    QCOMPARE(margin(&dialog, 2)->text(), u"20"_s);
    QCOMPARE(margin(&dialog, 3)->text(), u"5"_s);
    QVERIFY(!child<QCheckBox>(&dialog, u"chkWindowPos"_s)->isChecked());
}

void tst_frmSetup::saveStoresEveryControl()
{
    Settings s;
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    showActive(&dialog);
    changeEverything(&dialog);
    QTest::mouseClick(child<QPushButton>(&dialog, u"cmdSave"_s), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(values(s.nolt), (QList<qint32>{1, 3, 1, 31, 32, 33, 34, 1}));
}

void tst_frmSetup::closeStoresNothing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close button") << false;
    QTest::newRow("Esc in a margin box") << true;
}

void tst_frmSetup::closeStoresNothing()
{
    QFETCH(bool, escape);

    Settings s;
    const QList<qint32> before = values(s.nolt);
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    showActive(&dialog);
    changeEverything(&dialog);
    if (escape) {
        margin(&dialog, 2)->setFocus();
        QTRY_VERIFY(margin(&dialog, 2)->hasFocus());
        QTest::keyClick(margin(&dialog, 2), Qt::Key_Escape);
    } else {
        QTest::mouseClick(child<QPushButton>(&dialog, u"cmdClose"_s), Qt::LeftButton);
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(values(s.nolt), before);
}

void tst_frmSetup::enterDoesNotSave()
{
    Settings s;
    const QList<qint32> before = values(s.nolt);
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    showActive(&dialog);
    changeEverything(&dialog);
    for (const QString &name : {u"txtMargin(1)"_s, u"cmdSave"_s, u"cboDateFormat"_s}) {
        auto *widget = child<QWidget>(&dialog, name);
        widget->setFocus();
        QTRY_VERIFY(widget->hasFocus());
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_Enter);
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(values(s.nolt), before);
}

void tst_frmSetup::emptyMarginStoresZero()
{
    Settings s;
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    margin(&dialog, 2)->clear();
    QTest::mouseClick(child<QPushButton>(&dialog, u"cmdSave"_s), Qt::LeftButton);
    QCOMPARE(s.nolt.MarginFrameHBorder(), 0);
    QCOMPARE(s.nolt.MarginFontVBorder(), 10);
}

void tst_frmSetup::leadingZerosDropped()
{
    Settings s;
    FakePlatformServices services;
    {
        frmSetup dialog(s.nolt, services);
        showActive(&dialog);
        QLineEdit *box = margin(&dialog, 0);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->clear();
        QTest::keyClicks(box, u"007"_s);
        QTest::mouseClick(child<QPushButton>(&dialog, u"cmdSave"_s), Qt::LeftButton);
    }
    QCOMPARE(s.nolt.MarginFontVBorder(), 7);
    frmSetup again(s.nolt, services);
    QCOMPARE(margin(&again, 0)->text(), u"7"_s);
}

void tst_frmSetup::marginsTakeDigitsOnly()
{
    Settings s;
    FakePlatformServices services;
    frmSetup dialog(s.nolt, services);
    showActive(&dialog);
    for (int i = 0; i < 4; ++i) {
        QLineEdit *box = margin(&dialog, i);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->clear();
        QTest::keyClicks(box, u"1a-2. "_s);
        QCOMPARE(box->text(), u"12"_s);
        QGuiApplication::clipboard()->setText(u"-3"_s);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), u"12"_s);
        QGuiApplication::clipboard()->setText(u"3"_s);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), u"123"_s);
    }
    // Nothing else in the dialog is filtered, and the filter ends with the dialog.
    child<QWidget>(&dialog, u"chkMonth"_s)->setFocus();
    QTest::keyClicks(margin(&dialog, 0), u"x"_s);
    QCOMPARE(margin(&dialog, 0)->text(), u"123x"_s);
}

void tst_frmSetup::valuesTheControlsCannotShowAreKept()
{
    Settings s;
    s.nolt.DateFormat(2);
    s.nolt.DelimiterFormat(-1);
    s.nolt.ThreeCharMonth(5);
    s.nolt.SavePosition(2);
    s.nolt.MarginFontHBorder(-4);
    FakePlatformServices services;
    {
        frmSetup dialog(s.nolt, services);
        QCOMPARE(child<QComboBox>(&dialog, u"cboDateFormat"_s)->currentIndex(), -1);
        QCOMPARE(child<QCheckBox>(&dialog, u"chkMonth"_s)->checkState(), Qt::PartiallyChecked);
        QCOMPARE(margin(&dialog, 1)->text(), u"-4"_s);
        QTest::mouseClick(child<QPushButton>(&dialog, u"cmdSave"_s), Qt::LeftButton);
    }
    QCOMPARE(values(s.nolt), (QList<qint32>{2, -1, 5, 10, -4, 20, 5, 2}));

    // Once the user decides, the box is an ordinary check box again.
    frmSetup dialog(s.nolt, services);
    auto *month = child<QCheckBox>(&dialog, u"chkMonth"_s);
    QTest::mouseClick(month, Qt::LeftButton);
    QCOMPARE(month->checkState(), Qt::Checked);
    QTest::mouseClick(month, Qt::LeftButton);
    QCOMPARE(month->checkState(), Qt::Unchecked);
    QTest::mouseClick(month, Qt::LeftButton);
    QCOMPARE(month->checkState(), Qt::Checked);
    child<QComboBox>(&dialog, u"cboDateDelimiter"_s)->setCurrentIndex(2);
    QTest::mouseClick(child<QPushButton>(&dialog, u"cmdSave"_s), Qt::LeftButton);
    QCOMPARE(s.nolt.ThreeCharMonth(), 1);
    QCOMPARE(s.nolt.DelimiterFormat(), 2);
}

void tst_frmSetup::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("number");

    QTest::newRow("empty box") << QString() << 0;
    QTest::newRow("leading zeros") << u"007"_s << 7;
    QTest::newRow("digits then letters") << u"12abc"_s << 12;
    QTest::newRow("no number") << u"abc"_s << 0;
    QTest::newRow("negative from the settings file") << u"-5"_s << -5;
    QTest::newRow("leading blank") << u"  8"_s << 8;
    QTest::newRow("half rounds to even, down") << u"2.5"_s << 2;
    QTest::newRow("half rounds to even, up") << u"3.5"_s << 4;
    QTest::newRow("fraction rounds to nearest") << u"6.7"_s << 7;
    QTest::newRow("largest margin") << u"2147483647"_s << 2147483647;
    QTest::newRow("beyond 32 bits kept at the largest") << u"99999999999"_s << 2147483647;
    QTest::newRow("below 32 bits kept at the smallest") << u"-99999999999"_s << qint32(-2147483648);
}

void tst_frmSetup::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(qint32, number);
    QCOMPARE(frmSetup::leadingNumber(text), number);
}

void tst_frmSetup::showModalReportsSave()
{
    Settings s;
    FakePlatformServices services;
    QWidget owner;
    for (const auto &[button, saved] : {std::pair{"cmdSave", true}, std::pair{"cmdClose", false}}) {
        QTimer::singleShot(0, [name = QString::fromLatin1(button)] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QPushButton *>(name)->click();
        });
        QCOMPARE(frmSetup::showModal(&owner, s.nolt, services), saved);
    }
}

QTEST_MAIN(tst_frmSetup)
#include "tst_frmSetup.moc"
