#include "ComposeCommand.h"
#include "compose/FontSetup.h"
#include "compose/FrameDescription.h"
#include "compose/PanelValues.h"
#include "compose/PreviewCommand.h"
#include "compose/PreviewComposer.h"
#include "io/SavePicture.h"
#include "store/clsTemplateIO.h"
#include "support/TestFiles.h"

#include <QImageReader>
#include <QTest>

namespace {

const char kTemplate[] = "[Frame]\r\nPhotoSize=200x100\r\nBackground=0x200000\r\n"
                         "BorderColor=0xFFFFFF\r\nBorderWidth=3\r\n"
                         "[Header-0]\r\nData=M42\r\nFontSize=12\r\n"
                         "[Header-1]\r\nMonth=11\r\nDay=24\r\nYear=2001\r\nTime=22:30\r\n"
                         "[Header-2]\r\nData=10cm refractor\r\nFontAlign=1\r\n";

QImage photo(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(0, 200, 0));
    return image;
}

} // namespace

class tst_ComposeCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void help();
    void usageErrors_data();
    void usageErrors();
    void composesWhatThePreviewShows();
    void withoutPhotoUsesTheTemplateSize();
    void namedFilesMustExist_data();
    void namedFilesMustExist();
    void batchGoesOnPastABadPhoto();
    void batchFormatAndClash();

private:
    int run(const QStringList &args, bool progress = false);
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_out;
    QString m_err;
};

void tst_ComposeCommand::initTestCase()
{
    FontSetup::install();
    QVERIFY(TestFiles::writeAll(path(QStringLiteral("t.kvl")), kTemplate));
    QVERIFY(photo(200, 150).save(path(QStringLiteral("a.bmp")), "bmp"));
    QVERIFY(photo(120, 90).save(path(QStringLiteral("b.jpg")), "jpeg"));
    QVERIFY(photo(1601, 60).save(path(QStringLiteral("wide.bmp")), "bmp"));
    QVERIFY(TestFiles::writeAll(path(QStringLiteral("bad.jpg")), "not a picture"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("program"))));
}

int tst_ComposeCommand::run(const QStringList &args, bool progress)
{
    m_out.clear();
    m_err.clear();
    QTextStream out(&m_out);
    QTextStream err(&m_err);
    ComposeCommand command(path(QStringLiteral("program")), out, err, progress);
    return command.run(QStringList{QStringLiteral("morvel-compose")} + args);
}

void tst_ComposeCommand::help()
{
    QCOMPARE(run({QStringLiteral("--help")}), 0);
    for (const char *option :
         {"--settings", "--template", "--photo", "--output", "--output-dir", "--format"})
        QVERIFY(m_out.contains(QLatin1String(option)));
}

void tst_ComposeCommand::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown option") << QStringList{"--frobnicate", "--output", "x.bmp"};
    QTest::newRow("output and output-dir")
        << QStringList{"--output", "x", "--output-dir", "d", "p"};
    QTest::newRow("value missing") << QStringList{"--output"};
    QTest::newRow("bad format") << QStringList{"--output-dir", "d", "--format", "tiff", "p.jpg"};
    QTest::newRow("output-dir without photos") << QStringList{"--output-dir", "d"};
    QTest::newRow("loose photo with output") << QStringList{"--output", "x.bmp", "p.jpg"};
    QTest::newRow("option twice") << QStringList{"--output", "x", "--output", "y"};
}

void tst_ComposeCommand::usageErrors()
{
    QFETCH(QStringList, args);
    QCOMPARE(run(args), 2);
    QVERIFY(m_err.startsWith(QStringLiteral("morvel-compose: ")));
}

void tst_ComposeCommand::composesWhatThePreviewShows()
{
    const QString out = path(QStringLiteral("framed")); // no extension: BMP under that name
    QCOMPARE(run({"--template", path("t.kvl"), "--photo", path("a.bmp"), "--output", out}), 0);
    QVERIFY2(m_err.isEmpty(), qPrintable(m_err));

    // The same through the engine: defaults, the template with its date, Preview, the photo.
    clsTemplateIO tpl;
    QVERIFY(tpl.OpenFile(path(QStringLiteral("t.kvl"))));
    const QStringList fonts = FontSetup::panelFontNames();
    PanelValues panel = PanelValues::startupDefaults(QDateTime::currentDateTime(), fonts, false);
    panel.applyTemplate(tpl, false, fonts);
    FrameDescription frame;
    PreviewCommand::toFrameDescription(panel, 0, 0, frame);
    QCOMPARE(frame.TextItems[1].Text, "2001/12/25 22:30");
    PreviewComposer composer;
    composer.PhotoPath = path(QStringLiteral("a.bmp"));
    QVERIFY(composer.DrawPreview(frame, LayoutMargins{}).isDrawn());

    QCOMPARE(TestFiles::readAll(out), SavePicture::bmpBytes(composer.canvas()));
}

void tst_ComposeCommand::withoutPhotoUsesTheTemplateSize()
{
    const QString out = path(QStringLiteral("nophoto.png"));
    QCOMPARE(run({"--template", path("t.kvl"), "--output", out}), 0);
    const QImage image(out);
    QCOMPARE(image.width(), 2 * 20 + 200 + 3);
}

void tst_ComposeCommand::namedFilesMustExist_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    // The message names the file unless it says something else.
    const auto row = [](const char *name, const char *option, const char *file,
                        const char *message = nullptr) {
        QTest::newRow(name) << QString::fromUtf8(option) << QString::fromUtf8(file)
                            << QString::fromUtf8(message ? message : file);
    };
    row("missing template", "--template", "none.kvl");
    row("missing settings", "--settings", "none.ini");
    row("missing photo", "--photo", "none.jpg");
    row("unreadable photo", "--photo", "bad.jpg");
    row("a folder as template", "--template", "program");
    row("photo out of range", "--photo", "wide.bmp",
        "最大1600x1200、最小50x50の大きさまで作成可能です。");
}

void tst_ComposeCommand::namedFilesMustExist()
{
    QFETCH(QString, option);
    QFETCH(QString, file);
    QFETCH(QString, message);
    const QString out = path(QStringLiteral("never.bmp"));
    QCOMPARE(run({option, path(file), "--output", out}), 1);
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
    QCOMPARE(m_err.count(QLatin1Char('\n')), 1);
    QVERIFY(!QFile::exists(out));
}

void tst_ComposeCommand::batchGoesOnPastABadPhoto()
{
    const QString dir = path(QStringLiteral("batch"));
    QCOMPARE(run({"--template", path("t.kvl"), "--output-dir", dir, path("a.bmp"), path("bad.jpg"),
                  path("b.jpg")},
                 true),
             1);
    QVERIFY(QFile::exists(dir + QStringLiteral("/a.bmp")));
    QVERIFY(QFile::exists(dir + QStringLiteral("/b.bmp")));
    QVERIFY(!QFile::exists(dir + QStringLiteral("/bad.bmp")));
    QVERIFY(m_err.contains(QStringLiteral("bad.jpg")));
    QVERIFY(m_err.contains(QStringLiteral("[1/3]")));
    QVERIFY(m_err.contains(QStringLiteral("[3/3]")));
    const QImage b(dir + QStringLiteral("/b.bmp"));
    QCOMPARE(b.pixel(b.width() / 2, b.height() / 2), qRgb(0, 200, 0)); // the photo in the middle
}

void tst_ComposeCommand::batchFormatAndClash()
{
    const QString dir = path(QStringLiteral("pngs"));
    QCOMPARE(run({"--output-dir", dir, "--format", "png", path("a.bmp"), path("b.jpg")}), 0);
    QVERIFY(m_err.isEmpty()); // no progress lines unless asked
    QCOMPARE(QImageReader(dir + QStringLiteral("/a.png")).format(), QByteArray("png"));
    // Two photos with one base name would overwrite each other: the second one fails.
    QVERIFY(photo(60, 60).save(path(QStringLiteral("a.jpg")), "jpeg"));
    QCOMPARE(run({"--output-dir", dir, path("a.bmp"), path("a.jpg")}), 1);
    QVERIFY(m_err.contains(QStringLiteral("a.jpg")));
}

QTEST_MAIN(tst_ComposeCommand)
#include "tst_ComposeCommand.moc"
