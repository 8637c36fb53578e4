// Pictures that are huge, cut short, lie about themselves or are no pictures at all: each is
// refused with a message naming the file, or shown at the size its header gives, and no load
// takes much memory. Loads run in a separate process that reports its peak memory.
#include "HostileFiles.h"
#include "io/LoadPicture.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QTest>
#include <QtEndian>

using namespace HostileFiles;

namespace {

// What the preview does, as the probe reports it: "size-refused" (the header gives a size the
// layout refuses: never decoded), "refused" (not readable as a picture: a message names the
// file), "shown" (decoded at the header's size), or either of the last two.
const QString ShownOrRefused = QStringLiteral("shown or refused");

struct ProbeResult
{
    QString result;
    QSize size;
    qint64 ms = -1;
    qint64 peakKb = -1;
};

ProbeResult probe(const QString &mode, const QString &path)
{
    QProcess process;
    process.start(QStringLiteral(HARDENING_PROBE), {mode, path});
    ProbeResult r;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        r.result = QStringLiteral("hung");
        return r;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        r.result =
            QStringLiteral("crashed: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return r;
    }
    QHash<QString, QString> v;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            v.insert(QString::fromLatin1(line.left(eq)), QString::fromLocal8Bit(line.mid(eq + 1)));
    }
    r.result = v.value(QStringLiteral("result"));
    r.size =
        QSize(v.value(QStringLiteral("width")).toInt(), v.value(QStringLiteral("height")).toInt());
    r.ms = v.value(QStringLiteral("ms")).toLongLong();
    r.peakKb = v.value(QStringLiteral("peak_kb")).toLongLong();
    return r;
}

QByteArray withLe32(QByteArray bytes, int at, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + at);
    return bytes;
}

} // namespace

class tst_HostilePictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hostilePicture_data();
    void hostilePicture();

private:
    QTemporaryDir m_dir;
    qint64 m_baselineKb = 0;
};

void tst_HostilePictures::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // What loading a small ordinary photo costs: the process itself, Qt and its plugins.
    const QString path = m_dir.filePath(QStringLiteral("baseline.bmp"));
    QVERIFY(TestFiles::writeAll(path, encoded(gradient(80, 60), "BMP")));
    const ProbeResult r = probe(QStringLiteral("load"), path);
    QCOMPARE(r.result, QStringLiteral("shown"));
    m_baselineKb = r.peakKb;
    qInfo("baseline: an 80 x 60 BMP in %lld ms, peak %lld KiB", r.ms, r.peakKb);
}

void tst_HostilePictures::hostilePicture_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QSize>("headerSize");

    // One row per fault these files once caught; fuzz_picture_* explores the rest.
    const QByteArray bmp = encoded(gradient(400, 300), "BMP");
    QTest::newRow("30000 x 30000 JPEG header")
        << "huge.jpg" << jpegClaiming(30000, 30000) << "size-refused" << QSize(30000, 30000);
    QTest::newRow("30000 x 30000 GIF screen") << "huge.gif" << gif(60, 50, 1, QSize(30000, 30000))
                                              << "size-refused" << QSize(30000, 30000);
    QTest::newRow("30000 x 30000 BMP header")
        << "huge.bmp" << bmpHeader(30000, 30000, 4096) << "size-refused" << QSize(30000, 30000);
    QTest::newRow("BMP with far fewer pixels than its header says")
        << "short.bmp" << bmpHeader(1600, 1200, 1000) << ShownOrRefused << QSize(1600, 1200);
    QTest::newRow("BMP whose file size field says 2 GB")
        << "big-field.bmp" << withLe32(bmp, 2, 0x7FFFFFFF) << "shown" << QSize(400, 300);
    QTest::newRow("BMP whose pixels start past its end")
        << "far-offset.bmp" << withLe32(bmp, 10, 0x10000000) << ShownOrRefused << QSize(400, 300);
    QTest::newRow("BMP whose height is the most negative number")
        << "min-height.bmp" << withLe32(bmp, 22, INT_MIN) << "refused" << QSize();
    QTest::newRow("BMP header saying 60 x 50 before 400 x 300 of pixels")
        << "small-header.bmp" << withLe32(withLe32(bmp, 18, 60), 22, 50) << "shown"
        << QSize(60, 50);
    QTest::newRow("GIF of 5000 frames")
        << "frames.gif" << gif(60, 50, 5000) << "shown" << QSize(60, 50);
    QTest::newRow("GIF whose frame is larger than its screen")
        << "frame.gif" << gif(2000, 1500, 1, QSize(200, 150)) << "shown" << QSize(200, 150);
    QTest::newRow("JPEG named .bmp") << "really-jpeg.bmp" << encoded(gradient(400, 300), "JPEG", 90) << "shown" << QSize(400, 300);
}

void tst_HostilePictures::hostilePicture()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, outcome);
    QFETCH(QSize, headerSize);
    const QString path = m_dir.filePath(fileName);
    QVERIFY(TestFiles::writeAll(path, bytes));

    // Each load in a process of its own: the preview's way, and the pixels whatever the header
    // says.
    const ProbeResult viaHeader = probe(QStringLiteral("load"), path);
    const ProbeResult direct = probe(QStringLiteral("decode"), path);
    qInfo("%s: preview %s in %lld ms, peak +%lld KiB; decoding alone %s in %lld ms, peak +%lld KiB",
          QTest::currentDataTag(), qPrintable(viaHeader.result), viaHeader.ms,
          viaHeader.peakKb - m_baselineKb, qPrintable(direct.result), direct.ms,
          direct.peakKb - m_baselineKb);
    QVERIFY2(!direct.result.startsWith(u'c') && direct.result != u"hung",
             qPrintable(direct.result));
    if (outcome == ShownOrRefused)
        QVERIFY2(viaHeader.result == u"shown" || viaHeader.result == u"refused",
                 qPrintable(viaHeader.result));
    else
        QCOMPARE(viaHeader.result, outcome);
    if (viaHeader.result != u"refused")
        QCOMPARE(viaHeader.size, headerSize);
    if (direct.result == u"shown" && headerSize.isValid())
        QCOMPARE(direct.size, headerSize);
    // The largest photo the layout takes is 1600 x 1200 (7.5 MiB of pixels); nothing may cost
    // much more than a few of those.
    QVERIFY2(viaHeader.peakKb - m_baselineKb < 64 * 1024,
             qPrintable(QString::number(viaHeader.peakKb)));
    QVERIFY2(direct.peakKb - m_baselineKb < 160 * 1024, qPrintable(QString::number(direct.peakKb)));

    // A refusal names the file.
    if (viaHeader.result == u"refused") {
        const LoadPicture::Header header = LoadPicture::readHeader(path);
        const QString error = header.ok() ? LoadPicture::decode(path).error : header.error;
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }
}

QTEST_GUILESS_MAIN(tst_HostilePictures)
#include "tst_HostilePictures.moc"
