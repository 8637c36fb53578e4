#include "AppSession.h"
#include "app/AlignButton.h"
#include "app/ColorSwatch.h"
#include "app/PreviewCanvas.h"
#include "app/frmMdiMain.h"
#include "app/frmPreview.h"
#include "compose/FontSetup.h"
#include "store/clsNoltIO.h"
#include "store/clsTemplateIO.h"
#include "support/FakePlatformServices.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <cmath>
#include <memory>

namespace {

constexpr qint32 White = 0x00FFFFFF;

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every panel field set to a value that differs from the start-up panel.
void fillPanel(const Session &s)
{
    s.combo("cboPhotoSize")->setEditText("640x480");
    s.swatch("picFrameColor")->BackColor(0x00123456);
    s.swatch("picBackColor")->BackColor(0x00203040);
    s.combo("cboFrameSize")->setCurrentIndex(2);
    s.edit("txtTargetName")->setText("M42 オリオン大星雲");
    s.combo("cboMonth")->setCurrentIndex(2);
    s.combo("cboDay")->setCurrentIndex(24);
    s.edit("txtYear")->setText("2001");
    s.edit("txtTime")->setText("22:30");
    for (int k = 0; k < 3; ++k)
        s.edit(QStringLiteral("txtFooter(%1)").arg(k))
            ->setText(QStringLiteral("フッター %1").arg(k));
    const QStringList faces = {"ＭＳ 明朝", "ＭＳ Ｐゴシック", "ＭＳ ゴシック", "ＭＳ Ｐ明朝",
                               "ＭＳ 明朝"};
    for (int i = 0; i < 5; ++i) {
        QComboBox *font = s.combo(QStringLiteral("cboFontName(%1)").arg(i));
        font->setCurrentIndex(font->findText(faces[i]));
        QVERIFY(font->currentIndex() >= 0);
        s.edit(QStringLiteral("txtFontSize(%1)").arg(i))->setText(QString::number(11 + i));
        s.swatch(QStringLiteral("picFontColor(%1)").arg(i))->BackColor(0x00010203 * (i + 1));
        s.toggle(QStringLiteral("chkBold(%1)").arg(i))->setChecked(i % 2 == 0);
        s.toggle(QStringLiteral("chkItalic(%1)").arg(i))->setChecked(i % 2 == 1);
        s.toggle(QStringLiteral("chkStrikethrough(%1)").arg(i))->setChecked(i == 3);
        s.toggle(QStringLiteral("chkUnderline(%1)").arg(i))->setChecked(i >= 2);
    }
    s.align(2)->chooseEntry(2);
    s.align(3)->chooseEntry(4);
    s.align(4)->chooseEntry(5);
}

int px(double twips, double tpp)
{
    return int(std::lround(twips / tpp));
}

} // namespace

class tst_frmMdiMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startupWithoutFiles();
    void startupAppliesDefaultTemplateKeepingDateAndTime();
    void startupRestoresStoredRectangle();
    void inventoryGeometry_data();
    void inventoryGeometry();
    void menusAndToolbar();
    void previewReflectsEveryPanelField();
    void previewWindowFitsClientArea();
    void templateRoundTripThroughPanel();
    void templateFacesKeptWhenNotInstalled();
    void cancelledDialogsChangeNothing();
    void setDefaultWritesDefaultTemplate();
    void failedTemplateSaveIsTold();
    void closingNoWritesNothing();
    void closingYesWritesRectangle();
    void failedSettingsWriteAtExit();
    void dateFields_data();
    void dateFields();
    void alignmentButtonSteps();
    void compositionFailureKeepsRunning();
    void colorDepthText_data();
    void colorDepthText();
};

void tst_frmMdiMain::initTestCase()
{
    FontSetup::install();
}

void tst_frmMdiMain::startupWithoutFiles()
{
    Session s;
    frmMdiMain &w = s.start();
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QString("Morvel Ver 2.03"));
    QCOMPARE(s.combo("cboPhotoSize")->currentText(), QString("160x120"));
    QCOMPARE(s.combo("cboFrameSize")->currentText(), QString("01"));
    QCOMPARE(s.swatch("picFrameColor")->BackColor(), White);
    QCOMPARE(s.swatch("picBackColor")->BackColor(), 0);
    // The fake clock reads 31 December 2002, 23:59:30.
    QCOMPARE(s.combo("cboMonth")->currentText(), QString("12"));
    QCOMPARE(s.combo("cboDay")->currentText(), QString("31"));
    QCOMPARE(s.edit("txtYear")->text(), QString("2002"));
    QCOMPARE(s.edit("txtTime")->text(), QString("23:59 JST"));
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(s.combo(QStringLiteral("cboFontName(%1)").arg(i))->currentText(),
                 QString("ＭＳ ゴシック"));
        QCOMPARE(s.edit(QStringLiteral("txtFontSize(%1)").arg(i))->text(), QString("10"));
        QCOMPARE(s.swatch(QStringLiteral("picFontColor(%1)").arg(i))->BackColor(), White);
    }
    for (int i = 2; i <= 4; ++i) {
        QCOMPARE(s.align(i)->toolTip(), QString("左揃え"));
        QCOMPARE(s.align(i)->Tag(), QString());
        QCOMPARE(s.align(i)->image(), 1);
    }
    // The first picture is composed from the panel and shown.
    QVERIFY(w.preview());
    QVERIFY(w.preview()->isVisible());
    QVERIFY(w.lastOutcome().isDrawn());
    QCOMPARE(w.frame().PhotoWidth, 160);
    QCOMPARE(w.frame().PhotoHeight, 120);
    QCOMPARE(w.frame().TextItems[1].Text, QString("2002/12/31 23:59 JST"));
    QCOMPARE(s.find<PreviewCanvas>("picPreview")->image(), w.preview()->canvasImage());
    QVERIFY(!s.find<QLabel>("StatusBarPanel1")->text().isEmpty());
    QVERIFY(s.services.messageCalls.isEmpty());
    QVERIFY(!QFile::exists(s.path("nolt.ini")));
}

void tst_frmMdiMain::startupAppliesDefaultTemplateKeepingDateAndTime()
{
    Session s;
    clsTemplateIO tpl;
    tpl.FrameSize("320x240");
    tpl.BorderColor(0x0000FF00);
    tpl.BackColor(0x00400000);
    tpl.BorderWidth(3);
    tpl.Month(3);
    tpl.Day(4);
    tpl.Year("1999");
    tpl.Time("01:02");
    tpl.Data(0, "M31");
    tpl.Data(3, "second footer");
    for (int i = 0; i < 5; ++i) {
        tpl.FontName(i, "ＭＳ 明朝");
        tpl.FontSize(i, 12);
    }
    tpl.FontAlign(3, 4);
    QVERIFY(tpl.SaveFile(s.path("default.kvl"), true));

    frmMdiMain &w = s.start();
    QCOMPARE(s.combo("cboPhotoSize")->currentText(), QString("320x240"));
    QCOMPARE(s.combo("cboFrameSize")->currentText(), QString("03"));
    QCOMPARE(s.swatch("picBackColor")->BackColor(), 0x00400000);
    QCOMPARE(s.edit("txtTargetName")->text(), QString("M31"));
    QCOMPARE(s.edit("txtFooter(1)")->text(), QString("second footer"));
    QCOMPARE(s.combo("cboFontName(2)")->currentText(), QString("ＭＳ 明朝"));
    QCOMPARE(s.align(3)->Tag(), QString("4"));
    QCOMPARE(s.align(3)->image(), 5);
    QCOMPARE(s.align(3)->toolTip(), QString("上項目の右"));
    // Date and time stay today's.
    QCOMPARE(s.combo("cboMonth")->currentIndex(), 11);
    QCOMPARE(s.combo("cboDay")->currentIndex(), 30);
    QCOMPARE(s.edit("txtYear")->text(), QString("2002"));
    QCOMPARE(s.edit("txtTime")->text(), QString("23:59 JST"));
    QCOMPARE(w.frame().PhotoWidth, 320);
    QCOMPARE(w.frame().BorderWidth, 3);
}

void tst_frmMdiMain::startupRestoresStoredRectangle()
{
    Session s;
    const ScreenTwips t = ScreenTwips::primary();
    writeAll(s.path("nolt.ini"), QStringLiteral("[Common]\r\nSavepos=1\r\nx=%1\r\ny=%2\r\n"
                                                "width=%3\r\nheight=%4\r\nENGMONTH=1\r\n")
                                     .arg(std::lround(90 * t.x))
                                     .arg(std::lround(60 * t.y))
                                     .arg(std::lround(1000 * t.x))
                                     .arg(std::lround(700 * t.y))
                                     .toLatin1());
    frmMdiMain &w = s.start();
    QCOMPARE(w.pos(), QPoint(90, 60));
    QCOMPARE(w.size(), QSize(1000, 700));
    QCOMPARE(s.combo("cboMonth")->currentText(), QString("Dec"));
    QCOMPARE(s.combo("cboMonth")->count(), 12);
}

void tst_frmMdiMain::inventoryGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    const auto row = [](const char *name, int l, int t, int w, int h) {
        QTest::newRow(name) << QString::fromUtf8(name) << QRect(l, t, w, h);
    };
    row("picDemo", 60, 60, 1710, 1725);
    row("lblTag(10)", 1890, 165, 975, 225);
    row("cboPhotoSize", 2910, 120, 1515, 300);
    row("lblTag(13)", 1890, 495, 975, 225);
    row("cboFrameSize", 2910, 450, 855, 300);
    row("lblTag(14)", 1890, 795, 975, 225);
    row("picFrameColor", 2910, 780, 555, 255);
    row("lblTag(11)", 3540, 795, 675, 225);
    row("picBackColor", 4260, 780, 555, 255);
    row("cmdPreview", 1920, 1170, 2325, 600);
    row("lblTag(0)", 60, 1972, 135, 300);
    row("lblTag(4)", 60, 3292, 135, 300);
    row("txtTargetName", 210, 1980, 4395, 285);
    row("txtTime", 2430, 2325, 1005, 285);
    row("cmdNowDate", 3480, 2325, 1125, 285);
    row("txtFooter(2)", 210, 3300, 4395, 285);
    row("lblTag(9)", 60, 4980, 135, 300);
    row("cboFontName(3)", 210, 4680, 1845, 300);
    row("txtFontSize(0)", 2070, 3780, 435, 300);
    row("picFontColor(4)", 2520, 4980, 435, 300);
    row("chkBold(1)", 3000, 4080, 285, 300);
    row("chkItalic(1)", 3300, 4080, 285, 300);
    row("chkStrikethrough(2)", 3600, 4380, 285, 300);
    row("chkUnderline(4)", 3900, 4980, 285, 300);
    row("tlbFontAlign(2)", 4230, 4335, 555, 390);
    row("tlbFontAlign(4)", 4230, 4935, 555, 390);
}

void tst_frmMdiMain::inventoryGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    Session s;
    s.start();
    QWidget *control = s.find<QWidget>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), QString("Picture1"));
    const ScreenTwips t = ScreenTwips::primary();
    QCOMPARE(control->geometry(), QRect(px(twips.x(), t.x), px(twips.y(), t.y),
                                        px(twips.width(), t.x), px(twips.height(), t.y)));
}

void tst_frmMdiMain::menusAndToolbar()
{
    Session s;
    frmMdiMain &w = s.start();
    QStringList captions;
    for (QAction *menu : w.menuBar()->actions())
        captions << menu->text();
    QCOMPARE(captions, QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "画像(&G)", "ﾍﾙﾌﾟ(&H)"}));
    QMenu *file = s.find<QMenu>("IDM_FILE");
    QVERIFY(file);
    QStringList fileEntries;
    for (QAction *a : file->actions())
        fileEntries << (a->isSeparator() ? "-" : a->text()) + "=" + a->objectName();
    QCOMPARE(fileEntries, QStringList({"ﾃﾝﾌﾟﾚｰﾄの読み込み(&L)=IDMI_LOADTEMPLATE",
                                       "ﾃﾝﾌﾟﾚｰﾄの保存(&S)=IDMI_SAVETEMPLATE", "-=IDMI_SEP3",
                                       "終了(&X)=IDMI_EXIT"}));
    QCOMPARE(s.find<QAction>("IDMI_SETDEFAULT")->text(), QString("現在の設定を起動時に表示(&D)"));
    QCOMPARE(s.find<QAction>("IDM_SAVEPHOTO")->text(), QString("ﾌｧｲﾙに保存(&S)..."));
    QCOMPARE(s.find<QAction>("IDMI_VERSION")->text(), QString("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));

    QToolBar *bar = s.find<QToolBar>("Toolbar");
    QVERIFY(bar);
    QStringList entries;
    for (QAction *a : bar->actions()) {
        if (a->isSeparator())
            entries << "|";
        else if (a->objectName().isEmpty())
            entries << "gap";
        else
            entries << a->objectName() + "=" + a->toolTip();
    }
    QCOMPARE(entries, QStringList({"TbOpenTmp=ﾃﾝﾌﾟﾚｰﾄの読み込み", "TbSaveTmp=ﾃﾝﾌﾟﾚｰﾄの保存", "|",
                                   "TbSetup=全般の設定", "|", "TbExit=終了", "gap",
                                   "TbOpenPhoto=画像ﾌｧｲﾙの読み込み", "TbRemovePhoto=画像ﾌｧｲﾙを外す",
                                   "|", "TbCopyClipboard=ﾌﾟﾚﾋﾞｭｰｲﾒｰｼﾞをｸﾘｯﾌﾟﾎﾞｰﾄﾞへ複写",
                                   "TbSavePhoto=ﾌﾟﾚﾋﾞｭｰｲﾒｰｼﾞをﾌｧｲﾙに保存"}));
    for (QAction *a : bar->actions()) {
        if (!a->isSeparator() && !a->objectName().isEmpty())
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    }
    // The separators and the gap run nothing.
    for (QAction *a : bar->actions()) {
        if (a->isSeparator() || a->objectName().isEmpty())
            w.Toolbar_ButtonClick(a);
    }
    QVERIFY(s.services.messageCalls.isEmpty());
    QVERIFY(w.isVisible());

    QCOMPARE(s.find<QPushButton>("cmdNowDate")->toolTip(), QString("現在日時を設定"));
    QCOMPARE(s.toggle("chkStrikethrough(0)")->toolTip(), QString("取り消し線"));
    QVERIFY(s.toggle("chkUnderline(0)")->font().underline());
    QCOMPARE(s.combo("cboDay")->count(), 31);
    QCOMPARE(s.combo("cboFrameSize")->itemText(9), QString("10"));
    QCOMPARE(s.combo("cboPhotoSize")->itemText(5), QString("800x600"));
    QCOMPARE(s.find<QLabel>("lblTag(10)")->text(), QString("枠の大きさ"));
}

void tst_frmMdiMain::previewReflectsEveryPanelField()
{
    Session s;
    frmMdiMain &w = s.start();
    fillPanel(s);
    w.settings().DelimiterFormat(3);
    s.find<QPushButton>("cmdPreview")->click();

    const FrameDescription &f = w.frame();
    QVERIFY(w.lastOutcome().isDrawn());
    QCOMPARE(f.PhotoWidth, 640);
    QCOMPARE(f.PhotoHeight, 480);
    QCOMPARE(f.BorderColor, 0x00123456);
    QCOMPARE(f.BackColor, 0x00203040);
    QCOMPARE(f.BorderWidth, 3);
    QCOMPARE(f.TextItems[0].Text, QString("M42 オリオン大星雲"));
    QCOMPARE(f.TextItems[1].Text, QString("2001年03月25日 22:30"));
    QCOMPARE(f.TextItems[2].Text, QString("フッター 0"));
    QCOMPARE(f.TextItems[4].Text, QString("フッター 2"));
    const QStringList faces = {"ＭＳ 明朝", "ＭＳ Ｐゴシック", "ＭＳ ゴシック", "ＭＳ Ｐ明朝",
                               "ＭＳ 明朝"};
    for (int i = 0; i < 5; ++i) {
        const TextItem &item = f.TextItems[i];
        QCOMPARE(item.FontName, faces[i]);
        QCOMPARE(item.FontSize, 11 + i);
        QCOMPARE(item.FontColor, 0x00010203 * (i + 1));
        QCOMPARE(item.FontBold, i % 2 == 0);
        QCOMPARE(item.FontItalic, i % 2 == 1);
        QCOMPARE(item.FontStrikethru, i == 3);
        QCOMPARE(item.FontUnderline, i >= 2);
    }
    QCOMPARE(f.TextItems[0].FontAlign, 0);
    QCOMPARE(f.TextItems[1].FontAlign, 2);
    QCOMPARE(f.TextItems[2].FontAlign, 1);
    QCOMPARE(f.TextItems[3].FontAlign, 3);
    QCOMPARE(f.TextItems[4].FontAlign, 4);
    // The canvas shows the new picture: the background colour at its top-left corner.
    const QImage &canvas = w.preview()->canvasImage();
    QVERIFY(canvas.width() >= 640 + 2 * 20);
    QCOMPARE(canvas.pixelColor(0, 0), ColorSwatch::toQColor(0x00203040));
}

void tst_frmMdiMain::previewWindowFitsClientArea()
{
    Session s;
    frmMdiMain &w = s.start();
    QMdiArea *area = w.clientArea();
    frmPreview *preview = w.preview();
    PreviewCanvas *canvas = s.find<PreviewCanvas>("picPreview");
    // Small canvas: the window fills the client area and the canvas sits in its middle.
    const QSize client = area->contentsRect().size();
    const QSize small = preview->canvasImage().size();
    QVERIFY(small.width() < client.width() && small.height() < client.height());
    QCOMPARE(preview->geometry(), QRect(QPoint(0, 0), client));
    QCOMPARE(canvas->geometry(),
             QRect(QPoint(int(std::nearbyint((client.width() - small.width()) * 0.5)),
                          int(std::nearbyint((client.height() - small.height()) * 0.5))),
                   small));

    // Large canvas: the window is as large as the canvas, the canvas at its top-left corner.
    s.combo("cboPhotoSize")->setEditText("1600x1200");
    s.find<QPushButton>("cmdPreview")->click();
    const QSize large = preview->canvasImage().size();
    QVERIFY(large.width() > client.width() && large.height() > client.height());
    QCOMPARE(preview->size(), large);
    QCOMPARE(canvas->geometry(), QRect(QPoint(0, 0), large));

    // A photo size out of range composes nothing and keeps the canvas.
    s.combo("cboPhotoSize")->setEditText("40x40");
    s.find<QPushButton>("cmdPreview")->click();
    QCOMPARE(preview->canvasImage().size(), large);
    QVERIFY(preview->isVisible());
    QVERIFY(s.services.messageCalls.isEmpty());

    // Resizing the visible window composes again for the new client area.
    s.combo("cboPhotoSize")->setEditText("160x120");
    s.find<QPushButton>("cmdPreview")->click();
    w.resize(w.width() + 120, w.height() + 40);
    QTRY_COMPARE(preview->geometry(), QRect(QPoint(0, 0), area->contentsRect().size()));
}

void tst_frmMdiMain::templateRoundTripThroughPanel()
{
    Session s;
    frmMdiMain &w = s.start();
    fillPanel(s);
    const PanelValues saved = w.panelValues();
    const QString file = s.path("m42.kvl");
    s.services.saveAnswers.enqueue(file);
    w.findChild<QAction *>("IDMI_SAVETEMPLATE")->trigger();
    QVERIFY(QFile::exists(file));
    QCOMPARE(s.services.saveCalls.size(), 1);
    const auto &save = s.services.saveCalls.first();
    QCOMPARE(save.filter, QString("ﾃﾝﾌﾟﾚｰﾄﾌｧｲﾙ (*.kvl)|*.kvl|全てのﾌｧｲﾙ (*.*)|*.*"));
    QCOMPARE(save.filterIndex, 0);
    QCOMPARE(save.initialDir, s.dir.path());
    QVERIFY(save.confirmOverwrite);
    QVERIFY(save.pathMustExist);
    QCOMPARE(w.settings().TemplatePath(), s.dir.path());

    // Back to the start-up panel, then the template brings every field back.
    w.setPanelValues(
        PanelValues::startupDefaults(s.services.clock, FontSetup::panelFontNames(), false));
    QVERIFY(w.panelValues() != saved);
    s.services.openAnswers.enqueue(file);
    w.Toolbar_ButtonClick(w.findChild<QAction *>("TbOpenTmp"));
    QCOMPARE(s.services.openCalls.size(), 1);
    QVERIFY(s.services.openCalls.first().confirmCreate);
    QCOMPARE(s.services.openCalls.first().fileName, QString());
    QCOMPARE(w.panelValues(), saved);
    // The load composes the picture again.
    QCOMPARE(w.frame().PhotoWidth, 640);
    QCOMPARE(w.frame().TextItems[0].Text, QString("M42 オリオン大星雲"));

    // The save dialog proposes the name last chosen.
    w.Toolbar_ButtonClick(w.findChild<QAction *>("TbSaveTmp"));
    QCOMPARE(s.services.saveCalls.last().fileName, file);
}

void tst_frmMdiMain::templateFacesKeptWhenNotInstalled()
{
    // A template made elsewhere names a Windows face; saved again here, the name is unchanged.
    Session s;
    frmMdiMain &w = s.start();
    clsTemplateIO tpl;
    tpl.BorderWidth(1);
    for (int i = 0; i < 5; ++i)
        tpl.FontName(i, i == 3 ? "No Such Font Family" : "ＭＳ Ｐ明朝");
    QVERIFY(tpl.SaveFile(s.path("windows.kvl"), true));
    QVERIFY(w.LoadTemplateFile(s.path("windows.kvl"), false));
    QCOMPARE(s.combo("cboFontName(0)")->currentText(), QString("ＭＳ Ｐ明朝"));
    // A face that is not offered leaves that row's font as it was.
    QCOMPARE(s.combo("cboFontName(3)")->currentText(), QString("ＭＳ ゴシック"));
    QVERIFY(w.SaveTemplateFile(s.path("again.kvl")));
    clsTemplateIO again;
    QVERIFY(again.OpenFile(s.path("again.kvl")));
    QCOMPARE(again.FontName(4), QString("ＭＳ Ｐ明朝"));
}

void tst_frmMdiMain::cancelledDialogsChangeNothing()
{
    Session s;
    frmMdiMain &w = s.start();
    fillPanel(s);
    const PanelValues before = w.panelValues();
    const FrameDescription frameBefore = w.frame();
    w.findChild<QAction *>("IDMI_LOADTEMPLATE")->trigger(); // cancelled: no answer queued
    w.findChild<QAction *>("IDMI_SAVETEMPLATE")->trigger();
    QCOMPARE(s.services.openCalls.size(), 1);
    QCOMPARE(s.services.saveCalls.size(), 1);
    QCOMPARE(w.panelValues(), before);
    QCOMPARE(w.frame().PhotoWidth, frameBefore.PhotoWidth);
    QCOMPARE(w.frame().TextItems[0].Text, frameBefore.TextItems[0].Text);
    QCOMPARE(w.settings().TemplatePath(), s.dir.path());
    QCOMPARE(QDir(s.dir.path()).entryList(QDir::Files), QStringList());

    // A name of a file that does not exist loads nothing, clears the folder and composes again.
    s.services.openAnswers.enqueue(s.path("missing.kvl"));
    w.findChild<QAction *>("IDMI_LOADTEMPLATE")->trigger();
    QCOMPARE(w.panelValues(), before);
    QCOMPARE(w.settings().TemplatePath(), QString());
    QCOMPARE(w.frame().PhotoWidth, 640);
}

void tst_frmMdiMain::setDefaultWritesDefaultTemplate()
{
    Session s;
    {
        frmMdiMain &w = s.start();
        fillPanel(s);
        w.findChild<QAction *>("IDMI_SETDEFAULT")->trigger();
        QVERIFY(s.services.saveCalls.isEmpty());
        QVERIFY(QFile::exists(s.path("default.kvl")));
    }
    // The next start takes everything but the date and time from it.
    s.window.reset();
    s.services.clock = QDateTime(QDate(2024, 2, 9), QTime(0, 7));
    frmMdiMain &w = s.start();
    QCOMPARE(s.edit("txtTargetName")->text(), QString("M42 オリオン大星雲"));
    QCOMPARE(s.align(4)->Tag(), QString("4"));
    QCOMPARE(s.edit("txtTime")->text(), QString("00:07 JST"));
    QCOMPARE(s.combo("cboMonth")->currentIndex(), 1);
    QCOMPARE(w.frame().PhotoWidth, 640);
}

void tst_frmMdiMain::failedTemplateSaveIsTold()
{
    Session s;
    frmMdiMain &w = s.start();
    // A folder of that name stands where the file should go.
    const QString target = s.path("m42.kvl");
    QVERIFY(QDir(s.dir.path()).mkdir("m42.kvl"));
    s.services.saveAnswers.enqueue(target);
    w.findChild<QAction *>("IDMI_SAVETEMPLATE")->trigger();
    QCOMPARE(s.services.messageCalls.size(), 1);
    const auto &call = s.services.messageCalls.first();
    QCOMPARE(call.icon, QMessageBox::Warning);
    QVERIFY2(call.text.contains(QDir::toNativeSeparators(target)), qPrintable(call.text));
    QVERIFY(call.text.count('\n') >= 1);
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(w.settings().TemplatePath(), s.dir.path());
    QVERIFY(w.isVisible());
}

void tst_frmMdiMain::closingNoWritesNothing()
{
    Session s;
    frmMdiMain &w = s.start();
    fillPanel(s);
    const PanelValues before = w.panelValues();
    s.services.messageAnswers.enqueue(QMessageBox::No);
    w.Toolbar_ButtonClick(w.findChild<QAction *>("TbExit"));
    QVERIFY(w.isVisible());
    QCOMPARE(s.services.messageCalls.size(), 1);
    const auto &call = s.services.messageCalls.first();
    QCOMPARE(call.icon, QMessageBox::Question);
    QCOMPARE(call.caption, QString("終了確認"));
    QCOMPARE(call.text, QString("終了します。よろしいですか？"));
    QCOMPARE(call.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(call.defaultButton, QMessageBox::No);
    QVERIFY(!QFile::exists(s.path("nolt.ini")));
    QCOMPARE(w.panelValues(), before);

    // The close box asks the same question; an unanswered question takes the default, No.
    QVERIFY(!w.close());
    QCOMPARE(s.services.messageCalls.size(), 2);
    QVERIFY(w.isVisible());
    QVERIFY(!QFile::exists(s.path("nolt.ini")));
}

void tst_frmMdiMain::closingYesWritesRectangle()
{
    Session s;
    frmMdiMain &w = s.start();
    w.move(40, 30);
    w.resize(900, 640);
    s.services.messageAnswers.enqueue(QMessageBox::Yes);
    w.findChild<QAction *>("IDMI_EXIT")->trigger();
    QVERIFY(!w.isVisible());
    QVERIFY(QFile::exists(s.path("nolt.ini")));
    const ScreenTwips t = ScreenTwips::primary();
    clsNoltIO read(s.dir.path(), t.x, t.y);
    QVERIFY(read.OpenFile(s.path("nolt.ini")));
    QCOMPARE(read.X(), qint32(std::lround(w.frameGeometry().x() * t.x)));
    QCOMPARE(read.Y(), qint32(std::lround(w.frameGeometry().y() * t.y)));
    QCOMPARE(read.Width(), qint32(std::lround(900 * t.x)));
    QCOMPARE(read.Height(), qint32(std::lround(640 * t.y)));
    QCOMPARE(read.SavePosition(), 0);
}

void tst_frmMdiMain::failedSettingsWriteAtExit()
{
    Session s;
    frmMdiMain &w = s.start();
    // A folder in the way of "nolt.ini" makes every write fail.
    QVERIFY(QDir(s.dir.path()).mkdir("nolt.ini"));
    s.services.messageAnswers.enqueue(QMessageBox::Yes);
    s.services.messageAnswers.enqueue(QMessageBox::Retry);
    s.services.messageAnswers.enqueue(QMessageBox::Cancel);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(s.services.messageCalls.size(), 3);
    const auto &told = s.services.messageCalls[1];
    QVERIFY2(told.text.contains(QDir::toNativeSeparators(w.settingsPath())), qPrintable(told.text));
    QVERIFY(told.buttons.testFlag(QMessageBox::Ignore));

    s.services.messageAnswers.enqueue(QMessageBox::Yes);
    s.services.messageAnswers.enqueue(QMessageBox::Ignore);
    QVERIFY(w.close());
}

void tst_frmMdiMain::dateFields_data()
{
    QTest::addColumn<int>("dateFormat");
    QTest::addColumn<int>("threeCharMonth");
    QTest::addColumn<QStringList>("tabOrder");
    QTest::addColumn<QList<int>>("lefts"); // txtYear, cboMonth, cboDay in twips
    QTest::addColumn<QString>("december");
    QTest::newRow("year first, numeric months")
        << 0 << 0 << QStringList({"txtYear", "cboMonth", "cboDay"}) << QList<int>{210, 855, 1710}
        << "12";
    QTest::newRow("month first, English months")
        << 1 << 1 << QStringList({"cboMonth", "cboDay", "txtYear"}) << QList<int>{1740, 210, 1065}
        << "Dec";
    QTest::newRow("unknown order keeps the designed places")
        << 2 << 0 << QStringList({"cboMonth", "cboDay", "txtYear"}) << QList<int>{1710, 210, 1050}
        << "12";
}

void tst_frmMdiMain::dateFields()
{
    QFETCH(int, dateFormat);
    QFETCH(int, threeCharMonth);
    QFETCH(QStringList, tabOrder);
    QFETCH(QList<int>, lefts);
    QFETCH(QString, december);
    Session s;
    writeAll(s.path("nolt.ini"), QStringLiteral("[Common]\r\nDateFormat=%1\r\nENGMONTH=%2\r\n")
                                     .arg(dateFormat)
                                     .arg(threeCharMonth)
                                     .toLatin1());
    s.start();
    const ScreenTwips t = ScreenTwips::primary();
    QCOMPARE(s.edit("txtYear")->x(), px(lefts[0], t.x));
    QCOMPARE(s.combo("cboMonth")->x(), px(lefts[1], t.x));
    QCOMPARE(s.combo("cboDay")->x(), px(lefts[2], t.x));
    QCOMPARE(s.combo("cboMonth")->currentText(), december);

    QStringList order;
    QWidget *w = s.edit("txtTargetName")->nextInFocusChain();
    while (order.size() < 4) {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
        w = w->nextInFocusChain();
    }
    QCOMPARE(order, tabOrder + QStringList({"txtTime"}));

    // The month list refilled in the other form keeps the same month.
    s.window->settings().ThreeCharMonth(1 - threeCharMonth);
    const int selected = s.combo("cboMonth")->currentIndex();
    s.window->FillMonthList();
    QCOMPARE(s.combo("cboMonth")->currentIndex(), -1);
    s.combo("cboMonth")->setCurrentIndex(selected);
    QCOMPARE(s.combo("cboMonth")->currentText(), threeCharMonth ? QString("12") : QString("Dec"));
}

void tst_frmMdiMain::alignmentButtonSteps()
{
    Session s;
    frmMdiMain &w = s.start();
    AlignButton *first = s.align(2);
    QVERIFY(!first->entry(4)->isVisible());
    QVERIFY(!first->entry(5)->isVisible());
    QVERIFY(s.align(3)->entry(5)->isVisible());
    QCOMPARE(first->entry(4)->objectName(), QString("IDT_LEFTUP"));
    QStringList tips;
    for (int k = 0; k < 3; ++k) {
        w.tlbFontAlign_ButtonClick(2);
        tips << first->toolTip();
    }
    QCOMPARE(tips, QStringList({"中央揃え", "右揃え", "左揃え"}));
    QCOMPARE(first->Tag(), QString("0"));

    s.align(4)->entry(5)->trigger();
    QCOMPARE(s.align(4)->Tag(), QString("4"));
    QCOMPARE(s.align(4)->image(), 5);
    w.tlbFontAlign_ButtonClick(4);
    QCOMPARE(s.align(4)->Tag(), QString("0"));

    // A hidden entry put on item 2 by a template steps on to centre.
    first->setAlignmentTag("3");
    w.tlbFontAlign_ButtonClick(2);
    QCOMPARE(first->toolTip(), QString("中央揃え"));
}

void tst_frmMdiMain::compositionFailureKeepsRunning()
{
    Session s;
    writeAll(s.path("nolt.ini"), "[Margin]\r\nFrameHorizonBorder=2000000000\r\n");
    frmMdiMain &w = s.start();
    QVERIFY(w.isVisible());
    QCOMPARE(w.lastOutcome().kind, ComposeOutcome::Kind::Failed);
    QVERIFY(!w.statusBar()->currentMessage().isEmpty());

    // Once the margin is sane again, the next Preview composes and the message goes.
    w.settings().MarginFrameHBorder(20);
    s.find<QPushButton>("cmdPreview")->click();
    QVERIFY(w.lastOutcome().isDrawn());
    QVERIFY(w.statusBar()->currentMessage().isEmpty());
    QVERIFY(w.preview()->isVisible());
}

void tst_frmMdiMain::colorDepthText_data()
{
    QTest::addColumn<double>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("32 bits") << std::ldexp(1.0, 32) << "True Color (32bit)";
    QTest::newRow("24 bits") << std::ldexp(1.0, 24) << "True Color (24bit)";
    QTest::newRow("16 bits") << std::ldexp(1.0, 16) << "High Color (16bit)";
    QTest::newRow("15 bits") << std::ldexp(1.0, 15) << "32768 色";
    QTest::newRow("8 bits") << 256.0 << "256 色";
    QTest::newRow("4 bits") << 16.0 << "16 色";
    QTest::newRow("unknown") << 0.0 << "0 色";
}

void tst_frmMdiMain::colorDepthText()
{
    QFETCH(double, count);
    QFETCH(QString, text);
    QCOMPARE(frmMdiMain::colorDepthText(count), text);
}

QTEST_MAIN(tst_frmMdiMain)
#include "tst_frmMdiMain.moc"
