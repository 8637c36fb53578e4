#include "compose/SubframeSummary.h"
#include "io/PhotoMetadata.h"
#include "io/SubframeHeader.h"
#include "store/Translations.h"
#include "support/FitsWriter.h"
#include "support/LocalZone.h"
#include "support/TestFiles.h"

#include <QtTest>

namespace {

// "folder/name.fits|KEY=value|KEY=value": a FITS file with the keys; "name.fz" is a
// tile-compressed FITS file, "name.fits|!" a header without its end.
bool writeFrame(const QDir &dir, const QString &described)
{
    const QStringList parts = described.split(u'|');
    const QString path = dir.filePath(parts.first());
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    if (parts.value(1) == QLatin1String("!"))
        return TestFiles::writeAll(
            path, QByteArray("SIMPLE  =                    T").leftJustified(2880, ' '));
    FitsWriter::Image image;
    image.axes = {2, 2};
    image.values.assign(4, 0);
    image.keys = parts.mid(1);
    image.tileCompressed = path.endsWith(QLatin1String(".fz"));
    return FitsWriter::write(path, image);
}

// The placeholders' values in the order of SubframeSummary::names(), joined by "|".
QString texts(const SubframeSummary &summary)
{
    QStringList t(SubframeSummary::names().size());
    const DateStyle kanji{DateOrder::YearMonthDay, DateDelimiter::Kanji};
    for (const auto &[name, value] : summary.placeholders(kanji, false))
        t[SubframeSummary::names().indexOf(name)] = value;
    return t.join(u'|');
}

} // namespace

class tst_SubframeSummary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setLocalZone("Asia/Tokyo"); }
    void folders_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("japanese"); // INTEGRATION|SUBS|NIGHTS|FIRST|LAST|report
        QTest::addColumn<QString>("english");  // INTEGRATION|report

        // 21:30 and 02:10 in Tokyo are one night; DATE-LOC is the site's own clock. The second
        // night's files come first by name.
        QTest::newRow("filters and exposures over two nights")
            << QStringList{"a/c.fits|FILTER=Ha|EXPTIME=1800|DATE-OBS=2026-03-02T11:00:00",
                           "b/a.fits|FILTER=L|EXPTIME=1200|DATE-OBS=2026-03-01T12:30:00",
                           "b/b.fits|FILTER=L|EXPOSURE=1200.004|DATE-OBS=2026-03-01T17:10:00",
                           "a/d.fits|FILTER=Ha|EXPTIME=1800|DATE-LOC=2026-03-03T03:00:00",
                           "a/e.fits|FILTER=L|EXPTIME=60|DATE-OBS=2026-03-02T19:00:00",
                           "a/f.fz|FILTER=l|EXPTIME=1200|DATE-OBS=2026-03-02T19:30:00"}
            << "L 3×1200秒 L 1×60秒 Ha 2×1800秒 計2時間01分|6|2|2026年03月01日|2026年03月02日|"
               "サブフレーム: ライト 6 枚"
            << "L 3×1200 s, L 1×60 s, Ha 2×1800 s, total 2 h 01 m|Sub-frames: 6 light frames";
        // "LIGHT", "Light Frame", "Dark Frame" and camera files known by their folder are the
        // window's and the command's tests. Dark flats are one word however written.
        QTest::newRow("calibration frames as capture programs mark them")
            << QStringList{"c.fits|FRAME=Light|EXPTIME=300",
                           "e.fits|IMAGETYP=DARK|EXPTIME=300",
                           "f.fits|IMAGETYP=Flat Field|EXPTIME=2",
                           "g.fits|FRAME=Flat|EXPTIME=2",
                           "h.fits|IMAGETYP=Bias Frame|EXPTIME=0.001",
                           "i.fits|IMAGETYP=Offset|EXPTIME=0.001",
                           "k.fits|FRAMETYP=Dark Flat|EXPTIME=2",
                           "l.fits|IMAGETYP=FlatDark|EXPTIME=2",
                           "m.fits|IMAGETYP=Master Bias|EXPTIME=0.001",
                           "darks/n.fits|IMAGETYP=Light|EXPTIME=300"}
            << "2×300秒 計10分|2||||サブフレーム: ライト 2 枚 (ダーク・フラット・バイアス 8 "
               "枚を除外)"
            << "2×300 s, total 10 m|Sub-frames: 2 light frames (8 darks, flats and bias "
               "frames left out)";
        QTest::newRow("a damaged header and a frame without exposure are counted")
            << QStringList{"a.fits|EXPTIME=45", "b.fits|!", "c.fits|FILTER=R", "d.fits|EXPTIME=-3"}
            << "1×45秒 計45秒|1||||サブフレーム: ライト 1 枚 (露出時間のない 2 枚を除外、"
               "読めない 1 ﾌｧｲﾙ)"
            << "1×45 s, total 45 s|Sub-frames: 1 light frame (2 without an exposure time left "
               "out, 1 file unreadable)";
    }
    void folders()
    {
        QFETCH(QStringList, frames);
        QFETCH(QString, japanese);
        QFETCH(QString, english);
        QTemporaryDir dir;
        for (const QString &frame : frames)
            QVERIFY2(writeFrame(QDir(dir.path()), frame), qPrintable(frame));
        // Sub-folders are read too; a file named as well as its folder counts once.
        const SubframeSummary summary =
            SubframeSummary::read({dir.path(), dir.filePath(frames.first().section(u'|', 0, 0))});
        QCOMPARE(texts(summary) + u'|' + summary.report(), japanese);
        // The English texts, from the build's translation.
        const QList<QTranslator *> translators = Translations::install(
            AppSettings::Language::English, {QStringLiteral(MORVEL_TRANSLATIONS_DIR)});
        const auto removed = qScopeGuard([&] {
            for (QTranslator *translator : translators) {
                QCoreApplication::removeTranslator(translator);
                delete translator;
            }
        });
        QCOMPARE(texts(summary).section(u'|', 0, 0) + u'|' + summary.report(), english);
    }
    void master_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected"); // INTEGRATION|SUBS
        QTest::newRow("STACKCNT frames of EXPTIME") << "STACKCNT=36|EXPTIME=300|FILTER=Ha"
                                                    << "Ha 36×300秒 計3時間00分|36";
        QTest::newRow("NCOMBINE frames of EXPOSURE") << "NCOMBINE=36|EXPOSURE=300"
                                                     << "36×300秒 計3時間00分|36";
        QTest::newRow("LIVETIME is the total") << "STACKCNT=36|EXPTIME=300|LIVETIME=10500"
                                               << "36×300秒 計2時間55分|36";
        QTest::newRow("an EXPTIME equal to LIVETIME is the total")
            << "STACKCNT=36|EXPTIME=10800|LIVETIME=10800"
            << "36×300秒 計3時間00分|36";
        QTest::newRow("TOTALEXP without a count") << "TOTALEXP=3600|EXPTIME=300"
                                                  << "計1時間00分|";
        QTest::newRow("one frame is no master") << "EXPTIME=300"
                                                << "|";
    }
    void master()
    {
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(writeFrame(QDir(dir.path()), QStringLiteral("m.fits|") + keys));
        PhotoMetadata data;
        QVERIFY(SubframeHeader::readMaster(dir.filePath(QStringLiteral("m.fits")), &data));
        QCOMPARE(texts(SubframeSummary::ofMaster(data)).section(u'|', 0, 1), expected);
    }
};

QTEST_GUILESS_MAIN(tst_SubframeSummary)
#include "tst_SubframeSummary.moc"
