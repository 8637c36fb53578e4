#include "ComposeCommand.h"
#include "compose/FontSetup.h"
#include "compose/FrameDescription.h"
#include "compose/PanelValues.h"
#include "compose/PreviewCommand.h"
#include "compose/PreviewComposer.h"
#include "io/SavePicture.h"
#include "store/TemplateFile.h"
#include "support/ExifFiles.h"
#include "support/LocalZone.h"
#include "support/SolvedFits.h"
#include "support/TestFiles.h"

#include <QImageReader>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const char kTemplate[] = "[Frame]\r\nPhotoSize=200x100\r\nBackground=0x200000\r\n"
                         "BorderColor=0xFFFFFF\r\nBorderWidth=3\r\n"
                         "[Header-0]\r\nData=M42\r\nFontSize=12\r\n"
                         "[Header-1]\r\nMonth=11\r\nDay=24\r\nYear=2001\r\nTime=22:30\r\n"
                         "[Header-2]\r\nData=10cm refractor\r\nFontAlign=1\r\n";

} // namespace

class tst_ComposeCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        FontSetup::install();
        QVERIFY(QDir::setCurrent(m_dir.path())); // every file of the test in its own folder
        QVERIFY(TestFiles::writeAll(QStringLiteral("t.kvl"), kTemplate));
        for (const auto &[name, size] : {std::pair{"a.bmp", QSize(200, 150)},
                                         {"a.jpg", QSize(60, 60)},
                                         {"b.jpg", QSize(120, 90)},
                                         {"wide.bmp", QSize(1601, 60)},
                                         {"x.png", QSize(80, 60)}}) {
            QImage photo(size, QImage::Format_RGB32);
            photo.fill(qRgb(0, 200, 0));
            QVERIFY(photo.save(name));
        }
        QVERIFY(TestFiles::writeAll(QStringLiteral("bad.jpg"), "not a picture"));
        QImage detailed(160, 120, QImage::Format_RGB32); // noise: its pixels fill most of the file
        QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(detailed.bits()), 160 * 120);
        QVERIFY(detailed.save(QStringLiteral("cut.jpg"), "jpeg"));
        QFile cut(QStringLiteral("cut.jpg"));
        QVERIFY(cut.resize(cut.size() / 2));
        QVERIFY(QDir().mkpath(QStringLiteral("program")));
        // Solves are cached here; the photo of the Lagoon Nebula has its WCS in its header.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("cache"))));
        QVERIFY(writeSolvedFits(QStringLiteral("lagoon.fits"),
                                Wcs::fromView({270.9, -24.38}, 30, 0, false, QSize(240, 160))));
        QVERIFY(writeSolvedFits(QStringLiteral("sagittarius.fits"), // M 8, M 20, M 21 and more
                                Wcs::fromView({270.8, -23.6}, 90, 20, false, QSize(320, 240))));
        setLocalZone("Asia/Tokyo");
        QVERIFY(ExifFiles::write(QStringLiteral("camA.jpg"),
                                 {{"Exif.Image.Model", "Camera A"},
                                  {"Exif.Photo.DateTimeOriginal", "2026:01:15 21:05:30"},
                                  {"Exif.Photo.OffsetTimeOriginal", "+08:00"}}));
        QVERIFY(ExifFiles::write(QStringLiteral("camB.jpg"), {{"Exif.Image.Model", "Camera B"}},
                                 QSize(90, 70)));
    }
    void composesWhatThePreviewShows()
    {
        const QString out = QStringLiteral("framed"); // no extension: BMP under that name
        QCOMPARE(run({"--template", "t.kvl", "--photo", "a.bmp", "--output", out}), 0);
        QVERIFY2(m_err.isEmpty(), qPrintable(m_err));

        // The same through the engine: defaults, the template with its date, Preview, the photo.
        TemplateFile tpl;
        QVERIFY(tpl.load(QStringLiteral("t.kvl")));
        const QStringList fonts = FontSetup::panelFontNames();
        PanelValues panel =
            PanelValues::startupDefaults(QDateTime::currentDateTime(), fonts, false);
        panel.applyTemplate(tpl, false, fonts);
        FrameDescription frame;
        PreviewCommand::toFrameDescription(panel, {}, frame);
        PreviewComposer composer;
        QVERIFY(composer.compose(frame, LayoutMargins{}, QStringLiteral("a.bmp")).isDrawn());

        QCOMPARE(TestFiles::readAll(out), SavePicture::bmpBytes(composer.canvas()));
        // Without a photo the template's size holds: 200 x 100.
        QCOMPARE(run({"--template", "t.kvl", "--output", out + ".png"}), 0);
        QCOMPARE(QImage(out + ".png").size(), composer.canvas().size() - QSize(0, 50));
        // A photo too wide for the layout, shrunk for this run.
        QCOMPARE(run({"--template", "t.kvl", "--photo", "wide.bmp", "--fit", "1600x1200",
                      "--output", "fitted.bmp"}),
                 0);
        QCOMPARE(QImage(QStringLiteral("fitted.bmp")).width(), 2 * 20 + 1600 + 3);
    }
    void batchFormatAndClash()
    {
        QCOMPARE(run({"--output-dir", "pngs", "--format", "png", "a.bmp", "b.jpg"}), 0);
        QVERIFY(m_err.isEmpty()); // no progress lines unless asked
        QCOMPARE(QImageReader(QStringLiteral("pngs/a.png")).format(), QByteArray("png"));
        // Two photos with one base name would overwrite each other: the second one fails.
        QCOMPARE(run({"--output-dir", "pngs", "a.bmp", "a.jpg"}), 1);
        QVERIFY(m_err.contains(QStringLiteral("a.jpg")));
    }
    void setIsATemplateValue()
    {
        // Text, a colour as on the web and a boolean in any letter case, as the template holds
        // them.
        const QByteArray set = QByteArray(kTemplate).replace(
            "Data=M42\r\n",
            "Data=" + TestFiles::cp932("M42 オリオン大星雲") + "\r\nFontBold=True\r\n");
        QVERIFY(TestFiles::writeAll("set.kvl", set + "FontColor=0x80FF\r\n")); // [Header-2] is last
        QCOMPARE(run({"--template", "t.kvl", "--set", "Header-0.Data=M42 オリオン大星雲", "--set",
                      "Header-2.FontColor=#FF8000", "--set", "header-0.fontbold=true", "--photo",
                      "a.bmp", "--output", "viaSet.bmp"}),
                 0);
        QCOMPARE(run({"--template", "set.kvl", "--photo", "a.bmp", "--output", "viaFile.bmp"}), 0);
        QCOMPARE(TestFiles::readAll("viaSet.bmp"), TestFiles::readAll("viaFile.bmp"));
    }
    void fillFromPhotoInABatch()
    {
        // Each photo its own data, the --set values win over the fill; -j 3 writes what one run of
        // the photo writes, and the two photos that fail leave the others.
        const QStringList same = {"--template",          "t.kvl", "--set",
                                  "Header-4.Data=night", "--set", "Header-1.Time=late"};
        const QStringList photos = {"camA.jpg", "a.bmp", "bad.jpg",
                                    "camB.jpg", "b.jpg", "wide.bmp"};
        QCOMPARE(
            run(same + QStringList{"--fill-from-photo", "-j", "3", "--output-dir", "j3"} + photos,
                true),
            1);
        QVERIFY(m_err.contains(QStringLiteral("[6/6]")) &&
                m_err.contains(QStringLiteral("bad.jpg")));
        QCOMPARE(QDir("j3").entryList(QDir::Files).size(), 4);

        const QStringList camA = {"--set", "Header-2.Data=Camera A", "--set", "Header-1.Year=2026",
                                  "--set", "Header-1.Month=0",       "--set", "Header-1.Day=14"};
        const QList<std::pair<QString, QStringList>> expected = {
            {"camA", camA}, {"camB", {"--set", "Header-2.Data=Camera B"}}, {"a", {}}};
        for (const auto &[name, sets] : expected) {
            const QString photo = name + (name == "a" ? ".bmp" : ".jpg");
            QCOMPARE(run(same + sets + QStringList{"--photo", photo, "--output", "reference.bmp"}),
                     0);
            QVERIFY2(TestFiles::readAll("j3/" + name + ".bmp") ==
                         TestFiles::readAll("reference.bmp"),
                     qPrintable(name));
        }
    }
    void subframesFillTheCaption()
    {
        // Two light frames of one night from a camera, and a flat known by its folder.
        QVERIFY(QDir().mkpath(QStringLiteral("subs/Flats")));
        for (const auto &[frame, taken] : {std::pair{"subs/a.jpg", "2026:03:01 22:00:00"},
                                           {"subs/b.jpg", "2026:03:02 01:00:00"},
                                           {"subs/Flats/c.jpg", "2026:03:02 05:00:00"}})
            QVERIFY(ExifFiles::write(
                frame,
                {{"Exif.Photo.DateTimeOriginal", taken}, {"Exif.Photo.ExposureTime", "120/1"}},
                QSize(8, 8)));
        QVERIFY(TestFiles::writeAll(QStringLiteral("caption.ini"),
                                    TestFiles::cp932(QStringLiteral(
                                        "[Caption]\r\nLine2=[{INTEGRATION}, ][{NIGHTS}夜]\r\n"))));
        const QStringList caption = {"--settings", "caption.ini", "--photo", "a.bmp", "--output"};
        QCOMPARE(
            run(caption + QStringList{"subs.bmp", "--template", "t.kvl", "--subframes", "subs"}),
            0);
        QCOMPARE(m_err, QStringLiteral(
                            "サブフレーム: ライト 2 枚 (ダーク・フラット・バイアス 1 枚を除外)\n"));
        QCOMPARE(run({"--template", "t.kvl", "--photo", "a.bmp", "--set",
                      "Header-3.Data=2×120秒 計4分, 1夜", "--output", "typed.bmp"}),
                 0);
        QVERIFY(TestFiles::readAll("subs.bmp") == TestFiles::readAll("typed.bmp"));

        QCOMPARE(run({"--print-metadata", "a.bmp", "--subframes", "subs/a.jpg", "--subframes",
                      "subs/b.jpg"}),
                 0);
        QCOMPARE(m_out, QStringLiteral("{INTEGRATION}\t2×120秒 計4分\n{SUBS}\t2\n{NIGHTS}\t1\n"
                                       "{FIRST_NIGHT}\t2026/03/01\n{LAST_NIGHT}\t2026/03/01\n"));

        // The template's sub-frame folder, relative to the template file, when none is named.
        QVERIFY(QDir().mkpath(QStringLiteral("tpl")));
        QVERIFY(TestFiles::writeAll(QStringLiteral("tpl/subs.kvl"),
                                    QByteArray(kTemplate) + "[Subframes]\r\nFolder=../subs\r\n"));
        QCOMPARE(run(caption +
                     QStringList{"kept.bmp", "--template", "tpl/subs.kvl", "--fill-from-photo"}),
                 0);
        QVERIFY(TestFiles::readAll("kept.bmp") == TestFiles::readAll("subs.bmp"));
    }
    void solveFlags_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message"); // on standard error; empty for none
        QTest::addColumn<int>("pictures");
        const auto one = [](const char *name, const QStringList &flags, const char *photo, int code,
                            const char *message, int pictures) {
            QTest::newRow(name) << flags + QStringList{"--output", "s.bmp", "--photo", photo}
                                << code << QString::fromUtf8(message) << pictures;
        };
        one("solved", {"--solve"}, "lagoon.fits", 0, "", 1);
        one("typed target outside the field", {"--template", "t.kvl", "--solve"}, "lagoon.fits", 0,
            "lagoon.fits: 入力された対象「M42」は写野の外にあります。", 1);
        one("not solved, required", {"--require-solve", "--solve-timeout=3"}, "a.bmp", 1,
            "morvel-compose: a.bmp: 写野", 0);
        QTest::newRow("batch of two, -j 2: the one not solved is told and written")
            << QStringList{"--solve", "--solve-timeout", "3",    "-j", "2", "--output-dir",
                           "sd",      "lagoon.fits",     "a.bmp"}
            << 0 << "morvel-compose: a.bmp: 写野" << 2;
    }
    void solveFlags()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(int, pictures);
        QFile::remove(QStringLiteral("s.bmp"));
        QDir(QStringLiteral("sd")).removeRecursively();
        QCOMPARE(run(args), code);
        QVERIFY2(message.isEmpty() ? m_err.isEmpty() : m_err.contains(message), qPrintable(m_err));
        QCOMPARE(int(QFile::exists(QStringLiteral("s.bmp"))) +
                     int(QDir(QStringLiteral("sd")).entryList(QDir::Files).size()),
                 pictures);
    }
    void printsFieldFacts()
    {
        // The facts' texts are the sky layer's; here they follow the photo's values, in English.
        QCOMPARE(run({"--print-metadata", "lagoon.fits", "--solve", "--lang", "en"}), 0);
        QVERIFY2(m_out.contains("{TARGET}\tM 8 (NGC 6523) Lagoon Nebula\n"), qPrintable(m_out));
        QVERIFY(m_err.isEmpty());
    }
    void neverWritesOverAPhoto_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("photo"); // the file that must keep its bytes
        QTest::addColumn<QString>("output");
        const auto row = [](const char *name, const QStringList &args, const char *photo,
                            const char *output) { QTest::newRow(name) << args << photo << output; };
        QVERIFY(QFile::link(QStringLiteral("x.png"), QStringLiteral("link.png")));
        row("a batch in the photo's folder", {"--output-dir=.", "--format", "jpg", "b.jpg"},
            "b.jpg", "./b.jpg");
        row("a link to the photo", {"--photo", "x.png", "--output", "link.png"}, "x.png",
            "link.png");
        row("a sub-frame", {"--subframes", "camB.jpg", "--output", "camB.jpg"}, "camB.jpg",
            "camB.jpg");
#ifdef Q_OS_UNIX
        // Another name of the same file, which no path resolves to the photo's.
        QVERIFY(::link("x.png", "hard.png") == 0);
        row("a second name of the photo", {"--photo", "x.png", "--output", "hard.png"}, "x.png",
            "hard.png");
#endif
    }
    void neverWritesOverAPhoto()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, photo);
        QFETCH(QString, output);
        const QByteArray bytes = TestFiles::readAll(photo);
        QCOMPARE(run(args), 1);
        QVERIFY2(m_err.contains(QStringLiteral("morvel-compose: 「%1」は入力の写真「%2」と同じ")
                                    .arg(output, photo)),
                 qPrintable(m_err));
        QVERIFY(TestFiles::readAll(photo) == bytes);
    }
    void noticesInThePhotosOrder()
    {
        // Each photo's notice after its own line of progress, whichever worker read it first.
        const QStringList photos = {"c1.jpg", "a.bmp", "c2.jpg", "c3.jpg", "c4.jpg"};
        QString expected;
        for (int i = 0; i < photos.size(); ++i) {
            if (photos[i] != "a.bmp")
                QVERIFY(QFile::copy(QStringLiteral("cut.jpg"), photos[i]));
            QCOMPARE(run({"--photo", photos[i], "--output", "single.bmp"}), 0);
            expected += QStringLiteral("[%1/5] %2 -> n/%3.bmp\n")
                            .arg(i + 1)
                            .arg(photos[i], QFileInfo(photos[i]).completeBaseName()) +
                        m_err;
        }
        // A photo cut short is framed as far as it reads; one line says so.
        QCOMPARE(expected.count(u'\n'), 9);
        QCOMPARE(expected.count(QStringLiteral("c3.jpg")), 2);
        QCOMPARE(run(QStringList{"-j3", "--output-dir", "n"} + photos, true), 0);
        QCOMPARE(m_err, expected);
    }
    void commandsAsBefore()
    {
        // Each line of commands.txt in turn; "write NAME TEXT" writes a file first (in code page
        // 932, "\n" a line break). What the command says, its code and a digest of the picture
        // it writes must stay what composed.txt holds. CORPUS/ is the picture readers' corpus.
        const QString corpus = QStringLiteral(CORPORA_DIR "/pictures/");
        const QString script =
            QString::fromUtf8(TestFiles::readAll(QStringLiteral(CLI_DIR "/commands.txt")));
        QStringList lines;
        for (const QString &line : script.split(u'\n', Qt::SkipEmptyParts)) {
            QStringList args =
                QProcess::splitCommand(QString(line).replace(QStringLiteral("CORPUS/"), corpus));
            if (args.value(0) == u"write") {
                const QString text =
                    args.value(2).replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
                QVERIFY(TestFiles::writeAll(args.value(1), TestFiles::cp932(text)));
                continue;
            }
            lines << line << QString::number(run(args));
            for (const char *name : {"o.bmp", "o.png", "o.jpg"}) {
                const QByteArray bytes = TestFiles::readAll(QString::fromLatin1(name));
                if (QFile::remove(QString::fromLatin1(name)))
                    lines.last() += u' ' + TestFiles::digest(bytes);
            }
            const QString said = m_out + m_err;
            lines << QString(said)
                         .replace(corpus, QStringLiteral("CORPUS/"))
                         .split(u'\n', Qt::SkipEmptyParts);
        }
        QCOMPARE(lines, TestFiles::golden(QStringLiteral(CLI_DIR "/composed.txt"), lines));
    }

private:
    int run(const QStringList &args, bool progress = false);

    QTemporaryDir m_dir;
    QString m_out;
    QString m_err;
};

int tst_ComposeCommand::run(const QStringList &args, bool progress)
{
    m_out.clear();
    m_err.clear();
    QTextStream out(&m_out);
    QTextStream err(&m_err);
    ComposeCommand command(m_dir.filePath(QStringLiteral("program")), out, err, progress);
    return command.run(QStringList{QStringLiteral("morvel-compose")} + args);
}

QTEST_MAIN(tst_ComposeCommand)
#include "tst_ComposeCommand.moc"
