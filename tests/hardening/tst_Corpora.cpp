#include "compose/FrameLayout.h"
#include "io/LoadPicture.h"
#include "store/AppSettings.h"
#include "store/TemplateFile.h"
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

// The fuzz targets' corpora, files that between them reach nearly every branch of the readers,
// each read as the program reads it: what comes out must stay what corpora.txt says. After an
// intended change, MORVEL_UPDATE_CORPORA=1 writes corpora.txt anew (the pictures depend on the
// fonts tools/setup.sh installs); read its diff before committing it.
class tst_Corpora : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString digest(const QByteArray &bytes)
    {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16);
    }
    QString savedBytes(bool saved, const QString &error, const QString &copy) const
    {
        return saved ? digest(TestFiles::readAll(copy)) : error;
    }
    // What the program makes of the file: a picture's size and pixels, a template or the
    // settings as saved again, or the message that refuses it.
    QString outcome(const QString &kind, const QString &path) const
    {
        const QString copy = m_dir.filePath(QStringLiteral("copy"));
        QFile::remove(copy);
        if (kind == u"template") {
            TemplateFile tpl;
            const bool read = tpl.load(path);
            return savedBytes(read && tpl.save(copy, true), tpl.errorString(), copy);
        }
        if (kind == u"settings") {
            AppSettings settings(QStringLiteral("/opt/morvel"), 15.0, 15.0);
            const bool read = settings.load(path);
            return savedBytes(read && settings.save(copy), settings.errorString(), copy);
        }
        const LoadPicture::Header header = LoadPicture::readHeader(path);
        if (!header.ok())
            return header.error;
        const QString size =
            QStringLiteral("%1x%2").arg(header.size.width()).arg(header.size.height());
        if (!FrameLayout::photoSizeAccepted(header.size.width(), header.size.height()))
            return size;
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        const QImage &image = picture.image;
        const QByteArray bits(reinterpret_cast<const char *>(image.constBits()),
                              image.sizeInBytes());
        return picture.ok() ? size + u' ' + digest(bits) + u' ' + picture.notice : picture.error;
    }

private slots:
    void asBefore()
    {
        const QDir corpora(QStringLiteral(CORPORA_DIR));
        QStringList lines;
        for (const QString &kind : corpora.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            for (const QString &name : QDir(corpora.filePath(kind)).entryList(QDir::Files)) {
                const QString path = corpora.filePath(kind + u'/' + name);
                lines << kind + u'/' + name + u' ' +
                             outcome(kind, path)
                                 .replace(QDir::toNativeSeparators(path), QStringLiteral("FILE"))
                                 .simplified();
            }
        }
        const QString golden = corpora.filePath(QStringLiteral("corpora.txt"));
        if (qEnvironmentVariableIsSet("MORVEL_UPDATE_CORPORA"))
            QVERIFY(TestFiles::writeAll(golden, lines.join(u'\n').toUtf8() + '\n'));
        QVERIFY(lines.size() > 100);
        QCOMPARE(lines,
                 QString::fromUtf8(TestFiles::readAll(golden)).split(u'\n', Qt::SkipEmptyParts));
    }
};

QTEST_MAIN(tst_Corpora)
#include "tst_Corpora.moc"
