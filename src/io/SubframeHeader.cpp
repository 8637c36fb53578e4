#include "SubframeHeader.h"

#include "Cfitsio.h"
#include "Exiv2Lock.h"
#include "PhotoMetadata.h"
#include "XisfFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <cmath>
#include <optional>

namespace {

// A header must end within this many bytes (some 13 000 cards), as for a photo's data.
constexpr qint64 kMaxFitsHeaderBytes = 1 << 20;
constexpr int kFitsBlock = 2880;
constexpr int kFitsCard = 80;
constexpr double kMaxNumber = 1e12;

struct FitsKey
{
    const char *name;
    const char *alternatives[2];
    bool number;
};

const FitsKey kFitsKeys[] = {
    {SubframeHeader::FrameType, {"FRAME", "FRAMETYP"}, false},
    {SubframeHeader::Filter, {}, false},
    {SubframeHeader::Exposure, {"EXPOSURE"}, true},
    {"DATE-OBS", {}, false},
    {"DATE-LOC", {}, false},
    {SubframeHeader::StackCount, {"NCOMBINE"}, true},
    {SubframeHeader::LiveTime, {"TOTALEXP"}, true},
};

const char *const kSubframeSuffixes[] = {"fit",  "fits", "fts",  "fz",  "xisf", "jpg",
                                         "jpeg", "tif",  "tiff", "cr2", "cr3",  "nef",
                                         "arw",  "orf",  "rw2",  "raf", "dng",  "pef"};

QString decodeText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// A number above zero, or nothing ("1.5D2" is FITS for 150).
std::optional<double> positiveNumber(QString text)
{
    text = text.trimmed().replace(QLatin1Char('D'), QLatin1Char('E'));
    bool ok = false;
    const double value = text.replace(QLatin1Char('d'), QLatin1Char('e')).toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0 || value >= kMaxNumber)
        return std::nullopt;
    return value;
}

// ---------------------------------------------------------------------------------------------
// FITS

// How many headers end (an "END" card) within the first MB, counting to two: cfitsio is only
// asked to read headers that end soon.
int headerEnds(QFile &file)
{
    static const QByteArray end = QByteArray("END").leftJustified(kFitsCard, ' ');
    int ends = 0;
    for (qint64 read = 0; read < kMaxFitsHeaderBytes && ends < 2; read += kFitsBlock) {
        const QByteArray block = file.read(kFitsBlock);
        if (block.size() < kFitsBlock)
            break;
        for (int card = 0; card < kFitsBlock && ends < 2; card += kFitsCard) {
            if (QByteArrayView(block).sliced(card, kFitsCard) == end)
                ++ends;
        }
    }
    return ends;
}

void readFitsKeys(const Cfitsio &fits, fitsfile *f, PhotoMetadata *data)
{
    for (const FitsKey &key : kFitsKeys) {
        const QString name = QString::fromLatin1(key.name);
        if (!data->value(name).isEmpty())
            continue; // from the primary header
        char raw[FLEN_VALUE] = {};
        int status = 0;
        fits.readKey(f, TSTRING, key.name, raw, nullptr, &status);
        for (const char *other : key.alternatives) {
            if (status == 0 || !other)
                break;
            status = 0;
            fits.readKey(f, TSTRING, other, raw, nullptr, &status);
        }
        if (status != 0)
            continue;
        const QString text = decodeText(QByteArrayView(raw));
        if (!key.number)
            data->setValue(name, text);
        else if (const auto number = positiveNumber(text))
            data->setValue(name, PhotoMetadata::numberText(*number));
    }
}

bool readFits(const QString &path, PhotoMetadata *data, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return false;
    }
    const int ends = headerEnds(file);
    if (ends == 0) {
        *reason =
            QCoreApplication::translate("SubframeHeader", "FITS のヘッダが終わっていません。");
        return false;
    }
    const Cfitsio *fits = Cfitsio::load(reason);
    if (!fits)
        return false;
    fitsfile *f = nullptr;
    int status = 0;
    // The disk-file opener takes the name as it stands (no URLs, no extended file syntax).
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (fits->openDiskFile(&f, name.constData(), READONLY, &status) != 0) {
        *reason = fits->statusText(status);
        return false;
    }
    readFitsKeys(*fits, f, data);
    // A compressed image keeps its keys in the first extension, after an empty primary.
    int naxis = -1;
    int type = 0;
    if (fits->imageDimensions(f, &naxis, &status) == 0 && naxis == 0 && ends > 1 &&
        fits->moveToHdu(f, 2, &type, &status) == 0)
        readFitsKeys(*fits, f, data);
    status = 0;
    fits->closeFile(f, &status);
    fits->clearMessages();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Camera files

bool readCamera(const QString &path, PhotoMetadata *data, QString *reason)
{
    const Exiv2Lock lock;
    // Canon's CR3 is an ISO media file, which exiv2 reads only when asked to.
    static const bool bmff = Exiv2::enableBMFF(true);
    Q_UNUSED(bmff);
    try {
        // An absolute path never reads as a URL or as standard input.
        const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
        const auto image = Exiv2::ImageFactory::open(name.toStdString(), false);
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        for (const char *key : {"Exif.Photo.DateTimeOriginal", "Exif.Photo.OffsetTimeOriginal"}) {
            const auto it = exif.findKey(Exiv2::ExifKey(key));
            if (it != exif.end() && it->typeId() == Exiv2::asciiString) {
                const std::string text = it->toString();
                data->setValue(QString::fromLatin1(key).section(QLatin1Char('.'), 2),
                               decodeText(QByteArrayView(text.data(), qsizetype(text.size()))));
            }
        }
        const auto exposure = exif.findKey(Exiv2::ExifKey("Exif.Photo.ExposureTime"));
        if (exposure != exif.end() && exposure->count() > 0 &&
            (exposure->typeId() == Exiv2::unsignedRational ||
             exposure->typeId() == Exiv2::signedRational)) {
            const Exiv2::Rational r = exposure->toRational(0);
            if (r.first > 0 && r.second > 0 && double(r.first) / r.second < kMaxNumber)
                data->setValue(QString::fromLatin1(SubframeHeader::Exposure),
                               PhotoMetadata::numberText(double(r.first) / r.second));
        }
    } catch (const std::exception &e) {
        *reason = QCoreApplication::translate("SubframeHeader", "カメラのﾌｧｲﾙとして読めません: %1")
                      .arg(QString::fromLocal8Bit(e.what()));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// XISF: the header alone, its FITSKeyword elements and the properties that stand for FITS keys
// (XisfFile.h), under the names FITS gives them.

bool readXisf(const QString &path, PhotoMetadata *data, QString *reason)
{
    XisfFile::Header header;
    if (!XisfFile::readHeader(path, &header, reason))
        return false;
    for (const FitsKey &key : kFitsKeys) {
        const XisfFile::Card *card = nullptr;
        for (const char *name : {key.name, key.alternatives[0], key.alternatives[1]}) {
            for (qsizetype i = 0; name && !card && i < header.cards.size(); ++i)
                if (header.cards[i].name == QLatin1String(name))
                    card = &header.cards[i];
        }
        if (!card)
            continue;
        const QString text = PhotoMetadata::fitsText(card->raw);
        if (!key.number)
            data->setValue(QString::fromLatin1(key.name), text);
        else if (const auto number = positiveNumber(text))
            data->setValue(QString::fromLatin1(key.name), PhotoMetadata::numberText(*number));
    }
    return true;
}

} // namespace

namespace SubframeHeader {

bool read(const QString &path, PhotoMetadata *data, QString *reason)
{
    *data = PhotoMetadata();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return false;
    }
    const QByteArray head = file.peek(16);
    file.close();
    if (head.startsWith("SIMPLE  ="))
        return readFits(path, data, reason);
    if (head.startsWith("XISF0100"))
        return readXisf(path, data, reason);
    return readCamera(path, data, reason);
}

bool readMaster(const QString &path, PhotoMetadata *data)
{
    *data = PhotoMetadata();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.peek(16);
    file.close();
    QString reason;
    return (head.startsWith("SIMPLE  =") || head.startsWith("XISF0100")) &&
           read(path, data, &reason);
}

bool isSubframeName(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    for (const char *known : kSubframeSuffixes) {
        if (suffix.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringList files(const QStringList &paths, QStringList *missing)
{
    QStringList found;
    QSet<QString> seen;
    auto add = [&](const QString &file) {
        const QString key = QFileInfo(file).absoluteFilePath();
        if (!seen.contains(key)) {
            seen.insert(key);
            found << file;
        }
    };
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isFile()) {
            add(path);
        } else if (info.isDir()) {
            QStringList inFolder;
            QDirIterator it(path, QDir::Files | QDir::Readable | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString file = it.next();
                if (isSubframeName(file))
                    inFolder << file;
            }
            inFolder.sort();
            for (const QString &file : inFolder)
                add(file);
        } else {
            *missing << path;
        }
    }
    return found;
}

} // namespace SubframeHeader
