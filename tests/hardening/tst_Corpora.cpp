#include "compose/FrameLayout.h"
#include "io/LoadPicture.h"
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QTest>

// The picture readers' fuzz corpora (files that between them reach nearly every branch of the
// readers, a seed of every EMF record among them), each read as the program reads a photo: the
// size, the pixels or the refusal must stay what pictures.txt says. The pixels depend on the fonts
// tools/setup.sh installs.
class tst_Corpora : public QObject
{
    Q_OBJECT

    static QString outcome(const QString &path)
    {
        const LoadPicture::Header header = LoadPicture::readHeader(path);
        const QSize size = header.size;
        if (!header.ok() || !FrameLayout::photoSizeAccepted(size.width(), size.height()))
            return header.ok() ? QDebug::toString(size) : header.error;
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        const QByteArray pixels(reinterpret_cast<const char *>(picture.image.constBits()),
                                picture.image.sizeInBytes());
        const QByteArray digest = QCryptographicHash::hash(pixels, QCryptographicHash::Sha1);
        return picture.ok()
                   ? QDebug::toString(size) + u' ' + digest.toHex().left(16) + u' ' + picture.notice
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
