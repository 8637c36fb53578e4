#include "MetafileWriter.h"

#include "compose/FrameDescription.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewComposer.h"
#include "io/LoadPicture.h"
#include "io/metafile/MetafilePlayer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// WMF and EMF photos through the picture loader and into a framed picture.
class tst_MetafileLoading : public QObject
{
    Q_OBJECT

private slots:
    void metafilePhotoIsFramed_data();
    void metafilePhotoIsFramed();
    void damagedOrOversizedMetafile_data();
    void damagedOrOversizedMetafile();

private:
    // Composes the photo file `name` holding `data`, in a 640 x 480 panel.
    ComposeOutcome compose(const QString &name, const QByteArray &data);

    QTemporaryDir m_dir;
    std::unique_ptr<PreviewComposer> m_composer;
    FrameDescription m_frame;
};

ComposeOutcome tst_MetafileLoading::compose(const QString &name, const QByteArray &data)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.close();
    m_composer = std::make_unique<PreviewComposer>();
    m_frame = FrameDescription();
    m_frame.PhotoWidth = 640;
    m_frame.PhotoHeight = 480;
    m_frame.BorderWidth = 2;
    m_frame.BorderColor = 0x0000FF;
    m_frame.BackColor = 0x303030;
    for (TextItem &item : m_frame.TextItems) {
        item.FontName = QStringLiteral("IPAGothic");
        item.FontSize = 12;
    }
    return m_composer->loadPhotoFile(file.fileName(), m_frame, LayoutMargins());
}

void tst_MetafileLoading::metafilePhotoIsFramed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("format");
    QTest::newRow("placeable WMF")
        << "m42.wmf" << MetafileWriter::sampleWmf() << int(LoadPicture::Format::Wmf);
    QTest::newRow("EMF known by its signature alone")
        << "m42.picture" << MetafileWriter::sampleEmf() << int(LoadPicture::Format::Emf);
}

void tst_MetafileLoading::metafilePhotoIsFramed()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(int, format);
    const ComposeOutcome outcome = compose(name, data);
    QVERIFY2(outcome.isDrawn(), qPrintable(outcome.message));
    const LoadPicture::Header header = LoadPicture::readHeader(m_dir.filePath(name));
    QCOMPARE(int(header.format), format);
    QCOMPARE(header.size, QSize(480, 320));
    QCOMPARE(QSize(m_frame.PhotoWidth, m_frame.PhotoHeight), QSize(480, 320));
    // The whole photo, pixel for pixel, just inside the border.
    QString error;
    const QImage photo = MetafilePlayer::render(data, &error);
    QCOMPARE(m_composer->canvas().copy(m_composer->drawnFrame().photoArea), photo);
}

void tst_MetafileLoading::damagedOrOversizedMetafile_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("kind");
    QTest::newRow("EMF cut in half")
        << MetafileWriter::sampleEmf().left(3000) << int(ComposeOutcome::Kind::PhotoUnreadable);
    // 2000 x 1000 pixels: the layout's size message, and the player is never asked to draw it.
    QTest::newRow("EMF of 2000 x 1000")
        << MetafileWriter::emfFrame(QRect(QPoint(0, 0), QPoint(52916, 26458))).finish()
        << int(ComposeOutcome::Kind::PhotoSizeRefused);
}

void tst_MetafileLoading::damagedOrOversizedMetafile()
{
    QFETCH(QByteArray, data);
    QFETCH(int, kind);
    const ComposeOutcome outcome = compose("photo.emf", data);
    QCOMPARE(int(outcome.kind), kind);
    QVERIFY(!outcome.message.isEmpty());
    QCOMPARE(m_composer->decodeCount(), 0);
}

QTEST_MAIN(tst_MetafileLoading)
#include "tst_MetafileLoading.moc"
