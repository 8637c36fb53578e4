#include "AppSession.h"
#include "app/PreviewCanvas.h"
#include "app/frmPreview.h"
#include "compose/FontSetup.h"
#include "io/SavePicture.h"
#include "store/clsNoltIO.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

namespace {

const QString SizeMessage = QStringLiteral("最大1600x1200、最小50x50の大きさまで作成可能です。");

// A photo with a pixel pattern that shows where it lands; the format follows `format`.
bool writePhoto(const QString &path, int width, int height, const char *format = "BMP")
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF));
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.save(path, format);
}

QImage readPhoto(const QString &path)
{
    return QImage(path, "BMP").convertToFormat(QImage::Format_RGB32);
}

void writeText(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QMimeData *filesData(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    data->setUrls(urls);
    return data;
}

// Drags `data` over the canvas: true when the canvas accepts it.
bool dragOver(QWidget *canvas, const QMimeData *data)
{
    const QPoint at = canvas->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &move);
    return move.isAccepted();
}

// A drop as the window system delivers it: only after the canvas accepted the drag.
void drop(QWidget *canvas, const QMimeData *data)
{
    if (!dragOver(canvas, data))
        return;
    QDropEvent event(QPointF(canvas->rect().center()), Qt::CopyAction | Qt::MoveAction, data,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
}

// True when the canvas shows `photo` inside the border.
bool showsPhoto(frmPreview *preview, const QImage &photo)
{
    const QRect area = preview->composer().drawnFrame().photoArea;
    if (area.size() != photo.size())
        return false;
    return preview->canvasImage().copy(area) == photo;
}

} // namespace

class tst_frmPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dragJudgesFirstFileExtension_data();
    void dragJudgesFirstFileExtension();
    void dropLoadsFirstFile();
    void unreadableFileIsToldAndPictureKept_data();
    void unreadableFileIsToldAndPictureKept();
    void photoOutOfRangeGivesSizeMessage_data();
    void photoOutOfRangeGivesSizeMessage();
    void openDialogStartsInLoadPath();
    void cancelledOpenKeepsPhoto();
    void removePhotoDrawsWithoutPhoto();
    void saveWritesExactName_data();
    void saveWritesExactName();
    void saveProposesLastChosenName();
    void cancelledSaveChangesNothing();
    void failedSaveIsToldAndKeepsWindow();
    void clipboardHoldsTheSavedPixels();
};

void tst_frmPreview::initTestCase()
{
    FontSetup::install();
}

void tst_frmPreview::dragJudgesFirstFileExtension_data()
{
    QTest::addColumn<QStringList>("files"); // relative to the session folder
    QTest::addColumn<bool>("accepted");
    QTest::newRow("M42.Jpg, mixed case") << QStringList{"M42.Jpg"} << true;
    QTest::newRow("bitmap") << QStringList{"m42.bmp"} << true;
    QTest::newRow("GIF") << QStringList{"m42.GIF"} << true;
    QTest::newRow("metafile") << QStringList{"m42.wmf"} << true;
    QTest::newRow("enhanced metafile") << QStringList{"m42.emf"} << true;
    QTest::newRow("four-letter JPEG extension") << QStringList{"m42.jpeg"} << false;
    QTest::newRow("text file") << QStringList{"notes.txt"} << false;
    QTest::newRow("no dot anywhere") << QStringList{"m42"} << false;
    QTest::newRow("only dot in a folder name") << QStringList{"my.photos/m42"} << false;
    QTest::newRow("first file decides, second refused")
        << QStringList{"m42.jpg", "notes.txt"} << true;
    QTest::newRow("first file decides, second accepted")
        << QStringList{"notes.txt", "m42.jpg"} << false;
}

void tst_frmPreview::dragJudgesFirstFileExtension()
{
    QFETCH(QStringList, files);
    QFETCH(bool, accepted);
    Session s;
    frmMdiMain &w = s.start();
    QStringList paths;
    for (const QString &f : files)
        paths << s.path(f);
    std::unique_ptr<QMimeData> data(filesData(paths));
    QCOMPARE(dragOver(w.preview()->canvas(), data.get()), accepted);
}

void tst_frmPreview::dropLoadsFirstFile()
{
    Session s;
    frmMdiMain &w = s.start();
    QWidget *canvas = s.find<QWidget>("picPreview");
    QVERIFY(canvas);
    QVERIFY(canvas->acceptDrops());

    // Data without a local file list is refused.
    QMimeData text;
    text.setText("M42.jpg");
    QVERIFY(!dragOver(canvas, &text));
    QMimeData web;
    web.setUrls({QUrl("https://example.org/m42.jpg")});
    QVERIFY(!dragOver(canvas, &web));

    const QString first = s.path("photos/M42.Jpg");
    const QString second = s.path("photos/m31.bmp");
    QVERIFY(writePhoto(first, 200, 150, "JPG"));
    QVERIFY(writePhoto(second, 300, 100));
    std::unique_ptr<QMimeData> data(filesData({first, second}));
    QVERIFY(dragOver(canvas, data.get()));
    drop(canvas, data.get());
    QCOMPARE(w.preview()->PhotoPath(), QDir::toNativeSeparators(first));
    QCOMPARE(w.frame().PhotoWidth, 200);
    QCOMPARE(w.frame().PhotoHeight, 150);
    QCOMPARE(w.settings().LoadPath(), QDir::toNativeSeparators(s.path("photos")));
    QVERIFY(w.preview()->isVisible());
    QVERIFY(w.lastOutcome().isDrawn());
    QCOMPARE(w.preview()->composer().drawnFrame().photoArea.size(), QSize(200, 150));
    QCOMPARE(static_cast<PreviewCanvas *>(canvas)->image(), w.preview()->canvasImage());
    QVERIFY(s.services.messageCalls.isEmpty());

    // The next Preview takes the photo again from its file.
    s.find<QPushButton>("cmdPreview")->click();
    QCOMPARE(w.frame().PhotoWidth, 200);
}

void tst_frmPreview::unreadableFileIsToldAndPictureKept_data()
{
    QTest::addColumn<bool>("byDialog");
    QTest::newRow("dropped") << false;
    QTest::newRow("chosen in the open dialog") << true;
}

void tst_frmPreview::unreadableFileIsToldAndPictureKept()
{
    QFETCH(bool, byDialog);
    Session s;
    frmMdiMain &w = s.start();
    const QString good = s.path("good/m42.bmp");
    QVERIFY(writePhoto(good, 120, 90));
    s.services.openAnswers.enqueue(good);
    w.IDM_LOADPHOTO_Click();
    QVERIFY(showsPhoto(w.preview(), readPhoto(good)));
    const QImage before = w.preview()->canvasImage();

    const QString broken = s.path("bad/broken.jpg");
    QDir().mkpath(s.path("bad"));
    writeText(broken, "this is not a picture");
    if (byDialog) {
        s.services.openAnswers.enqueue(broken);
        w.IDM_LOADPHOTO_Click();
    } else {
        std::unique_ptr<QMimeData> data(filesData({broken}));
        QVERIFY(dragOver(w.preview()->canvas(), data.get()));
        drop(w.preview()->canvas(), data.get());
    }
    QCOMPARE(s.services.messageCalls.size(), 1);
    const auto &told = s.services.messageCalls.first();
    QVERIFY2(told.text.contains(QDir::toNativeSeparators(broken)), qPrintable(told.text));
    QCOMPARE(told.buttons, QMessageBox::Ok);
    // The picture, the photo it includes and the photo folder stay as they were.
    QCOMPARE(w.preview()->canvasImage(), before);
    QCOMPARE(w.preview()->PhotoPath(), QDir::toNativeSeparators(good));
    QCOMPARE(w.settings().LoadPath(), QDir::toNativeSeparators(s.path("good")));
    s.find<QPushButton>("cmdPreview")->click();
    QVERIFY(w.lastOutcome().isDrawn());
    QVERIFY(showsPhoto(w.preview(), readPhoto(good)));
}

void tst_frmPreview::photoOutOfRangeGivesSizeMessage_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("byDialog");
    QTest::newRow("1601 wide, dropped") << QSize(1601, 100) << false;
    QTest::newRow("1201 high, chosen") << QSize(100, 1201) << true;
    QTest::newRow("49 wide, chosen") << QSize(49, 50) << true;
    QTest::newRow("49 high, dropped") << QSize(50, 49) << false;
}

void tst_frmPreview::photoOutOfRangeGivesSizeMessage()
{
    QFETCH(QSize, size);
    QFETCH(bool, byDialog);
    Session s;
    frmMdiMain &w = s.start();
    const QString photo = s.path("big/photo.bmp");
    QVERIFY(writePhoto(photo, size.width(), size.height()));
    if (byDialog) {
        s.services.openAnswers.enqueue(photo);
        w.IDM_LOADPHOTO_Click();
    } else {
        std::unique_ptr<QMimeData> data(filesData({photo}));
        drop(w.preview()->canvas(), data.get());
    }
    QCOMPARE(s.services.messageCalls.size(), 1);
    const auto &told = s.services.messageCalls.first();
    QCOMPARE(told.text, SizeMessage);
    QCOMPARE(told.caption, QString("Error"));
    QCOMPARE(told.icon, QMessageBox::Critical);
    QCOMPARE(told.buttons, QMessageBox::Ok);
    // The photo is remembered all the same; the program goes on.
    QCOMPARE(w.preview()->PhotoPath(), QDir::toNativeSeparators(photo));
    QCOMPARE(w.settings().LoadPath(), QDir::toNativeSeparators(s.path("big")));
    QVERIFY(w.isVisible());
    QVERIFY(w.preview()->isVisible());
}

void tst_frmPreview::openDialogStartsInLoadPath()
{
    Session s;
    frmMdiMain &w = s.start();
    w.settings().LoadPath(s.dir.path());
    const QString photo = s.path("night/m42.bmp");
    QVERIFY(writePhoto(photo, 160, 120));
    s.services.openAnswers.enqueue(photo);
    s.find<QAction>("IDM_LOADPHOTO")->trigger();
    QCOMPARE(s.services.openCalls.size(), 1);
    const auto &options = s.services.openCalls.first();
    QCOMPARE(options.filter, QString("画像ﾌｧｲﾙ |*.jpg;*.bmp;*.gif;*.wmf;*.emf|"
                                     "Windows / OS/2 ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|"
                                     "JPEG (*.jpg)|*.jpg|"
                                     "CompuServe Graphics Interchange (*.gif)|*.gif|"
                                     "Windows ﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf|"
                                     "Windows ｴﾝﾊﾝｽﾄ ﾒﾀﾌｧｲﾙ (*.emf)|*.emf|"
                                     "全てのﾌｧｲﾙ (*.*)|*.*"));
    QCOMPARE(PlatformServices::toQtFilters(options.filter).size(), 7);
    QCOMPARE(options.filterIndex, 0);
    QCOMPARE(options.initialDir, s.dir.path());
    QCOMPARE(options.fileName, QString());
    QVERIFY(options.confirmCreate);
    QVERIFY(showsPhoto(w.preview(), readPhoto(photo)));
    QCOMPARE(w.settings().LoadPath(), QDir::toNativeSeparators(s.path("night")));

    // The next opening starts in the photo's folder, with an empty name again.
    w.Toolbar_ButtonClick(s.find<QAction>("TbOpenPhoto"));
    QCOMPARE(s.services.openCalls.size(), 2);
    QCOMPARE(s.services.openCalls.last().initialDir, QDir::toNativeSeparators(s.path("night")));
    QCOMPARE(s.services.openCalls.last().fileName, QString());
}

void tst_frmPreview::cancelledOpenKeepsPhoto()
{
    Session s;
    frmMdiMain &w = s.start();
    const QString photo = s.path("m42.bmp");
    QVERIFY(writePhoto(photo, 100, 80));
    s.services.openAnswers.enqueue(photo);
    w.IDM_LOADPHOTO_Click();
    const QImage before = w.preview()->canvasImage();
    w.settings().LoadPath("/elsewhere");
    w.IDM_LOADPHOTO_Click(); // no answer queued: the user cancels
    QCOMPARE(w.preview()->PhotoPath(), QDir::toNativeSeparators(photo));
    QCOMPARE(w.settings().LoadPath(), QString("/elsewhere"));
    QCOMPARE(w.preview()->canvasImage(), before);
    QVERIFY(s.services.messageCalls.isEmpty());
}

void tst_frmPreview::removePhotoDrawsWithoutPhoto()
{
    Session s;
    frmMdiMain &w = s.start();
    const QString photo = s.path("m42.bmp");
    QVERIFY(writePhoto(photo, 300, 200));
    s.services.openAnswers.enqueue(photo);
    w.IDM_LOADPHOTO_Click();
    QCOMPARE(w.frame().PhotoWidth, 300);
    w.preview()->hide();

    s.find<QAction>("IDM_REMOVEPHOTO")->trigger();
    QCOMPARE(w.preview()->PhotoPath(), QString());
    QVERIFY(w.preview()->isVisible());
    // Laid out again for the panel's size, 160x120, without the photo.
    QCOMPARE(w.frame().PhotoWidth, 160);
    QCOMPARE(w.preview()->composer().drawnFrame().photoArea.size(), QSize(160, 120));
    QVERIFY(!showsPhoto(w.preview(), readPhoto(photo)));
}

void tst_frmPreview::saveWritesExactName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("typed with extension") << "result.bmp";
    QTest::newRow("typed without extension") << "result";
    QTest::newRow("other extension kept") << "result.png";
}

void tst_frmPreview::saveWritesExactName()
{
    QFETCH(QString, name);
    Session s;
    frmMdiMain &w = s.start();
    const QString photo = s.path("m42.bmp");
    QVERIFY(writePhoto(photo, 200, 100));
    std::unique_ptr<QMimeData> data(filesData({photo}));
    drop(w.preview()->canvas(), data.get());
    w.settings().SavePath(s.dir.path());
    QDir().mkpath(s.path("out"));
    const QString target = s.path("out/" + name);
    const QByteArray expected = SavePicture::bmpBytes(w.preview()->canvasImage());
    s.services.saveAnswers.enqueue(target);
    s.find<QAction>("IDM_SAVEPHOTO")->trigger();

    QCOMPARE(s.services.saveCalls.size(), 1);
    const auto &options = s.services.saveCalls.first();
    QCOMPARE(options.filter, QString("BMPﾌｧｲﾙ (*.bmp)|*.bmp"));
    QCOMPARE(options.filterIndex, 0);
    QCOMPARE(options.initialDir, s.dir.path());
    QCOMPARE(options.title, QString());
    QVERIFY(options.confirmOverwrite);
    QVERIFY(options.pathMustExist);

    QCOMPARE(QDir(s.path("out")).entryList(QDir::Files), QStringList{name});
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), expected);
    QCOMPARE(w.settings().SavePath(), QDir::toNativeSeparators(s.path("out")));
    QVERIFY(!w.preview()->isVisible());
    QVERIFY(s.services.messageCalls.isEmpty());

    // The next Preview shows the window again, with the same photo.
    s.find<QPushButton>("cmdPreview")->click();
    QVERIFY(w.preview()->isVisible());
    QVERIFY(showsPhoto(w.preview(), readPhoto(photo)));
    // The re-created window proposes no name; its dialog starts in the new folder.
    w.IDM_SAVEPHOTO_Click();
    QCOMPARE(s.services.saveCalls.last().fileName, QString());
    QCOMPARE(s.services.saveCalls.last().initialDir, QDir::toNativeSeparators(s.path("out")));
}

void tst_frmPreview::saveProposesLastChosenName()
{
    Session s;
    frmMdiMain &w = s.start();
    const QString photo = s.path("m42.bmp");
    QVERIFY(writePhoto(photo, 100, 100));
    s.services.openAnswers.enqueue(photo);
    w.IDM_LOADPHOTO_Click();
    w.IDM_SAVEPHOTO_Click(); // cancelled
    QCOMPARE(s.services.saveCalls.last().fileName, QDir::toNativeSeparators(photo));
    QVERIFY(s.services.saveCalls.last().confirmOverwrite);
}

void tst_frmPreview::cancelledSaveChangesNothing()
{
    Session s;
    frmMdiMain &w = s.start();
    w.settings().SavePath("/keep");
    w.Toolbar_ButtonClick(s.find<QAction>("TbSavePhoto"));
    QCOMPARE(s.services.saveCalls.size(), 1);
    QCOMPARE(w.settings().SavePath(), QString("/keep"));
    QVERIFY(w.preview()->isVisible());
    QCOMPARE(QDir(s.dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(s.services.messageCalls.isEmpty());
}

void tst_frmPreview::failedSaveIsToldAndKeepsWindow()
{
    Session s;
    frmMdiMain &w = s.start();
    w.settings().SavePath("/keep");
    // A folder of that name stands where the file should go.
    QDir().mkpath(s.path("taken.bmp"));
    const QString target = s.path("taken.bmp");
    s.services.saveAnswers.enqueue(target);
    w.IDM_SAVEPHOTO_Click();
    QCOMPARE(s.services.messageCalls.size(), 1);
    const auto &told = s.services.messageCalls.first();
    QCOMPARE(told.icon, QMessageBox::Warning);
    QVERIFY2(told.text.contains(QDir::toNativeSeparators(target)), qPrintable(told.text));
    QCOMPARE(w.settings().SavePath(), QString("/keep"));
    QVERIFY(w.preview()->isVisible());
    QVERIFY(QFileInfo(target).isDir());
}

void tst_frmPreview::clipboardHoldsTheSavedPixels()
{
    Session s;
    frmMdiMain &w = s.start();
    s.edit("txtTargetName")->setText("M42");
    s.swatch("picBackColor")->BackColor(0x00302010);
    const QString photo = s.path("m42.bmp");
    QVERIFY(writePhoto(photo, 240, 180));
    s.services.openAnswers.enqueue(photo);
    w.IDM_LOADPHOTO_Click();

    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText("something else");
    w.Toolbar_ButtonClick(s.find<QAction>("TbCopyClipboard"));
    QVERIFY(w.preview()->isVisible());
    const QImage pasted = clipboard->image().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!pasted.isNull());

    const QString target = s.path("saved.bmp");
    s.services.saveAnswers.enqueue(target);
    w.IDM_SAVEPHOTO_Click();
    const QImage saved = readPhoto(target);
    QCOMPARE(saved.size(), w.preview()->canvasImage().size());
    QCOMPARE(pasted, saved);
    QVERIFY(showsPhoto(w.preview(), readPhoto(photo)));
}

QTEST_MAIN(tst_frmPreview)
#include "tst_frmPreview.moc"
