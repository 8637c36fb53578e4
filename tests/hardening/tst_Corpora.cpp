#include "compose/FrameLayout.h"
#include "io/LoadPicture.h"
#include "support/TestFiles.h"

#include <QTest>

// The picture readers' fuzz corpora (files that between them reach nearly every branch of the
// readers, a seed of every EMF record among them), each read as the program reads a photo: the
// size, the pixels or the refusal must stay what pictures.txt says. The pixels depend on the fonts
// tools/setup.sh installs.
class tst_Corpora : public QObject
{
    Q_OBJECT

    static QString digest(const QImage &image)
    {
        return QDebug::toString(image.size()) + u' ' +
               TestFiles::digest(QByteArrayView(image.constBits(), image.sizeInBytes()));
    }

    // Read at its size with the automatic stretch, then shrunk into a small box with the linear
    // one.
    static QString outcome(const QString &path)
    {
        const LoadPicture::Header header = LoadPicture::readHeader(path);
        const QSize size = header.size;
        if (!header.ok() || !FrameLayout::photoSizeAccepted(size.width(), size.height()))
            return header.ok() ? QDebug::toString(size) : header.error;
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        const PhotoOptions small{PhotoOptions::Stretch::Linear, true, QSize(40, 30)};
        return picture.ok() ? digest(picture.image) + u' ' + picture.notice + u' ' +
                                  digest(LoadPicture::decode(path, small).image)
                            : picture.error;
    }

private slots:
    void picturesAsBefore()
    {
        const QDir corpus(QStringLiteral(CORPORA_DIR "/pictures"));
        QStringList lines;
        for (const QString &name : corpus.entryList(QDir::Files)) {
            const QString path = QDir::toNativeSeparators(corpus.filePath(name));
            lines << name + u' ' + outcome(path).replace(path, QStringLiteral("FILE")).simplified();
        }
        QVERIFY(lines.size() > 400);
        QCOMPARE(lines, TestFiles::golden(QStringLiteral(CORPORA_DIR "/pictures.txt"), lines));
    }
};

QTEST_MAIN(tst_Corpora)
#include "tst_Corpora.moc"
