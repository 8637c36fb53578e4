#include "SampleMetafiles.h"

#include "io/metafile/MetafilePlayer.h"

#include <QElapsedTimer>
#include <QTest>
#include <QtEndian>

#include <random>

// Feeds thousands of damaged metafiles through the player: cut short, bytes changed, counts and
// sizes replaced by huge values, pieces copied over other records. None may crash, hang or take
// unbounded memory; each either draws a picture of its natural size or says why not.
class tst_MetafileFuzz : public QObject
{
    Q_OBJECT

private slots:
    void mutatedMetafiles_data();
    void mutatedMetafiles();
};

namespace {

// Per sample file; MORVEL_FUZZ_ITERATIONS asks for a longer run (under a sanitizer, say).
int iterations()
{
    const int asked = qEnvironmentVariableIntValue("MORVEL_FUZZ_ITERATIONS");
    return asked > 0 ? asked : 1500;
}

const quint32 HugeValues[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x40000000u,
                              0x0000FFFFu, 0x00007FFFu, 0x00008000u, 0x20000001u};

QByteArray mutate(QByteArray data, std::mt19937 &random)
{
    auto below = [&](qsizetype n) {
        return n <= 0 ? qsizetype(0) : qsizetype(random() % quint64(n));
    };
    const int steps = 1 + int(random() % 3);
    for (int step = 0; step < steps && !data.isEmpty(); ++step) {
        switch (random() % 5) {
        case 0: // cut short
            data.truncate(below(data.size()));
            break;
        case 1: // change a few bytes
            for (int i = 0, n = 1 + int(random() % 16); i < n; ++i)
                data[below(data.size())] = char(random());
            break;
        case 2: { // a huge count, size or offset on a field boundary
            const qsizetype at = below(data.size() - 4) & ~qsizetype(1);
            if (at + 4 <= data.size())
                qToLittleEndian<quint32>(HugeValues[random() % std::size(HugeValues)],
                                         data.data() + at);
            break;
        }
        case 3: { // a 16-bit field set to its extremes
            const qsizetype at = below(data.size() - 2) & ~qsizetype(1);
            if (at + 2 <= data.size())
                qToLittleEndian<quint16>(random() % 2 ? 0xFFFF : 0x7FFF, data.data() + at);
            break;
        }
        default: { // a piece copied over another place
            const qsizetype length = 1 + below(std::min<qsizetype>(64, data.size()));
            const qsizetype from = below(data.size() - length + 1);
            const qsizetype to = below(data.size() - length + 1);
            const QByteArray piece = data.mid(from, length);
            data.replace(to, length, piece);
            break;
        }
        }
    }
    return data;
}

} // namespace

void tst_MetafileFuzz::mutatedMetafiles_data()
{
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("placeable WMF") << SampleMetafiles::wmf() << 4711u;
    QTest::newRow("EMF") << SampleMetafiles::emf() << 1042u;
}

void tst_MetafileFuzz::mutatedMetafiles()
{
    QFETCH(QByteArray, sample);
    QFETCH(quint32, seed);

    QString error;
    QVERIFY2(!MetafilePlayer::render(sample, &error).isNull(), qPrintable(error));

    std::mt19937 random(seed);
    int drawn = 0, refused = 0;
    QElapsedTimer timer;
    timer.start();
    const int count = iterations();
    for (int i = 0; i < count; ++i) {
        const QByteArray data = mutate(sample, random);
        QSize size;
        const bool sized = MetafilePlayer::naturalSize(data, &size, &error);
        const QImage image = MetafilePlayer::render(data, &error);
        if (image.isNull()) {
            QVERIFY(!error.isEmpty());
            ++refused;
        } else {
            QVERIFY(sized);
            QCOMPARE(image.size(), size);
            QVERIFY(size.width() <= MetafilePlayer::MaxWidth);
            QVERIFY(size.height() <= MetafilePlayer::MaxHeight);
            QCOMPARE(image.format(), QImage::Format_RGB32);
            ++drawn;
        }
    }
    qInfo("%d mutated files: %d drawn, %d refused, %lld ms", count, drawn, refused,
          timer.elapsed());
    QVERIFY(drawn > 0);
    QVERIFY(refused > 0);
}

QTEST_MAIN(tst_MetafileFuzz)
#include "tst_MetafileFuzz.moc"
