#include "store/AppSettings.h"
#include "ui/SettingsDialog.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Settings with the defaults of a first start, and the dialog over them.
struct Setup
{
    QTemporaryDir dir;
    AppSettings nolt{dir.path(), 15, 15};
    std::unique_ptr<SettingsDialog> dialog;

    Setup() { nolt.load(dir.filePath(u"nolt.ini"_s)); }
    SettingsDialog &open(bool show = true)
    {
        dialog = std::make_unique<SettingsDialog>(nolt);
        if (show) {
            dialog->show();
            dialog->activateWindow();
            [this] { QVERIFY(QTest::qWaitForWindowActive(dialog.get())); }();
        }
        return *dialog;
    }
    template <typename T = QWidget> T *child(const QString &name) const
    {
        return dialog->findChild<T *>(name);
    }
    QLineEdit *margin(int i) const { return child<QLineEdit>(u"txtMargin(%1)"_s.arg(i)); }
    void click(const QString &name) const
    {
        QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton);
    }
    void focus(const QString &name) const
    {
        child(name)->setFocus();
        QTRY_VERIFY(child(name)->hasFocus());
    }
    // Every number the dialog shows, in the order of its mapping, then those of the groups.
    QList<qint32> values() const
    {
        return {
            nolt.dateFormat(),        nolt.delimiterFormat(),         nolt.englishMonthsValue(),
            nolt.marginFontVBorder(), nolt.marginFontHBorder(),       nolt.marginFrameHBorder(),
            nolt.marginFontVFrame(),  nolt.keepWindowGeometryValue(), qint32(nolt.photoStretch()),
            nolt.shrinkLarge(),       nolt.shrinkBox().width(),       nolt.shrinkBox().height(),
            nolt.livePreview(),       qint32(nolt.language()),        nolt.fillOnLoad(),
            nolt.saveMetadata()};
    }
    void changeEverything() const
    {
        child<QComboBox>(u"cboDateFormat"_s)->setCurrentIndex(1);
        child<QComboBox>(u"cboDateDelimiter"_s)->setCurrentIndex(3);
        child<QCheckBox>(u"chkMonth"_s)->setChecked(true);
        for (int i = 0; i < 4; ++i)
            margin(i)->setText(QString::number(31 + i));
        child<QCheckBox>(u"chkWindowPos"_s)->setChecked(true);
        child<QComboBox>(u"cboStretch"_s)->setCurrentIndex(2);
        child<QCheckBox>(u"chkShrink"_s)->setChecked(true);
        child<QSpinBox>(u"txtShrinkWidth"_s)->setValue(800);
        child<QSpinBox>(u"txtShrinkHeight"_s)->setValue(1999); // beyond the layout's 1200
        child<QCheckBox>(u"chkLivePreview"_s)->setChecked(true);
        child<QComboBox>(u"cboLanguage"_s)->setCurrentIndex(1);
        child<QCheckBox>(u"chkFillOnLoad"_s)->setChecked(true);
        child<QCheckBox>(u"chkMetadata"_s)->setChecked(false);
        child<QLineEdit>(u"txtCaption(1)"_s)->setText(u"{EXPTIME}s"_s);
    }
};

const QList<qint32> Defaults = {0, 0, 0, 10, 10, 20, 5, 0, 0, 0, 1600, 1200, 0, 0, 0, 1};

} // namespace

class tst_SettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (Twips::screen().x != 15 || Twips::screen().y != 15)
            QSKIP("the dialog size below is for a 96 dpi screen");
    }
    void saveStoresEveryControl()
    {
        Setup s;
        SettingsDialog &dialog = s.open();
        QCOMPARE(s.child<QComboBox>(u"cboDateFormat"_s)->currentIndex(), 0);
        QCOMPARE(s.margin(3)->text(), u"5"_s);
        s.changeEverything();
        // Enter saves nothing: no button is the default.
        s.focus(u"txtMargin(1)"_s);
        QTest::keyClick(s.margin(1), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(s.values(), Defaults);
        s.click(u"cmdSave"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(s.values(),
                 (QList<qint32>{1, 3, 1, 31, 32, 33, 34, 1, 2, 1, 800, 1200, 1, 1, 1, 0}));
        QCOMPARE(s.nolt.captionPattern(1), u"{EXPTIME}s"_s);
        QCOMPARE(s.nolt.captionPattern(0), AppSettings::defaultCaptionPattern(0));

        // The way back to the default patterns.
        s.open(false);
        QCOMPARE(s.child<QLineEdit>(u"txtCaption(1)"_s)->text(), u"{EXPTIME}s"_s);
        s.click(u"cmdCaptionDefaults"_s);
        s.click(u"cmdSave"_s);
        QCOMPARE(s.nolt.captionPattern(1), AppSettings::defaultCaptionPattern(1));

        // The margin boxes take digits only.
        s.open();
        s.focus(u"txtMargin(0)"_s);
        s.margin(0)->clear();
        QTest::keyClicks(s.margin(0), u"01a-2. 3"_s);
        QCOMPARE(s.margin(0)->text(), u"0123"_s);
        // An empty box stores 0; leading zeros are dropped and not shown again.
        s.margin(2)->clear();
        s.click(u"cmdSave"_s);
        QCOMPARE(s.nolt.marginFrameHBorder(), 0);
        QCOMPARE(s.nolt.marginFontVBorder(), 123);
        s.open(false);
        QCOMPARE(s.margin(0)->text(), u"123"_s);
    }
    void valuesTheControlsCannotShowAreKept()
    {
        Setup s;
        s.nolt.setDateFormat(2);
        s.nolt.setDelimiterFormat(-1);
        s.nolt.setEnglishMonthsValue(5);
        s.nolt.setKeepWindowGeometryValue(2);
        s.nolt.setMarginFontHBorder(-4);
        s.nolt.setPhotoStretch(7);
        s.nolt.setShrinkBox({5000, 10});
        s.nolt.setLanguage(AppSettings::Language(-3));
        s.open(false);
        QCOMPARE(s.child<QSpinBox>(u"txtShrinkWidth"_s)->value(), 1600);
        QCOMPARE(s.child<QComboBox>(u"cboLanguage"_s)->currentIndex(), -1);
        QCOMPARE(s.child<QComboBox>(u"cboDateFormat"_s)->currentIndex(), -1);
        QCOMPARE(s.child<QCheckBox>(u"chkMonth"_s)->checkState(), Qt::PartiallyChecked);
        QCOMPARE(s.margin(1)->text(), u"-4"_s);
        // Numbers are read as far as they go, rounded half to even, kept within 32 bits.
        QCOMPARE(SettingsDialog::leadingNumber(u"2.5"_s), 2);
        QCOMPARE(SettingsDialog::leadingNumber(u"3.5"_s), 4);
        QCOMPARE(SettingsDialog::leadingNumber(u" \t-12.71x"_s), -13);
        QCOMPARE(SettingsDialog::leadingNumber(u"+0.51"_s), 1);
        QCOMPARE(SettingsDialog::leadingNumber(u"99999999999"_s), 2147483647);
        QCOMPARE(SettingsDialog::leadingNumber(u"-99999999999"_s), qint32(-2147483648));
        s.click(u"cmdSave"_s);
        QCOMPARE(s.values(),
                 (QList<qint32>{2, -1, 5, 10, -4, 20, 5, 2, 7, 0, 5000, 10, 0, -3, 0, 1}));

        // Once the user decides, the box is an ordinary check box again.
        s.open(false);
        auto *month = s.child<QCheckBox>(u"chkMonth"_s);
        QList<Qt::CheckState> states;
        for (int k = 0; k < 3; ++k) {
            QTest::mouseClick(month, Qt::LeftButton);
            states << month->checkState();
        }
        QCOMPARE(states, QList<Qt::CheckState>({Qt::Checked, Qt::Unchecked, Qt::Checked}));
        s.child<QComboBox>(u"cboDateDelimiter"_s)->setCurrentIndex(2);
        s.click(u"cmdSave"_s);
        QCOMPARE(s.nolt.englishMonthsValue(), 1);
        QCOMPARE(s.nolt.delimiterFormat(), 2);
    }
    void marginDiagram()
    {
        // The four measuring lines and their end marks in green, the photo's corner in white.
        const QImage d = SettingsDialog::marginDiagram();
        const QRgb g = qRgb(0, 255, 0), w = qRgb(255, 255, 255);
        QCOMPARE(QList<QRgb>({d.pixel(26, 8), d.pixel(24, 0), d.pixel(10, 23), d.pixel(15, 78),
                              d.pixel(0, 76), d.pixel(44, 50), d.pixel(50, 60), d.pixel(30, 80)}),
                 QList<QRgb>({g, g, g, g, g, g, w, w}));
    }
};

QTEST_MAIN(tst_SettingsDialog)
#include "tst_SettingsDialog.moc"
