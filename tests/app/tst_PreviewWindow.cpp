#include "AppSession.h"
#include "app/PreviewCanvas.h"
#include "app/PreviewWindow.h"
#include "compose/FontSetup.h"
#include "io/PictureXmp.h"
#include "io/SavePicture.h"
#include "support/ExifFiles.h"
#include "support/FitsWriter.h"
#include "support/TestFiles.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

// A photo with a pixel pattern that shows where it lands.
QString writePhoto(const Session &s, const QString &name, QSize size, const char *format = "BMP")
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF));
    const QString path = s.path(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.save(path, format) ? path : QString();
}

// A grey 8-bit FITS photo, `side` pixels square, with the header `keys`.
bool writeFits(const QString &path, int side, const QStringList &keys)
{
    return FitsWriter::write(path,
                             {BYTE_IMG, {side, side}, std::vector<double>(side * side, 64), keys});
}

// M42 as a FITS header describes it.
const QStringList M42Header = {"OBJECT=M42",       "DATE-OBS=2026-01-15T13:05:30",
                               "INSTRUME=C26",     "EXPTIME=300",
                               "FILTER=L-eXtreme", "OBSERVER=A. Tanaka"};

// Drags files over the canvas and, when `release` and the canvas takes them, drops them there as
// the window system does; "https:" names stand for remote data. True when the canvas takes them.
bool drop(QWidget *canvas, const QStringList &paths, bool release = true)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << (p.startsWith("https:") ? QUrl(p) : QUrl::fromLocalFile(p));
    data.setUrls(urls);
    const QPoint at = canvas->rect().center();
    const auto actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted())
        QCoreApplication::sendEvent(canvas, &move);
    if (!enter.isAccepted() || !move.isAccepted())
        return false;
    QDropEvent event(QPointF(at), actions, &data, Qt::LeftButton, Qt::NoModifier);
    if (release)
        QCoreApplication::sendEvent(canvas, &event);
    return true;
}

// Loads `path` through the open dialog or by a drop on the canvas.
void load(Session &s, const QString &path, bool byDialog = true)
{
    if (byDialog) {
        s.services.openAnswers.enqueue(path);
        s.window->openPhoto();
    } else {
        drop(s.window->previewWindow()->canvas(), {path});
    }
}

// True when the canvas shows the photo of the bitmap file `path` inside the border.
bool showsPhoto(PreviewWindow *preview, const QString &path)
{
    const QImage photo = QImage(path, "BMP").convertToFormat(QImage::Format_RGB32);
    const QRect area = preview->composer().drawnFrame().photoArea;
    return area.size() == photo.size() && preview->canvasImage().copy(area) == photo;
}

} // namespace

class tst_PreviewWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        FontSetup::install();
        setLocalZone("Asia/Tokyo");
    }
    void photosDroppedOpenedAndRemoved()
    {
        Session s;
        MainWindow &w = s.start();
        QWidget *canvas = s.find<QWidget>("picPreview");
        // The first file's extension decides, in any case; data without a local file is refused.
        const std::pair<QStringList, bool> drags[] = {
            {{s.path("M42.Jpg"), s.path("notes.txt")}, true},
            {{s.path("m42.FTS")}, true},
            {{s.path("my.photos/m42")}, false},
            {{s.path("notes.txt"), s.path("m42.jpg")}, false},
            {{"https://example.org/m42.jpg"}, false}};
        for (const auto &[files, accepted] : drags)
            QVERIFY2(drop(canvas, files, false) == accepted, qPrintable(files.first()));

        const QString first = writePhoto(s, "photos/M42.Jpg", {200, 150}, "JPG");
        drop(canvas, {first, writePhoto(s, "photos/m31.bmp", {300, 100})});
        QCOMPARE(w.previewWindow()->photoPath(), QDir::toNativeSeparators(first));
        QCOMPARE(QSize(w.frame().photoWidth, w.frame().photoHeight), QSize(200, 150));
        QCOMPARE(w.settings().loadPath(), QDir::toNativeSeparators(s.path("photos")));

        // The open dialog: its filter, the photo folder to start in.
        w.settings().setLoadPath(s.dir.path());
        const QString photo = writePhoto(s, "night/m42.bmp", {160, 120});
        s.services.openAnswers.enqueue(photo);
        s.find<QAction>("IDM_LOADPHOTO")->trigger();
        const auto &options = s.services.openCalls.first();
        QCOMPARE(options.filter,
                 QString("画像ﾌｧｲﾙ |*.jpg;*.bmp;*.gif;*.wmf;*.emf;*.jpeg;*.fit;*.fits;"
                         "*.fts;*.tif;*.tiff;*.png;*.xisf|"
                         "Windows / OS/2 ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|"
                         "JPEG (*.jpg)|*.jpg|"
                         "CompuServe Graphics Interchange (*.gif)|*.gif|"
                         "Windows ﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf|"
                         "Windows ｴﾝﾊﾝｽﾄ ﾒﾀﾌｧｲﾙ (*.emf)|*.emf|"
                         "FITS (*.fit;*.fits;*.fts)|*.fit;*.fits;*.fts|"
                         "TIFF (*.tif;*.tiff)|*.tif;*.tiff|"
                         "PNG (*.png)|*.png|"
                         "XISF (*.xisf)|*.xisf|"
                         "全てのﾌｧｲﾙ (*.*)|*.*"));
        QCOMPARE(options.initialDir, s.dir.path());
        QVERIFY(options.confirmCreate);
        QVERIFY(showsPhoto(w.previewWindow(), photo));
        // The next opening starts in the photo's folder, with an empty name again; cancelled, it
        // loads nothing.
        s.find<QToolButton>("TbOpenPhoto")->click();
        QCOMPARE(s.services.openCalls.last().initialDir, QDir::toNativeSeparators(s.path("night")));
        QCOMPARE(s.services.openCalls.last().fileName, QString());
        // Saving proposes the photo's name as a bitmap in the save folder.
        w.settings().setSavePath(s.path("out"));
        w.savePicture();
        QCOMPARE(s.services.saveCalls.last().fileName, s.path("out/m42.bmp"));

        // Removing the photo with edits not previewed yet: only the photo size is taken.
        w.previewWindow()->hide();
        s.combo("cboPhotoSize")->setEditText("240x180");
        s.edit("txtTargetName")->setText("not previewed");
        s.swatch("picBackColor")->setColor(0x00FF00);
        const FrameDescription shown = w.frame();
        s.find<QToolButton>("TbRemovePhoto")->click();
        QCOMPARE(w.previewWindow()->photoPath(), QString());
        QVERIFY(w.previewWindow()->isVisible());
        QCOMPARE(w.previewWindow()->composer().drawnFrame().photoArea.size(), QSize(240, 180));
        QCOMPARE(w.frame().textItems[0].text, shown.textItems[0].text);
        QCOMPARE(w.frame().backColor, shown.backColor);
    }
    void photosNotTakenAreTold()
    {
        Session s;
        MainWindow &w = s.start();
        const QString good = writePhoto(s, "good/m42.bmp", {120, 90});
        load(s, good);
        const QString broken = s.path("broken.jpg");
        QVERIFY(TestFiles::writeAll(broken, "this is not a picture"));
        for (bool byDialog : {false, true}) {
            load(s, broken, byDialog);
            QCOMPARE(s.services.messageCalls.size(), 1 + byDialog);
            QVERIFY(s.services.messageCalls.last().text.contains(QDir::toNativeSeparators(broken)));
        }
        // The photo folder stays as it was.
        QCOMPARE(w.settings().loadPath(), QDir::toNativeSeparators(s.path("good")));

        // A damaged photo shows what could be read, told in the status bar at every composition.
        const QString cut = writePhoto(s, "cut.jpg", {200, 150}, "JPG");
        QFile file(cut);
        QVERIFY(file.resize(file.size() / 2));
        load(s, cut, false);
        QCOMPARE(s.services.messageCalls.size(), 2);
        QCOMPARE(w.previewWindow()->photoPath(), QDir::toNativeSeparators(cut));
        QCOMPARE(w.frame().photoWidth, 200);
        QVERIFY(w.statusBar()->currentMessage().contains(QDir::toNativeSeparators(cut)));
        w.statusBar()->clearMessage();
        s.find<QPushButton>("cmdPreview")->click();
        QVERIFY(w.statusBar()->currentMessage().contains(QDir::toNativeSeparators(cut)));

        // Too small and chosen, or too large and dropped: told, its folder taken all the same.
        for (const auto &[size, byDialog] :
             {std::pair{QSize(50, 49), true}, std::pair{QSize(1601, 100), false}}) {
            const QString photo =
                writePhoto(s, QStringLiteral("big/%1.bmp").arg(size.width()), size);
            load(s, photo, byDialog);
            const auto &told = s.services.messageCalls.last();
            QCOMPARE(told.text, QString("最大1600x1200、最小50x50の大きさまで作成可能です。"));
            QCOMPARE(told.caption, QString("Error"));
            QCOMPARE(told.icon, QMessageBox::Critical);
            QCOMPARE(w.settings().loadPath(), QDir::toNativeSeparators(s.path("big")));
            QCOMPARE(w.statusBar()->currentMessage() == ComposeOutcome::shrinkHint(), !byDialog);
        }
        // Once shrinking is on, a photo too large is shrunk into the box without a word.
        w.settings().setShrinkLarge(true);
        s.find<QPushButton>("cmdPreview")->click();
        QCOMPARE(s.services.messageCalls.size(), 4);
        QVERIFY(w.statusBar()->currentMessage().isEmpty());
        QCOMPARE(QSize(w.frame().photoWidth, w.frame().photoHeight), QSize(1600, 100));
    }
    void picturesSavedAndCopied()
    {
        Session s;
        MainWindow &w = s.start();
        const QString photo = writePhoto(s, "m42.bmp", {200, 100});
        load(s, photo);
        w.settings().setSavePath(s.dir.path());
        w.settings().setJpegQuality(30);
        QDir().mkpath(s.path("out"));
        // A name ending in .png, .jpg or .jpeg is written in that format; any other name follows
        // the type chosen.
        using F = SavePicture::Format;
        const std::tuple<int, QString, F> saves[] = {{0, "typed.JPEG", F::Jpeg},
                                                     {2, "typed.bmp", F::Jpeg},
                                                     {1, "typed.tif", F::Png},
                                                     {0, "typed", F::Bmp}};
        for (const auto &[filter, name, format] : saves) {
            // Preview shows the window again, with the same photo.
            s.find<QPushButton>("cmdPreview")->click();
            QVERIFY(showsPhoto(w.previewWindow(), photo));
            const QString target = s.path("out/" + name);
            const QString reference = s.path("reference");
            // PNG and JPEG carry the picture's caption, as the settings have it by default.
            const PictureXmp xmp = w.previewWindow()->composer().pictureMetadata(w.frame()).xmp();
            QVERIFY(SavePicture::write(w.previewWindow()->canvasImage(), reference, format, 30,
                                       nullptr, format == F::Bmp ? nullptr : &xmp));
            s.services.saveAnswers.enqueue(target);
            s.services.saveFilterAnswers.enqueue(filter);
            s.find<QAction>("IDM_SAVEPHOTO")->trigger();
            QVERIFY2(TestFiles::readAll(target) == TestFiles::readAll(reference), qPrintable(name));
            QVERIFY(!w.previewWindow()->isVisible());
            QCOMPARE(w.statusBar()->currentMessage(),
                     "ファイル「" + QDir::toNativeSeparators(target) + "」を保存しました。");
        }
        QCOMPARE(w.settings().savePath(), QDir::toNativeSeparators(s.path("out")));
        const auto &options = s.services.saveCalls.first();
        QCOMPARE(options.fileName, QString()); // never the photo itself
        QCOMPARE(options.filter,
                 QString("BMPﾌｧｲﾙ (*.bmp)|*.bmp|PNGﾌｧｲﾙ (*.png)|*.png|JPEGﾌｧｲﾙ (*.jpg)|*.jpg"));
        QCOMPARE(options.filterIndex, 0);
        QCOMPARE(options.defaultSuffixes, QStringList({"", "png", "jpg"}));
        QCOMPARE(options.initialDir, s.dir.path());
        QVERIFY(options.confirmOverwrite && options.pathMustExist);
        // The re-created window proposes no name; its dialog starts in the new folder.
        QCOMPARE(s.services.saveCalls.last().fileName, QString());
        QCOMPARE(s.services.saveCalls.last().initialDir, QDir::toNativeSeparators(s.path("out")));

        // A copy holds the picture's pixels, and the window stays up.
        s.find<QPushButton>("cmdPreview")->click();
        QClipboard *clipboard = QGuiApplication::clipboard();
        s.find<QToolButton>("TbCopyClipboard")->click();
        QVERIFY(w.previewWindow()->isVisible());
        QCOMPARE(clipboard->image().convertToFormat(QImage::Format_RGB32),
                 w.previewWindow()->canvasImage().convertToFormat(QImage::Format_RGB32));
        // Cancelled, then failed (a folder where the file should go): told once, and the next save
        // proposes the name typed last.
        const QString taken = s.path("taken.bmp");
        s.find<QToolButton>("TbSavePhoto")->click();
        QDir().mkpath(taken);
        s.services.saveAnswers.enqueue(taken);
        w.savePicture();
        QCOMPARE(s.services.messageCalls.size(), 1);
        QVERIFY(s.services.messageCalls[0].text.contains(QDir::toNativeSeparators(taken)));
        QCOMPARE(w.settings().savePath(),
                 QDir::toNativeSeparators(s.path("out"))); // not remembered
        w.savePicture();
        QCOMPARE(s.services.saveCalls.last().fileName, taken);
    }
    void fillFromPhoto()
    {
        Session s;
        MainWindow &w = s.start();
        s.edit("txtTargetName")->setText("typed");
        QAction *fill = s.find<QAction>("IDM_FILLFROMPHOTO");
        fill->trigger();
        QCOMPARE(w.statusBar()->currentMessage(),
                 QString("写真がありません。先に画像ﾌｧｲﾙを読み込んでください。"));
        load(s, writePhoto(s, "m31.bmp", {120, 90}));
        fill->trigger();
        QCOMPARE(w.statusBar()->currentMessage(),
                 QString("「m31.bmp」には入力できる写真の情報がありません。"));
        QCOMPARE(s.edit("txtTargetName")->text(), QString("typed"));
        const QString fits = s.path("m42.fits");
        QVERIFY(writeFits(fits, 60, M42Header));
        // Filled at a load only once the setting is on, and composed at once.
        load(s, fits);
        QCOMPARE(s.edit("txtTargetName")->text(), QString("typed"));
        w.settings().setFillOnLoad(true);
        load(s, fits, false);
        QCOMPARE(s.edit("txtTargetName")->text(), QString("M42"));
        QCOMPARE(w.frame().textItems[0].text, QString("M42"));
        QCOMPARE(w.statusBar()->currentMessage(), QString());
    }
    void subframeFolderOfTheTemplate()
    {
        Session s;
        MainWindow &w = s.start();
        for (const char *frame : {"night/a.fits|LIGHT|2026-03-01T12:00:00",
                                  "night/b.fits|Light Frame|2026-03-01T16:00:00",
                                  "night/c.fits|Dark Frame|2026-03-01T20:00:00"}) {
            const QStringList f = QString::fromLatin1(frame).split(u'|');
            QDir().mkpath(s.path("night"));
            QVERIFY(writeFits(s.path(f[0]), 2,
                              {"IMAGETYP=" + f[1], "DATE-OBS=" + f[2], "EXPTIME=300"}));
        }
        w.settings().setCaptionPattern(1, "[{INTEGRATION}][ ({NIGHTS}夜)]");
        QAction *forget = s.find<QAction>("IDM_FORGETSUBFRAMES");
        s.services.folderAnswers.enqueue(s.path("night"));
        s.find<QAction>("IDM_SUBFRAMES")->trigger();
        // Read on a thread of its own; the fill follows, without a photo.
        QTRY_COMPARE(s.edit("txtFooter(1)")->text(), "2×300秒 計10分 (1夜)");
        QCOMPARE(w.frame().textItems[3].text, "2×300秒 計10分 (1夜)");
        QCOMPARE(w.statusBar()->currentMessage(),
                 "サブフレーム: ライト 2 枚 (ダーク・フラット・バイアス 1 枚を除外)");
        QVERIFY(forget->isEnabled());

        // Kept with the template: saved, forgotten, loaded again and filled from.
        QVERIFY(w.saveTemplateFile(s.path("night.kvl")));
        QVERIFY(TestFiles::readAll(s.path("night.kvl"))
                    .endsWith("[Subframes]\r\nFolder=" + s.path("night").toUtf8() + "\r\n"));
        forget->trigger();
        QVERIFY(!forget->isEnabled() && w.panelValues().subframeFolder.isEmpty());
        QVERIFY(w.loadTemplateFile(s.path("night.kvl"), false));
        QCOMPARE(w.panelValues().subframeFolder, s.path("night"));
        s.edit("txtFooter(1)")->clear();
        s.find<QAction>("IDM_FILLFROMPHOTO")->trigger();
        QTRY_COMPARE(s.edit("txtFooter(1)")->text(), "2×300秒 計10分 (1夜)");
    }
    void fillReplacesItsOwnFields_data()
    {
        QTest::addColumn<QString>("next");  // the second photo
        QTest::addColumn<QString>("typed"); // the second footer line, changed after the first fill
        QTest::addColumn<bool>("templateBetween"); // a template loaded before the second fill
        QTest::addColumn<QStringList>("panel"); // target name, year, time and footer lines after it
        QTest::newRow("camera JPEG")
            << "camera.jpg"
            << "typed" << false << QStringList{"", "2025", "21:30 JST", "Camera X", "typed", ""};
        QTest::newRow("TIFF without data")
            << "flat.tif"
            << "typed" << false << QStringList{"", "", "", "", "typed", ""};
        QTest::newRow("typed back as the fill wrote it")
            << "flat.tif"
            << "300秒" << false << QStringList{"", "", "", "", "", ""};
        QTest::newRow("after a template load")
            << "flat.tif"
            << "typed" << true
            << QStringList{"M42", "2026",  "22:05 JST",
                           "C26", "typed", "フィルター: L-eXtreme  撮影: A. Tanaka"};
    }
    void fillReplacesItsOwnFields()
    {
        QFETCH(QString, next);
        QFETCH(QString, typed);
        QFETCH(bool, templateBetween);
        QFETCH(QStringList, panel);
        Session s;
        MainWindow &w = s.start();
        const QString fits = s.path("m42.fits");
        QVERIFY(writeFits(fits, 60, M42Header));
        QVERIFY(ExifFiles::write(s.path("camera.jpg"),
                                 {{"Exif.Image.Model", "Camera X"},
                                  {"Exif.Photo.DateTimeOriginal", "2025:02:01 21:30:00"}}));
        QVERIFY(!writePhoto(s, "flat.tif", {60, 60}, "TIFF").isEmpty());
        QAction *fill = s.find<QAction>("IDM_FILLFROMPHOTO");
        load(s, fits);
        fill->trigger();
        s.edit("txtFooter(1)")->setText("x");
        s.edit("txtFooter(1)")->setText(typed);
        if (templateBetween) {
            QVERIFY(w.saveTemplateFile(s.path("night.kvl")));
            s.services.openAnswers.enqueue(s.path("night.kvl"));
            s.find<QAction>("IDMI_LOADTEMPLATE")->trigger();
        }
        load(s, s.path(next));
        fill->trigger();
        const QStringList shown{s.edit("txtTargetName")->text(), s.edit("txtYear")->text(),
                                s.edit("txtTime")->text(),       s.edit("txtFooter(0)")->text(),
                                s.edit("txtFooter(1)")->text(),  s.edit("txtFooter(2)")->text()};
        QCOMPARE(shown, panel);
        QCOMPARE(w.frame().textItems[4].text, panel[5]); // composed at once
    }
    void livePreview()
    {
        Session s;
        MainWindow &w = s.start();
        QApplication::setActiveWindow(&w);
        const auto type = [&](const char *box, const char *keys) {
            QWidget *target = s.find<QWidget>(box);
            if (auto *combo = qobject_cast<QComboBox *>(target)) {
                combo->clearEditText();
                target = combo->lineEdit();
            }
            target->setFocus();
            QTest::keyClicks(target, keys);
        };
        // Off: nothing until Preview.
        type("txtTargetName", "M4");
        QVERIFY(!w.livePreviewPending());
        QVERIFY(w.frame().textItems[0].text.isEmpty());
        // On: composed once the typing pauses, not while the keys come.
        w.settings().setLivePreview(true);
        type("txtTargetName", "2");
        QVERIFY(w.livePreviewPending());
        QVERIFY(w.frame().textItems[0].text.isEmpty());
        QTRY_COMPARE(w.frame().textItems[0].text, QString("M42"));
        // A copy at once takes the typing.
        type("txtTargetName", "a");
        s.find<QAction>("IDM_COPYCLIPBOARD")->trigger();
        QVERIFY(!w.livePreviewPending());
        QCOMPARE(w.frame().textItems[0].text, QString("M42a"));
        // Sizes out of range are told in the status bar only.
        const QString range = "最大1600x1200、最小50x50の大きさまで作成可能です。";
        type("cboPhotoSize", "9");
        QTRY_VERIFY(!w.livePreviewPending());
        QCOMPARE(w.statusBar()->currentMessage(), "枠の大きさ「9」は範囲外です。" + range);
        type("cboPhotoSize", "160x120");
        load(s, writePhoto(s, "small.bmp", {40, 40})); // the load tells it in a box, as always
        type("txtFooter(0)", "x");
        QTRY_VERIFY(!w.livePreviewPending());
        QCOMPARE(w.statusBar()->currentMessage(), "写真の大きさ 40x40 は範囲外です。" + range);
        QCOMPARE(s.services.messageCalls.size(), 1);
    }
    void fittedViewShowsAndTakesDrops()
    {
        Session s;
        QVERIFY(TestFiles::writeAll(s.path("nolt.ini"), "[View]\r\nFitWindow=1\r\n"));
        MainWindow &w = s.start();
        QAction *fit = s.find<QAction>("IDM_FITWINDOW");
        QVERIFY(fit->isCheckable() && fit->isChecked());
        // A photo of one-pixel black and white squares: scaled down, it must show as grey.
        QImage checks(1600, 1200, QImage::Format_RGB32);
        for (int y = 0; y < checks.height(); ++y)
            for (int x = 0; x < checks.width(); ++x)
                checks.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
        QVERIFY(checks.save(s.path("checks.bmp")));
        load(s, s.path("checks.bmp"));
        const QSize client = w.clientArea()->contentsRect().size();
        const QSize full = w.previewWindow()->canvasImage().size();
        PreviewCanvas *canvas = w.previewWindow()->canvas();
        QCOMPARE(w.previewWindow()->geometry(), QRect(QPoint(0, 0), client));
        QCOMPARE(canvas->geometry(), PreviewWindow::fittedRect(full, client));
        // Scaled to the height or the width and centred the other way; never scaled up.
        QCOMPARE(PreviewWindow::fittedRect({1641, 1306}, {632, 434}), QRect(44, 0, 545, 434));
        QCOMPARE(PreviewWindow::fittedRect({1896, 651}, {632, 434}), QRect(0, 108, 632, 217));
        QCOMPARE(PreviewWindow::fittedRect({202, 170}, {632, 434}), QRect(215, 132, 202, 170));
        const QPoint middle = w.previewWindow()->composer().drawnFrame().photoArea.center() *
                              canvas->width() / full.width();
        QVERIFY(qAbs(qGray(canvas->grab().toImage().pixel(middle)) - 128) < 32);

        // Off: the canvas 1:1, and the setting kept.
        fit->trigger();
        QVERIFY(!w.settings().fitWindow());
        QCOMPARE(canvas->size(), full);
        QCOMPARE(w.previewWindow()->size(), full);
    }
};

QTEST_MAIN(tst_PreviewWindow)
#include "tst_PreviewWindow.moc"
