#include "AppSession.h"
#include "compose/FontSetup.h"
#include "ui/AboutDialog.h"
#include "ui/ColorChooser.h"
#include "ui/SettingsDialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <cmath>

namespace {

void focusBox(MainWindow &w, QWidget *box)
{
    QApplication::setActiveWindow(&w);
    box->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(box->hasFocus());
}

// Changes the settings dialog's fields, then closes it with the button `close`.
void editSettings(const QString &close, bool engMonth = true)
{
    onNextModal([close, engMonth](QWidget *dialog) {
        dialog->findChild<QCheckBox *>("chkMonth")->setChecked(engMonth);
        dialog->findChild<QComboBox *>("cboDateFormat")->setCurrentIndex(1);
        dialog->findChild<QPushButton *>(close)->click();
    });
}

} // namespace

class tst_MainWindowCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        FontSetup::install();
        setLocalZone("Asia/Tokyo");
    }
    void dialogsAndDate()
    {
        Session s;
        MainWindow &w = s.start();
        const Twips::PerPixel t = w.twips();
        s.combo("cboMonth")->setCurrentIndex(2);
        // Closed without saving: nothing changes.
        editSettings("cmdClose");
        s.find<QToolButton>("TbSetup")->click();
        QCOMPARE(s.combo("cboMonth")->currentText(), QString("03"));
        QCOMPARE(s.edit("txtYear")->x(), px(210, t.x));
        // Saved: the month list and the date order change at once.
        editSettings("cmdSave");
        s.find<QAction>("IDMI_SETUP")->trigger();
        QCOMPARE(s.combo("cboMonth")->currentText(), QString("Mar"));
        // Month, day, year from left to right now.
        QCOMPARE(s.combo("cboMonth")->x(), px(210, t.x));
        QCOMPARE(s.combo("cboDay")->x(), px(1065, t.x));
        QCOMPARE(s.edit("txtYear")->x(), px(1740, t.x));
        QVERIFY(!QFile::exists(s.path("nolt.ini"))); // written only at exit
        // No month selected stays so when the list is refilled.
        s.combo("cboMonth")->setCurrentIndex(-1);
        editSettings("cmdSave", false);
        w.showSettings();
        QCOMPARE(s.combo("cboMonth")->itemText(0), QString("01"));
        QCOMPARE(s.combo("cboMonth")->currentIndex(), -1);
        // Values in the other month form refill the list; a face in other letters finds its entry.
        PanelValues v = w.panelValues();
        v.englishMonths = true;
        v.monthIndex = 4;
        v.fonts[2].fontName = v.fonts[2].fontName.toLower();
        w.setPanelValues(v);
        QCOMPARE(s.combo("cboMonth")->currentText(), QString("May"));
        QCOMPARE(s.combo("cboFontName(2)")->currentText(), QString("ＭＳ ゴシック"));
        w.fillMonthList(); // the settings' month form again

        // The version dialog belongs to the window and is released when it closes.
        QWidget *owner = nullptr;
        onNextModal([&](QWidget *dialog) {
            owner = qobject_cast<AboutDialog *>(dialog) ? dialog->parentWidget() : nullptr;
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        s.find<QAction>("IDMI_VERSION")->trigger();
        QCOMPARE(owner, static_cast<QWidget *>(&w));
        QVERIFY(w.findChildren<AboutDialog *>().isEmpty());

        setLocalZone("Europe/Berlin"); // the zone's own abbreviation, not JST
        s.services.clock = QDateTime(QDate(2003, 2, 5), QTime(0, 7, 59));
        s.find<QPushButton>("cmdNowDate")->click();
        setLocalZone("Asia/Tokyo");
        QCOMPARE(s.combo("cboMonth")->currentText(), QString("02"));
        QCOMPARE(s.combo("cboDay")->currentText(), QString("05"));
        QCOMPARE(s.edit("txtYear")->text(), QString("2003"));
        QCOMPARE(s.edit("txtTime")->text(), QString("00:07 CET"));
    }
    void panelButtonsAndInputFilters()
    {
        Session s;
        s.start();
        ColorSwatch *target = s.swatch("picFontColor(3)");
        target->setColor(0x00204080);
        const qint32 neighbour = s.swatch("picFontColor(2)")->color();
        QTest::mouseClick(target, Qt::LeftButton); // cancelled: the colour stays
        const auto &first = s.services.colorCalls[0];
        QCOMPARE(first.initial, QColor(0x80, 0x40, 0x20));
        QCOMPARE(first.title, QString("色の選択"));
        QCOMPARE(first.customColors, ColorChooser::standardCustomColors());
        QCOMPARE(target->color(), 0x00204080);
        // OK replaces it; Space opens the dialog as a click does.
        s.services.colorAnswers << QColor(1, 2, 3) << QColor(9, 9, 9);
        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(target->color(), 0x00030201);
        QTest::keyClick(target, Qt::Key_Space);
        QCOMPARE(target->color(), 0x00090909);
        QCOMPARE(s.swatch("picFontColor(2)")->color(), neighbour); // only the swatch clicked

        // A click on an alignment button itself, away from its drop-down arrow, steps it on.
        const auto clicks = [](AlignButton *button, int n) {
            QStringList seen;
            for (int k = 0; k < n; ++k) {
                QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
                const bool image = button->image() == button->alignmentCode().toInt() + 1;
                seen << button->alignmentCode() + ":" + button->toolTip() +
                            (image ? "" : " (wrong image)");
            }
            return seen;
        };
        QCOMPARE(clicks(s.align(4), 6), QStringList({"1:中央揃え", "2:右揃え", "3:上項目の左",
                                                     "4:上項目の右", "0:左揃え", "1:中央揃え"}));
        // Item 2 has nothing above it to align with, even from a hidden right-above.
        QVERIFY(s.align(4)->entry(4)->isVisible());
        QVERIFY(!s.align(2)->entry(4)->isVisible());
        QCOMPARE(clicks(s.align(2), 3), QStringList({"1:中央揃え", "2:右揃え", "0:左揃え"}));
        s.align(2)->showAlignmentCode("4");
        QCOMPARE(clicks(s.align(2), 1), QStringList({"2:右揃え"}));

        // The boxes for numbers take digits only.
        MainWindow &w = *s.window;
        for (const char *box : {"txtYear", "txtFontSize(4)"}) {
            QLineEdit *edit = s.edit(box);
            focusBox(w, edit);
            edit->clear();
            QTest::keyClicks(edit, "20a0- 2");
            QCOMPARE(edit->text(), QString("2002"));
        }
        // The photo size keeps its key rule, also after the box is left ("32" is not completed to a
        // list entry).
        QComboBox *size = s.combo("cboPhotoSize");
        focusBox(w, size);
        size->setEditText(QString());
        QTest::keyClicks(size->lineEdit(), "3a2");
        focusBox(w, s.edit("txtTargetName"));
        QCOMPARE(size->currentText(), QString("32"));
    }
};

QTEST_MAIN(tst_MainWindowCommands)
#include "tst_MainWindowCommands.moc"
