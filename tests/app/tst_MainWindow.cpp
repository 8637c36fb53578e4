#include "AppSession.h"
#include "app/PreviewCanvas.h"
#include "app/PreviewWindow.h"
#include "common/ColorRef.h"
#include "compose/FontSetup.h"
#include "store/TemplateFile.h"
#include "store/Translations.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

#include <cmath>

using TestFiles::writeAll;

namespace {

QString row(const char *name, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

const QStringList Faces = {"ＭＳ 明朝", "ＭＳ Ｐゴシック", "ＭＳ ゴシック", "ＭＳ Ｐ明朝",
                           "ＭＳ 明朝"};

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        FontSetup::install();
        setLocalZone("Asia/Tokyo");
    }
    void startupWithoutFiles()
    {
        Session s;
        MainWindow &w = s.start();
        // The start-up values and the toolbar's pictures: tst_WidgetLayout's file.
        // The fake clock reads 31 December 2002, 23:59:30; the first picture is composed and shown.
        QVERIFY(w.previewWindow() && w.previewWindow()->isVisible() && w.lastOutcome().isDrawn());
        QCOMPARE(w.frame().textItems[1].text, QString("2002/12/31 23:59 JST"));
        QVERIFY(!w.windowIcon().isNull());
        // Small canvas: the preview fills the client area and the canvas sits in its middle.
        QMdiArea *area = w.clientArea();
        PreviewWindow *preview = w.previewWindow();
        auto *canvas = s.find<PreviewCanvas>("picPreview");
        QCOMPARE(canvas->image(), preview->canvasImage());
        const QSize client = area->contentsRect().size();
        const QSize small = preview->canvasImage().size();
        QCOMPARE(preview->geometry(), QRect(QPoint(0, 0), client));
        QCOMPARE(canvas->geometry(), PreviewWindow::fittedRect(small, client)); // unscaled, centred
        // Large canvas: the window is as large as the canvas, the canvas at its top-left corner.
        s.combo("cboPhotoSize")->setEditText("1600x1200");
        s.find<QPushButton>("cmdPreview")->click();
        const QSize large = preview->canvasImage().size();
        QVERIFY(large.width() > client.width() && large.height() > client.height());
        QCOMPARE(preview->size(), large);
        QCOMPARE(canvas->geometry(), QRect(QPoint(0, 0), large));
        // A photo size out of range composes nothing and keeps the canvas, without a message.
        s.combo("cboPhotoSize")->setEditText("40x40");
        s.find<QPushButton>("cmdPreview")->click();
        QCOMPARE(preview->canvasImage().size(), large);
        QVERIFY(s.services.messageCalls.isEmpty());
        // Resizing the visible window composes again for the new client area.
        s.combo("cboPhotoSize")->setEditText("160x120");
        s.find<QPushButton>("cmdPreview")->click();
        w.resize(w.width() + 120, w.height() + 40);
        QTRY_COMPARE(preview->geometry(), QRect(QPoint(0, 0), area->contentsRect().size()));

        QCOMPARE(MainWindow::colorDepthText(std::ldexp(1.0, 24)), QString("True Color (24bit)"));
        QCOMPARE(MainWindow::colorDepthText(std::ldexp(1.0, 16)), QString("High Color (16bit)"));
        QCOMPARE(MainWindow::colorDepthText(256.0), QString("256 色"));
    }
    void settingsFileReadAtStartWrittenAtExit()
    {
        Session s;
        const Twips::PerPixel t = Twips::screen();
        const QString ini = s.path("nolt.ini");
        QVERIFY(writeAll(ini, QStringLiteral("[Common]\r\nSavepos=1\r\nx=%1\r\ny=%2\r\nwidth=%3\r\n"
                                             "height=%4\r\nDateFormat=2\r\n[Margin]\r\n"
                                             "FrameHorizonBorder=2000000000\r\n")
                                  .arg(std::lround(90 * t.x))
                                  .arg(std::lround(60 * t.y))
                                  .arg(std::lround(1000 * t.x))
                                  .arg(std::lround(700 * t.y))
                                  .toLatin1()));
        MainWindow &w = s.start();
        QCOMPARE(w.pos(), QPoint(90, 60));
        QCOMPARE(w.size(), QSize(1000, 700));
        // An unknown date order keeps the designed places and tabs in the order shown.
        QCOMPARE(
            QList<int>({s.edit("txtYear")->x(), s.combo("cboMonth")->x(), s.combo("cboDay")->x()}),
            QList<int>({px(1710, t.x), px(210, t.x), px(1050, t.x)}));
        QStringList order;
        for (QWidget *f = s.edit("txtTargetName")->nextInFocusChain(); order.size() < 4;
             f = f->nextInFocusChain())
            if (f->focusPolicy() & Qt::TabFocus)
                order << f->objectName();
        QCOMPARE(order, QStringList({"cboMonth", "cboDay", "txtYear", "txtTime"}));
        // A margin too large fails the composition; the window runs and says so until it is sane.
        QCOMPARE(w.lastOutcome().kind, ComposeOutcome::Kind::Failed);
        QVERIFY(!w.statusBar()->currentMessage().isEmpty());
        w.settings().setMarginFrameHBorder(20);
        s.find<QPushButton>("cmdPreview")->click();
        QVERIFY(w.lastOutcome().isDrawn());
        QVERIFY(w.statusBar()->currentMessage().isEmpty());

        // No to the question keeps the window and writes nothing; the close box asks the same, and
        // an unanswered question takes the default, No.
        const QByteArray read = TestFiles::readAll(ini);
        s.services.messageAnswers.enqueue(QMessageBox::No);
        s.find<QToolButton>("TbExit")->click();
        QVERIFY(!w.close());
        QCOMPARE(s.services.messageCalls.size(), 2);
        const auto &call = s.services.messageCalls.first();
        QCOMPARE(call.caption, QString("終了確認"));
        QCOMPARE(call.text, QString("終了します。よろしいですか？"));
        QCOMPARE(call.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(call.defaultButton, QMessageBox::No);
        QCOMPARE(TestFiles::readAll(ini), read);
        // A write that fails offers Retry and Ignore; Cancel keeps the window.
        QVERIFY(QFile::remove(ini) && QDir(s.dir.path()).mkdir("nolt.ini"));
        for (auto b : {QMessageBox::Yes, QMessageBox::Retry, QMessageBox::Cancel})
            s.services.messageAnswers.enqueue(b);
        QVERIFY(!w.close());
        QCOMPARE(s.services.messageCalls.size(), 5);
        QVERIFY(
            s.services.messageCalls[3].text.contains(QDir::toNativeSeparators(w.settingsPath())));
        QVERIFY(s.services.messageCalls[3].buttons.testFlag(QMessageBox::Ignore));
        s.services.messageAnswers << QMessageBox::Yes << QMessageBox::Ignore;
        QVERIFY(w.close());
        // Closing with Yes writes where the window stands now.
        QVERIFY(QDir(s.dir.path()).rmdir("nolt.ini"));
        w.show();
        w.move(40, 30);
        w.resize(900, 640);
        s.services.messageAnswers.enqueue(QMessageBox::Yes);
        w.findChild<QAction *>("IDMI_EXIT")->trigger();
        QVERIFY(!w.isVisible());
        AppSettings saved(s.dir.path(), t.x, t.y);
        QVERIFY(saved.load(ini));
        QCOMPARE(saved.x(), qint32(std::lround(w.frameGeometry().x() * t.x)));
        QCOMPARE(saved.y(), qint32(std::lround(w.frameGeometry().y() * t.y)));
        QCOMPARE(saved.width(), qint32(std::lround(900 * t.x)));
        QCOMPARE(saved.height(), qint32(std::lround(640 * t.y)));
        QCOMPARE(saved.dateFormat(), 2);
    }
    void panelPreviewAndTemplates()
    {
        Session s;
        MainWindow &w = s.start();
        // Every panel field set to a value that differs from the start-up panel.
        s.combo("cboPhotoSize")->setEditText("640x480");
        s.swatch("picFrameColor")->setColor(0x00123456);
        s.swatch("picBackColor")->setColor(0x00203040);
        s.combo("cboFrameSize")->setCurrentIndex(2);
        s.edit("txtTargetName")->setText("M42 オリオン大星雲");
        s.combo("cboMonth")->setCurrentIndex(2);
        s.combo("cboDay")->setCurrentIndex(24);
        s.edit("txtYear")->setText("2001");
        s.edit("txtTime")->setText("22:30");
        for (int k = 0; k < 3; ++k)
            s.edit(row("txtFooter", k))->setText(QStringLiteral("フッター %1").arg(k));
        for (int i = 0; i < 5; ++i) {
            QComboBox *font = s.combo(row("cboFontName", i));
            font->setCurrentIndex(font->findText(Faces[i]));
            QVERIFY(font->currentIndex() >= 0);
            s.edit(row("txtFontSize", i))->setText(QString::number(11 + i));
            s.swatch(row("picFontColor", i))->setColor(0x00010203 * (i + 1));
            s.find<QToolButton>(row("chkBold", i))->setChecked(i % 2 == 0);
            s.find<QToolButton>(row("chkItalic", i))->setChecked(i % 2 == 1);
            s.find<QToolButton>(row("chkStrikethrough", i))->setChecked(i == 3);
            s.find<QToolButton>(row("chkUnderline", i))->setChecked(i >= 2);
        }
        s.align(2)->chooseEntry(2);
        s.align(3)->chooseEntry(4);
        s.align(4)->chooseEntry(5);
        w.settings().setDelimiterFormat(3);
        s.find<QPushButton>("cmdPreview")->click();

        const FrameDescription &f = w.frame();
        QCOMPARE(QSize(f.photoWidth, f.photoHeight), QSize(640, 480));
        QCOMPARE(f.borderColor, 0x00123456);
        QCOMPARE(f.backColor, 0x00203040);
        QCOMPARE(f.borderWidth, 3);
        const QStringList texts = {"M42 オリオン大星雲", "2001年03月25日 22:30", "フッター 0",
                                   "フッター 1", "フッター 2"};
        const FooterAlign aligns[] = {FooterAlign::Left, FooterAlign::Right, FooterAlign::Centre,
                                      FooterAlign::LeftOfAbove, FooterAlign::RightOfAbove};
        for (int i = 0; i < 5; ++i) {
            const TextItem &item = f.textItems[i];
            QCOMPARE(item.text, texts[i]);
            QCOMPARE(item.fontName, Faces[i]);
            QCOMPARE(item.fontSize, 11 + i);
            QCOMPARE(item.fontColor, 0x00010203 * (i + 1));
            QCOMPARE(item.fontAlign, aligns[i]);
            QCOMPARE(QList<bool>(
                         {item.fontBold, item.fontItalic, item.fontStrikethru, item.fontUnderline}),
                     QList<bool>({i % 2 == 0, i % 2 == 1, i == 3, i >= 2}));
        }
        // The canvas shows the new picture: the background colour at its top-left corner.
        QCOMPARE(w.previewWindow()->canvasImage().pixelColor(0, 0), ColorRef::toColor(0x00203040));

        const PanelValues saved = w.panelValues();
        // Cancelled dialogs change nothing.
        s.find<QAction>("IDMI_LOADTEMPLATE")->trigger();
        s.find<QAction>("IDMI_SAVETEMPLATE")->trigger();
        QCOMPARE(w.panelValues(), saved);
        QCOMPARE(w.settings().templatePath(), s.dir.path());
        QCOMPARE(QDir(s.dir.path()).entryList(QDir::Files), QStringList());

        const QString file = s.path("m42.kvl");
        s.services.saveAnswers.enqueue(file);
        s.find<QAction>("IDMI_SAVETEMPLATE")->trigger();
        QCOMPARE(s.services.saveCalls.last().filter,
                 QString("ﾃﾝﾌﾟﾚｰﾄﾌｧｲﾙ (*.kvl)|*.kvl|全てのﾌｧｲﾙ (*.*)|*.*"));
        QVERIFY(s.services.saveCalls.last().confirmOverwrite);

        // Back to the start-up panel, then the template brings every field back.
        w.setPanelValues(
            PanelValues::startupDefaults(s.services.clock, FontSetup::panelFontNames(), false));
        QVERIFY(w.panelValues() != saved);
        s.services.openAnswers.enqueue(file);
        s.find<QToolButton>("TbOpenTmp")->click();
        QVERIFY(s.services.openCalls.last().confirmCreate);
        QCOMPARE(w.panelValues(), saved);
        QCOMPARE(w.frame().photoWidth, 640); // the load composes the picture again
        // The save dialog proposes the name last chosen; an em dash has a code page 932 form.
        s.edit("txtTargetName")->setText("M42 — Orion");
        s.services.saveAnswers.enqueue(file);
        s.find<QToolButton>("TbSaveTmp")->click();
        QCOMPARE(s.services.saveCalls.last().fileName, file);
        QCOMPARE(w.statusBar()->currentMessage(),
                 "ファイル「" + QDir::toNativeSeparators(file) + "」を保存しました。");
        QVERIFY(!TestFiles::readAll(file).startsWith("\xEF\xBB\xBF"));
        TemplateFile copy; // the faces under the names the panel shows
        QVERIFY(copy.load(file));
        QCOMPARE(copy.fontName(3), Faces[3]);

        // A name of a file that does not exist loads nothing and clears the folder.
        const PanelValues before = w.panelValues();
        s.services.openAnswers.enqueue(s.path("missing.kvl"));
        s.find<QAction>("IDMI_LOADTEMPLATE")->trigger();
        QCOMPARE(w.panelValues(), before);
        QCOMPARE(w.settings().templatePath(), QString());

        // Set as default: the next start takes everything but the date and time from "default.kvl".
        s.edit("txtTargetName")->setText("NGC ☄ 🌌");
        const PanelValues set = w.panelValues();
        const qsizetype asked = s.services.saveCalls.size();
        s.find<QAction>("IDMI_SETDEFAULT")->trigger();
        QCOMPARE(s.services.saveCalls.size(), asked);
        const QString defaults = w.defaultTemplatePath();
        QCOMPARE(w.statusBar()->currentMessage(),
                 "ファイル「" + QDir::toNativeSeparators(defaults) +
                     "」を保存しました。「☄」を含むため UTF-8 で書いたので、古い版のプログラムでは"
                     "読めません。");
        QVERIFY(TestFiles::readAll(defaults).startsWith("\xEF\xBB\xBF"));
        s.window.reset();
        s.services.clock = QDateTime(QDate(2024, 2, 9), QTime(0, 7));
        MainWindow &again = s.start();
        PanelValues expected = set;
        expected.monthIndex = 1;
        expected.dayIndex = 8;
        expected.year = "2024";
        expected.time = "00:07 JST";
        QCOMPARE(again.panelValues(), expected);
        QCOMPARE(again.frame().photoWidth, 640);
    }
    void languageOfTheTexts_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("folder"); // where "morvel_en.qm" is looked for
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("qtCancel"); // a text of Qt's own dialogs
        const QStringList japanese{"ﾌｧｲﾙ(&F)", "編集(&E)", "画像(&G)", "ﾍﾙﾌﾟ(&H)"};
        QTest::newRow("Japanese, the default")
            << false << MORVEL_TRANSLATIONS_DIR << japanese << "キャンセル";
        QTest::newRow("English") << true << MORVEL_TRANSLATIONS_DIR
                                 << QStringList{"&File", "&Edit", "&Photo", "&Help"} << "Cancel";
        QTest::newRow("English without its translation")
            << true << "missing" << japanese << "Cancel";
    }
    void languageOfTheTexts()
    {
        QFETCH(bool, english);
        QFETCH(QString, folder);
        QFETCH(QStringList, menus);
        QFETCH(QString, qtCancel);
        Session s;
        const QList<QTranslator *> installed = Translations::install(
            english ? AppSettings::Language::English : AppSettings::Language::Japanese,
            {s.path("none"), folder});
        s.start();
        QStringList shown;
        for (const QAction *menu : s.window->menuBar()->actions())
            shown << menu->text();
        const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        for (QTranslator *translator : installed) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QCOMPARE(shown, menus);
        QCOMPARE(cancel, qtCancel);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
