#include "AppSession.h"
#include "app/frmPreview.h"
#include "compose/FontSetup.h"
#include "store/clsNoltIO.h"
#include "ui/frmAbout.h"
#include "ui/frmSetup.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <cmath>

namespace {

QList<QColor> standardCustomColors()
{
    const quint32 bgr[] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                           0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                           0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    QList<QColor> colors;
    for (quint32 c : bgr)
        colors << QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return colors;
}

void focusBox(frmMdiMain &w, QWidget *box)
{
    QApplication::setActiveWindow(&w);
    box->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(box->hasFocus());
}

} // namespace

class tst_frmMdiMainCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void toolbarDispatchByKey_data();
    void toolbarDispatchByKey();
    void settingsSavedRefreshesDateFields();
    void settingsCancelledChangesNothing_data();
    void settingsCancelledChangesNothing();
    void noMonthSelectedStaysUnselected();
    void swatchOpensColourDialog_data();
    void swatchOpensColourDialog();
    void inputFilterOnYearAndFontSizes_data();
    void inputFilterOnYearAndFontSizes();
    void photoSizeKeyRule();
    void unloadReleasesHook();
    void versionDialog();
    void alignmentStepsOnClick_data();
    void alignmentStepsOnClick();
    void nowDateSetsFields();
};

void tst_frmMdiMainCommands::initTestCase()
{
    FontSetup::install();
}

void tst_frmMdiMainCommands::toolbarDispatchByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("effect");
    QTest::newRow("template load") << "TbOpenTmp"
                                   << "open dialog, template filter";
    QTest::newRow("template save") << "TbSaveTmp"
                                   << "save dialog, template filter";
    QTest::newRow("exit") << "TbExit"
                          << "closing question";
    QTest::newRow("settings") << "TbSetup"
                              << "settings dialog";
    QTest::newRow("photo load") << "TbOpenPhoto"
                                << "open dialog, photo filter";
    QTest::newRow("photo remove") << "TbRemovePhoto"
                                  << "photo removed";
    QTest::newRow("clipboard") << "TbCopyClipboard"
                               << "clipboard image";
    QTest::newRow("photo save") << "TbSavePhoto"
                                << "save dialog, BMP filter";
}

void tst_frmMdiMainCommands::toolbarDispatchByKey()
{
    QFETCH(QString, key);
    QFETCH(QString, effect);
    Session s;
    frmMdiMain &w = s.start();
    w.preview()->composer().PhotoPath = s.path("gone.bmp");
    QGuiApplication::clipboard()->setText("before");
    QString setupCaption;
    if (key == "TbSetup") {
        onNextModal([&setupCaption](QWidget *dialog) {
            setupCaption = dialog->windowTitle();
            QVERIFY(qobject_cast<frmSetup *>(dialog));
            dialog->findChild<QPushButton *>("cmdClose")->click();
        });
    }
    s.services.messageAnswers.enqueue(QMessageBox::No);
    QAction *button = s.find<QToolBar>("Toolbar")->findChild<QAction *>(key);
    QVERIFY(button);
    w.Toolbar_ButtonClick(button);

    QString seen;
    if (!s.services.openCalls.isEmpty())
        seen = s.services.openCalls.first().filter.startsWith("ﾃﾝﾌﾟﾚｰﾄ")
                   ? "open dialog, template filter"
                   : "open dialog, photo filter";
    else if (!s.services.saveCalls.isEmpty())
        seen = s.services.saveCalls.first().filter.startsWith("BMP")
                   ? "save dialog, BMP filter"
                   : "save dialog, template filter";
    else if (!s.services.messageCalls.isEmpty())
        seen = "closing question";
    else if (!setupCaption.isEmpty())
        seen = "settings dialog";
    else if (w.preview()->PhotoPath().isEmpty())
        seen = "photo removed";
    else if (!QGuiApplication::clipboard()->image().isNull())
        seen = "clipboard image";
    QCOMPARE(seen, effect);
    QVERIFY(w.isVisible());
    if (key == "TbSetup")
        QCOMPARE(setupCaption, QString("全般の設定"));
}

void tst_frmMdiMainCommands::settingsSavedRefreshesDateFields()
{
    Session s;
    frmMdiMain &w = s.start();
    s.combo("cboMonth")->setCurrentIndex(2);
    QCOMPARE(s.combo("cboMonth")->currentText(), QString("03"));
    onNextModal([](QWidget *dialog) {
        dialog->findChild<QCheckBox *>("chkMonth")->setChecked(true);
        dialog->findChild<QComboBox *>("cboDateFormat")->setCurrentIndex(1);
        auto *margin = dialog->findChild<QLineEdit *>("txtMargin(2)");
        margin->setText("007");
        dialog->findChild<QPushButton *>("cmdSave")->click();
    });
    s.find<QAction>("IDMI_SETUP")->trigger();

    QCOMPARE(w.settings().ThreeCharMonth(), 1);
    QCOMPARE(w.settings().DateFormat(), 1);
    QCOMPARE(w.settings().MarginFrameHBorder(), 7);
    QCOMPARE(s.combo("cboMonth")->count(), 12);
    QCOMPARE(s.combo("cboMonth")->currentIndex(), 2);
    QCOMPARE(s.combo("cboMonth")->currentText(), QString("Mar"));
    // Month, day, year from left to right now.
    const ScreenTwips t = w.twips();
    QCOMPARE(s.combo("cboMonth")->x(), int(std::lround(210 / t.x)));
    QCOMPARE(s.combo("cboDay")->x(), int(std::lround(1065 / t.x)));
    QCOMPARE(s.edit("txtYear")->x(), int(std::lround(1740 / t.x)));
    // The picture is not composed again by the command; the next Preview uses the new margin.
    QVERIFY(!QFile::exists(s.path("nolt.ini")));
}

void tst_frmMdiMainCommands::settingsCancelledChangesNothing_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("閉じる button") << false;
    QTest::newRow("Escape key") << true;
}

void tst_frmMdiMainCommands::settingsCancelledChangesNothing()
{
    QFETCH(bool, byEscape);
    Session s;
    frmMdiMain &w = s.start();
    s.combo("cboMonth")->setCurrentIndex(10);
    onNextModal([byEscape](QWidget *dialog) {
        dialog->findChild<QCheckBox *>("chkMonth")->setChecked(true);
        dialog->findChild<QComboBox *>("cboDateFormat")->setCurrentIndex(1);
        dialog->findChild<QLineEdit *>("txtMargin(0)")->setText("99");
        if (byEscape)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->findChild<QPushButton *>("cmdClose")->click();
    });
    w.Toolbar_ButtonClick(s.find<QAction>("TbSetup"));
    QCOMPARE(w.settings().ThreeCharMonth(), 0);
    QCOMPARE(w.settings().DateFormat(), 0);
    QCOMPARE(w.settings().MarginFontVBorder(), 10);
    QCOMPARE(s.combo("cboMonth")->currentText(), QString("11"));
    const ScreenTwips t = w.twips();
    QCOMPARE(s.edit("txtYear")->x(), int(std::lround(210 / t.x)));
}

void tst_frmMdiMainCommands::noMonthSelectedStaysUnselected()
{
    Session s;
    frmMdiMain &w = s.start();
    s.combo("cboMonth")->setCurrentIndex(-1);
    onNextModal([](QWidget *dialog) {
        dialog->findChild<QCheckBox *>("chkMonth")->setChecked(true);
        dialog->findChild<QPushButton *>("cmdSave")->click();
    });
    w.IDMI_SETUP_Click();
    QCOMPARE(s.combo("cboMonth")->itemText(0), QString("Jan"));
    QCOMPARE(s.combo("cboMonth")->currentIndex(), -1);
}

void tst_frmMdiMainCommands::swatchOpensColourDialog_data()
{
    QTest::addColumn<QString>("swatch");
    QTest::newRow("border colour") << "picFrameColor";
    QTest::newRow("background colour") << "picBackColor";
    QTest::newRow("text colour of item 3") << "picFontColor(3)";
}

void tst_frmMdiMainCommands::swatchOpensColourDialog()
{
    QFETCH(QString, swatch);
    Session s;
    s.start();
    ColorSwatch *target = s.swatch(swatch);
    QVERIFY(target);
    target->BackColor(0x00204080);
    QList<qint32> others;
    for (ColorSwatch *sw : s.window->findChildren<ColorSwatch *>())
        if (sw != target)
            others << sw->BackColor();

    // Cancel keeps the colour.
    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(s.services.colorCalls.size(), 1);
    QCOMPARE(s.services.colorCalls[0].initial, QColor(0x80, 0x40, 0x20));
    QCOMPARE(s.services.colorCalls[0].title, QString("色の選択"));
    QCOMPARE(s.services.colorCalls[0].customColors, standardCustomColors());
    QCOMPARE(target->BackColor(), 0x00204080);

    // OK replaces it; the custom colours are the sixteen again at the next opening.
    s.services.colorAnswers.enqueue(QColor(1, 2, 3));
    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(target->BackColor(), 0x00030201);
    QCOMPARE(s.services.colorCalls[1].customColors, standardCustomColors());
    s.services.colorAnswers.enqueue(QColor(9, 9, 9));
    QTest::keyClick(target, Qt::Key_Space);
    QCOMPARE(s.services.colorCalls[2].initial, QColor(1, 2, 3));
    QCOMPARE(target->BackColor(), 0x00090909);

    QList<qint32> after;
    for (ColorSwatch *sw : s.window->findChildren<ColorSwatch *>())
        if (sw != target)
            after << sw->BackColor();
    QCOMPARE(after, others);
}

void tst_frmMdiMainCommands::inputFilterOnYearAndFontSizes_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("year") << "txtYear";
    QTest::newRow("font size of item 0") << "txtFontSize(0)";
    QTest::newRow("font size of item 4") << "txtFontSize(4)";
}

void tst_frmMdiMainCommands::inputFilterOnYearAndFontSizes()
{
    QFETCH(QString, box);
    Session s;
    frmMdiMain &w = s.start();
    QLineEdit *edit = s.edit(box);
    focusBox(w, edit);
    QCOMPARE(w.hook().HookedControl(), edit);
    QCOMPARE(w.hook().AllowFlags(), 0x1u);
    edit->clear();
    QTest::keyClicks(edit, "20a0- 2");
    QCOMPARE(edit->text(), QString("2002"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString("200"));

    QGuiApplication::clipboard()->setText("2002年");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString("200"));
    edit->clear();
    QGuiApplication::clipboard()->setText("2002");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString("2002"));

    // Only the focused box is filtered.
    QLineEdit *name = s.edit("txtTargetName");
    focusBox(w, name);
    QCOMPARE(w.hook().HookedControl(), nullptr);
    QTest::keyClicks(name, "M42 a");
    QCOMPARE(name->text(), QString("M42 a"));
}

void tst_frmMdiMainCommands::photoSizeKeyRule()
{
    Session s;
    frmMdiMain &w = s.start();
    QComboBox *size = s.combo("cboPhotoSize");
    focusBox(w, size);
    size->setEditText(QString());
    QTest::keyClicks(size->lineEdit(), "640X48x0a;");
    QCOMPARE(size->currentText(), QString("640x480"));
}

void tst_frmMdiMainCommands::unloadReleasesHook()
{
    Session s;
    frmMdiMain &w = s.start();
    focusBox(w, s.edit("txtFontSize(2)"));
    QVERIFY(w.hook().HookedControl());
    s.services.messageAnswers.enqueue(QMessageBox::Yes);
    QVERIFY(w.close());
    QCOMPARE(w.hook().HookedControl(), nullptr);
}

void tst_frmMdiMainCommands::versionDialog()
{
    Session s;
    frmMdiMain &w = s.start();
    QString caption;
    QWidget *owner = nullptr;
    onNextModal([&](QWidget *dialog) {
        caption = dialog->windowTitle();
        owner = dialog->parentWidget();
        QVERIFY(qobject_cast<frmAbout *>(dialog));
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    s.find<QAction>("IDMI_VERSION")->trigger();
    QCOMPARE(caption, QString("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(owner, static_cast<QWidget *>(&w));
    // Released when it closes.
    QVERIFY(w.findChildren<frmAbout *>().isEmpty());
}

void tst_frmMdiMainCommands::alignmentStepsOnClick_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("startTag");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QStringList>("tips");
    QTest::newRow("item 2 from start-up")
        << 2 << "" << QStringList{"1", "2", "0", "1"}
        << QStringList{"中央揃え", "右揃え", "左揃え", "中央揃え"};
    QTest::newRow("item 2 from a hidden right-above")
        << 2 << "4" << QStringList{"2", "0"} << QStringList{"右揃え", "左揃え"};
    QTest::newRow("item 4 from start-up")
        << 4 << "" << QStringList{"1", "2", "3", "4", "0", "1"}
        << QStringList{"中央揃え", "右揃え", "上項目の左", "上項目の右", "左揃え", "中央揃え"};
    QTest::newRow("item 3 from right-above")
        << 3 << "4" << QStringList{"0"} << QStringList{"左揃え"};
}

void tst_frmMdiMainCommands::alignmentStepsOnClick()
{
    QFETCH(int, item);
    QFETCH(QString, startTag);
    QFETCH(QStringList, tags);
    QFETCH(QStringList, tips);
    Session s;
    s.start();
    AlignButton *button = s.align(item);
    if (!startTag.isEmpty())
        button->setAlignmentTag(startTag);
    QStringList seenTags;
    QStringList seenTips;
    for (int k = 0; k < tags.size(); ++k) {
        // A click on the button itself, away from its drop-down arrow.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        seenTags << button->Tag();
        seenTips << button->toolTip();
        QCOMPARE(button->image(), button->Tag().toInt() + 1);
    }
    QCOMPARE(seenTags, tags);
    QCOMPARE(seenTips, tips);
}

void tst_frmMdiMainCommands::nowDateSetsFields()
{
    Session s;
    s.start();
    s.services.clock = QDateTime(QDate(2003, 2, 5), QTime(0, 7, 59));
    s.find<QPushButton>("cmdNowDate")->click();
    QCOMPARE(s.combo("cboMonth")->currentText(), QString("02"));
    QCOMPARE(s.combo("cboDay")->currentText(), QString("05"));
    QCOMPARE(s.edit("txtYear")->text(), QString("2003"));
    QCOMPARE(s.edit("txtTime")->text(), QString("00:07 JST"));
}

QTEST_MAIN(tst_frmMdiMainCommands)
#include "tst_frmMdiMainCommands.moc"
