#include "EmfWriter.h"
#include "SampleMetafiles.h"

#include "compose/FrameDescription.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewComposer.h"
#include "io/LoadPicture.h"
#include "io/metafile/MetafilePlayer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// WMF and EMF photos through the picture loader and into a framed picture.
class tst_MetafileLoading : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loaderReadsMetafiles_data();
    void loaderReadsMetafiles();
    void metafilePhotoIsFramed_data();
    void metafilePhotoIsFramed();
    void damagedMetafileIsUnreadable();
    void oversizedMetafileIsRefusedWithoutDrawing();

private:
    QString write(const QString &name, const QByteArray &data);
    static FrameDescription frame();

    QTemporaryDir m_dir;
};

void tst_MetafileLoading::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString tst_MetafileLoading::write(const QString &name, const QByteArray &data)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

FrameDescription tst_MetafileLoading::frame()
{
    FrameDescription frame;
    frame.PhotoWidth = 640;
    frame.PhotoHeight = 480;
    frame.BorderWidth = 2;
    frame.BorderColor = 0x0000FF;
    frame.BackColor = 0x303030;
    for (TextItem &item : frame.TextItems) {
        item.FontName = QStringLiteral("IPAGothic");
        item.FontSize = 12;
        item.FontColor = 0xFFFFFF;
    }
    frame.TextItems[0].Text = QStringLiteral("M42");
    return frame;
}

void tst_MetafileLoading::loaderReadsMetafiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("format");
    QTest::newRow("placeable WMF")
        << "m42.wmf" << SampleMetafiles::wmf() << int(LoadPicture::Format::Wmf);
    QTest::newRow("EMF") << "m42.emf" << SampleMetafiles::emf() << int(LoadPicture::Format::Emf);
    QTest::newRow("EMF known by its signature alone")
        << "m42.picture" << SampleMetafiles::emf() << int(LoadPicture::Format::Emf);
}

void tst_MetafileLoading::loaderReadsMetafiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(int, format);
    const QString path = write(name, data);

    const LoadPicture::Header header = LoadPicture::readHeader(path);
    QVERIFY2(header.ok(), qPrintable(header.error));
    QCOMPARE(int(header.format), format);
    QCOMPARE(header.size, QSize(480, 320));

    const LoadPicture::Picture picture = LoadPicture::decode(path);
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.image.format(), QImage::Format_RGB32);
    QString error;
    QCOMPARE(picture.image, MetafilePlayer::render(data, &error));
}

void tst_MetafileLoading::metafilePhotoIsFramed_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("name");
    QTest::newRow("placeable WMF") << SampleMetafiles::wmf() << "photo.wmf";
    QTest::newRow("EMF") << SampleMetafiles::emf() << "photo.emf";
}

void tst_MetafileLoading::metafilePhotoIsFramed()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, name);
    const QString path = write(name, data);
    QString error;
    const QImage photo = MetafilePlayer::render(data, &error);

    PreviewComposer composer;
    FrameDescription description = frame();
    const ComposeOutcome outcome = composer.loadPhotoFile(path, description, LayoutMargins());
    QVERIFY2(outcome.isDrawn(), qPrintable(outcome.message));
    QCOMPARE(description.PhotoWidth, 480);
    QCOMPARE(description.PhotoHeight, 320);

    // The whole photo, pixel for pixel, just inside the border.
    const QImage &canvas = composer.canvas();
    bool found = false;
    for (int dy = 0; dy <= 3 && !found; ++dy)
        for (int dx = 0; dx <= 3 && !found; ++dx)
            found = canvas.copy(composer.BorderLeft() + dx, composer.BorderTop() + dy, 480, 320) ==
                    photo;
    QVERIFY(found);
}

void tst_MetafileLoading::damagedMetafileIsUnreadable()
{
    const QByteArray data = SampleMetafiles::emf();
    const QString path = write("cut.emf", data.left(data.size() / 2));
    PreviewComposer composer;
    FrameDescription description = frame();
    const ComposeOutcome outcome = composer.loadPhotoFile(path, description, LayoutMargins());
    QCOMPARE(int(outcome.kind), int(ComposeOutcome::Kind::PhotoUnreadable));
    QVERIFY(outcome.message.contains("cut.emf"));
}

void tst_MetafileLoading::oversizedMetafileIsRefusedWithoutDrawing()
{
    // 2000 x 1000 pixels: the layout's size message, and the player is never asked to draw it.
    const QString path =
        write("wide.emf", EmfWriter::withFrame(QRect(QPoint(0, 0), QPoint(52916, 26458))).finish());
    PreviewComposer composer;
    FrameDescription description = frame();
    const ComposeOutcome outcome = composer.loadPhotoFile(path, description, LayoutMargins());
    QCOMPARE(int(outcome.kind), int(ComposeOutcome::Kind::PhotoSizeRefused));
    QCOMPARE(description.PhotoWidth, 2000);
    QCOMPARE(composer.decodeCount(), 0);
}

QTEST_MAIN(tst_MetafileLoading)
#include "tst_MetafileLoading.moc"
