#include "PhotoMetadata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cmath>
#include <numeric>
#include <optional>

#include "Cfitsio.h"
#include "Exiv2Lock.h"
#include "XisfFile.h"

namespace {

// Bytes of one value looked at; the rest of a longer value is dropped before decoding.
constexpr int kMaxValueBytes = 1024;
// A FITS header must end within this many bytes (a primary header of some 13 000 cards).
constexpr qint64 kMaxFitsHeaderBytes = 1 << 20;
constexpr int kFitsCard = 80;
constexpr double kMaxNumber = 1e12;

enum class Kind
{
    Text,     // any text
    Number,   // a number
    Positive, // a number above zero
    Count,    // a whole number above zero
    Any,      // a number or a text (SITELAT: 35.68 or '+35 40 52')
};

struct FitsKey
{
    const char *name;
    Kind kind;
    const char *alternative; // read when the key itself is absent
};

const FitsKey kFitsKeys[] = {
    {"OBJECT", Kind::Text, nullptr},       {"DATE-OBS", Kind::Text, nullptr},
    {"DATE-LOC", Kind::Text, nullptr},     {"EXPTIME", Kind::Positive, "EXPOSURE"},
    {"STACKCNT", Kind::Count, "NCOMBINE"}, {"TELESCOP", Kind::Text, nullptr},
    {"INSTRUME", Kind::Text, nullptr},     {"FOCALLEN", Kind::Positive, nullptr},
    {"APTDIA", Kind::Positive, nullptr},   {"FILTER", Kind::Text, nullptr},
    {"GAIN", Kind::Number, nullptr},       {"CCD-TEMP", Kind::Number, nullptr},
    {"XBINNING", Kind::Count, nullptr},    {"OBSERVER", Kind::Text, nullptr},
    {"SITELAT", Kind::Any, nullptr},       {"SITELONG", Kind::Any, nullptr},
};

enum class ExifKind
{
    Text,
    Decimal,  // a rational above zero: "2.8", "500"
    Exposure, // a rational above zero as photographers write it: "1/250", "0.3", "30"
    Integer,  // a whole number above zero
};

struct ExifTag
{
    const char *name;
    const char *key;
    ExifKind kind;
};

const ExifTag kExifTags[] = {
    {"DateTimeOriginal", "Exif.Photo.DateTimeOriginal", ExifKind::Text},
    {"OffsetTimeOriginal", "Exif.Photo.OffsetTimeOriginal", ExifKind::Text},
    {"Make", "Exif.Image.Make", ExifKind::Text},
    {"Model", "Exif.Image.Model", ExifKind::Text},
    {"LensModel", "Exif.Photo.LensModel", ExifKind::Text},
    {"FocalLength", "Exif.Photo.FocalLength", ExifKind::Decimal},
    {"FNumber", "Exif.Photo.FNumber", ExifKind::Decimal},
    {"ExposureTime", "Exif.Photo.ExposureTime", ExifKind::Exposure},
    {"ISO", "Exif.Photo.ISOSpeedRatings", ExifKind::Integer},
    {"Artist", "Exif.Image.Artist", ExifKind::Text},
};

// The tags that give the size of the sensor's pixels, for the scale of the picture on the sky.
const ExifTag kExifSkyTags[] = {
    {"FocalPlaneXResolution", "Exif.Photo.FocalPlaneXResolution", ExifKind::Decimal},
    {"FocalPlaneResolutionUnit", "Exif.Photo.FocalPlaneResolutionUnit", ExifKind::Integer},
    {"PixelXDimension", "Exif.Photo.PixelXDimension", ExifKind::Integer},
};

// UTF-8 when the bytes are UTF-8, otherwise one character a byte.
QString decodeText(QByteArrayView bytes)
{
    bytes = bytes.first(std::min<qsizetype>(bytes.size(), kMaxValueBytes));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

bool isSafeChar(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

// A checked number of the kind, or nothing.
std::optional<double> checkedNumber(double value, Kind kind)
{
    if (!std::isfinite(value) || std::fabs(value) >= kMaxNumber)
        return std::nullopt;
    if ((kind == Kind::Positive || kind == Kind::Count) && value <= 0)
        return std::nullopt;
    if (kind == Kind::Count && value != std::floor(value))
        return std::nullopt;
    return value;
}

// ---------------------------------------------------------------------------------------------
// FITS

bool isFitsHead(QByteArrayView head)
{
    return head.startsWith("SIMPLE  =");
}

// How many header ends ("END" and blanks on a card of its own) the first bytes of the file hold,
// so that cfitsio is only asked to read headers that end soon.
int headerEnds(QFile &file)
{
    static const QByteArray end = QByteArray("END").leftJustified(kFitsCard, ' ');
    int ends = 0;
    QByteArray card;
    for (qint64 read = 0; read < kMaxFitsHeaderBytes && ends < 2; read += kFitsCard) {
        card = file.read(kFitsCard);
        if (card.size() < kFitsCard)
            break;
        if (card == end)
            ++ends;
    }
    return ends;
}

// The text of a FITS value: a quoted string with '' for a quote, or the value as written.
QString fitsValueText(QByteArrayView v)
{
    v = v.trimmed();
    if (!v.startsWith('\''))
        return decodeText(v);
    QByteArray text;
    for (qsizetype i = 1; i < v.size(); ++i) {
        if (v[i] == '\'') {
            if (i + 1 < v.size() && v[i + 1] == '\'') {
                text += '\'';
                ++i;
                continue;
            }
            break;
        }
        text += v[i];
    }
    // A long string goes on in CONTINUE cards; the first card's part is what a caption takes.
    if (text.endsWith('&'))
        text.chop(1);
    return decodeText(text);
}

std::optional<double> fitsNumber(const QString &text, Kind kind)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char('D'), QLatin1Char('E')).replace(QLatin1Char('d'), QLatin1Char('e'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok ? checkedNumber(value, kind) : std::nullopt;
}

// The first card of each key, in header order.
const XisfFile::Card *findCard(const QList<XisfFile::Card> &cards, const char *name)
{
    for (const XisfFile::Card &card : cards)
        if (card.name == QLatin1String(name))
            return &card;
    return nullptr;
}

void readFitsKeys(const QList<XisfFile::Card> &cards, PhotoMetadata *data, bool onlyMissing)
{
    for (const FitsKey &key : kFitsKeys) {
        const QString name = QString::fromLatin1(key.name);
        if (onlyMissing && !data->value(name).isEmpty())
            continue;
        const XisfFile::Card *card = findCard(cards, key.name);
        if (!card && key.alternative)
            card = findCard(cards, key.alternative);
        if (!card)
            continue;
        const QByteArrayView raw =
            QByteArrayView(card->raw).first(std::min<qsizetype>(card->raw.size(), FLEN_VALUE - 1));
        const QString text = fitsValueText(raw);
        if (key.kind == Kind::Text) {
            data->setValue(name, text);
        } else if (const auto number = fitsNumber(text, key.kind)) {
            data->setValue(name, PhotoMetadata::numberText(*number));
        } else if (key.kind == Kind::Any && !raw.trimmed().startsWith('\'')) {
            continue; // T, F or a malformed number
        } else if (key.kind == Kind::Any) {
            data->setValue(name, text);
        }
    }
}

// The keys that place the picture on the sky.
void readSkyKeys(const QList<XisfFile::Card> &cards, PhotoMetadata *data, bool onlyMissing)
{
    static const QRegularExpression skyKey(QStringLiteral(
        "^(CTYPE[12]|CRVAL[12]|CRPIX[12]|CD[12]_[12]|PC[12]_[12]|CDELT[12]|CROTA[12]|"
        "A_ORDER|B_ORDER|AP_ORDER|BP_ORDER|(A|B|AP|BP)_[0-9]_[0-9]|RA|DEC|OBJCTRA|OBJCTDEC|"
        "XPIXSZ|PIXSIZE|PIXSIZE1|XBINNING|NAXIS[12]|ROWORDER)$"));
    for (const XisfFile::Card &card : cards) {
        if (skyKey.match(card.name).hasMatch() &&
            !(onlyMissing && !data->skyValue(card.name).isEmpty()))
            data->setSkyValue(card.name, fitsValueText(card.raw));
    }
}

// Every card of the current header, as written.
QList<XisfFile::Card> fitsCards(const Cfitsio &fits, fitsfile *f)
{
    QList<XisfFile::Card> cards;
    int count = 0;
    int more = 0;
    int status = 0;
    if (fits.headerSpace(f, &count, &more, &status) != 0)
        return cards;
    for (int n = 1; n <= count; ++n) {
        char name[FLEN_KEYWORD] = {};
        char raw[FLEN_VALUE] = {};
        char comment[FLEN_COMMENT] = {};
        status = 0;
        if (fits.readKeyN(f, n, name, raw, comment, &status) == 0)
            cards.append({QString::fromLatin1(name).toUpper(), QByteArray(raw)});
    }
    return cards;
}

// False, with *reason, only when cfitsio cannot be loaded.
bool readFits(const QString &path, QFile &file, PhotoMetadata *data, QString *reason)
{
    const int ends = headerEnds(file);
    if (ends == 0)
        return true;
    const Cfitsio *fits = Cfitsio::load(reason);
    if (!fits)
        return false;
    fitsfile *f = nullptr;
    int status = 0;
    // The disk-file opener takes the name as it stands (no URLs, no extended file syntax).
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (fits->openDiskFile(&f, name.constData(), READONLY, &status) == 0) {
        const QList<XisfFile::Card> cards = fitsCards(*fits, f);
        readFitsKeys(cards, data, false);
        readSkyKeys(cards, data, false);
        // A compressed image keeps its keys in the first extension, after an empty primary.
        int naxis = -1;
        int hduCount = 0;
        status = 0;
        fits->imageDimensions(f, &naxis, &status);
        fits->hduCount(f, &hduCount, &status);
        if (status == 0 && naxis == 0 && hduCount > 1 && ends > 1) {
            int type = 0;
            if (fits->moveToHdu(f, 2, &type, &status) == 0) {
                const QList<XisfFile::Card> cards = fitsCards(*fits, f);
                readFitsKeys(cards, data, true);
                readSkyKeys(cards, data, true);
            }
        }
        status = 0;
        fits->closeFile(f, &status);
    }
    fits->clearMessages();
    return true;
}

// ---------------------------------------------------------------------------------------------
// EXIF

bool isExifHead(QByteArrayView head)
{
    return head.startsWith("\xFF\xD8\xFF") || head.startsWith("II*\0") ||
           head.startsWith("MM\0*") || head.startsWith("\x89PNG\r\n\x1A\n");
}

QString rationalText(const Exiv2::Rational &r, ExifKind kind)
{
    if (r.first <= 0 || r.second <= 0)
        return {};
    const auto value = checkedNumber(double(r.first) / r.second, Kind::Positive);
    if (!value)
        return {};
    if (kind == ExifKind::Exposure) {
        const int divisor = std::gcd(r.first, r.second);
        if (r.first / divisor == 1 && r.second / divisor > 1)
            return QStringLiteral("1/%1").arg(r.second / divisor);
        if (*value < 0.25)
            return QStringLiteral("1/%1").arg(std::lround(1 / *value));
    }
    return PhotoMetadata::numberText(*value, 2);
}

QString exifValueText(const Exiv2::Exifdatum &datum, ExifKind kind)
{
    if (datum.count() == 0)
        return {};
    switch (kind) {
    case ExifKind::Text: {
        if (datum.typeId() != Exiv2::asciiString)
            return {};
        const std::string text = datum.toString();
        return decodeText(QByteArrayView(text.data(), qsizetype(text.size())));
    }
    case ExifKind::Decimal:
    case ExifKind::Exposure:
        if (datum.typeId() != Exiv2::unsignedRational && datum.typeId() != Exiv2::signedRational)
            return {};
        return rationalText(datum.toRational(0), kind);
    case ExifKind::Integer: {
        const Exiv2::TypeId type = datum.typeId();
        if (type != Exiv2::unsignedShort && type != Exiv2::unsignedLong &&
            type != Exiv2::signedShort && type != Exiv2::signedLong)
            return {};
        const auto value = checkedNumber(double(datum.toLong(0)), Kind::Count);
        return value ? PhotoMetadata::numberText(*value) : QString();
    }
    }
    return {};
}

void readExif(const QString &path, PhotoMetadata *data)
{
    const Exiv2Lock lock;
    try {
        // An absolute path never reads as a URL or as standard input.
        const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
        const auto image = Exiv2::ImageFactory::open(name.toStdString(), false);
        if (!image.get())
            return;
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        for (const ExifTag &tag : kExifTags) {
            const auto it = exif.findKey(Exiv2::ExifKey(tag.key));
            if (it != exif.end())
                data->setValue(QString::fromLatin1(tag.name), exifValueText(*it, tag.kind));
        }
        for (const ExifTag &tag : kExifSkyTags) {
            const auto it = exif.findKey(Exiv2::ExifKey(tag.key));
            if (it != exif.end())
                data->setSkyValue(QString::fromLatin1(tag.name), exifValueText(*it, tag.kind));
        }
    } catch (...) {
        // A damaged file simply has no (more) data.
    }
}

} // namespace

const QStringList &PhotoMetadata::names()
{
    static const QStringList names = [] {
        QStringList n;
        for (const FitsKey &key : kFitsKeys)
            n << QString::fromLatin1(key.name);
        for (const ExifTag &tag : kExifTags)
            n << QString::fromLatin1(tag.name);
        return n;
    }();
    return names;
}

bool PhotoMetadata::read(const QString &path, PhotoMetadata *data, QString *error)
{
    *data = PhotoMetadata();
    QFile file(path);
    QString reason;
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else {
        const QByteArray head = file.peek(16);
        if (head.startsWith("XISF0100")) {
            // A damaged header, like a damaged FITS header, simply has no data.
            XisfFile::Header header;
            if (XisfFile::readHeader(path, &header, &reason)) {
                readFitsKeys(header.cards, data, false);
                readSkyKeys(header.cards, data, false);
            }
            return true;
        }
        if (!isFitsHead(head)) {
            if (isExifHead(head))
                readExif(path, data);
            return true;
        }
        if (readFits(path, file, data, &reason)) // false only without cfitsio
            return true;
    }
    if (error)
        *error = tr("「%1」を読めません: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

QString PhotoMetadata::fitsText(QByteArrayView raw)
{
    return fitsValueText(raw);
}

QString PhotoMetadata::value(const QString &name) const
{
    return m_values.value(name.toUpper());
}

void PhotoMetadata::setValue(const QString &name, const QString &text)
{
    QString clean;
    clean.reserve(std::min<qsizetype>(text.size(), MaxLength * 2));
    for (qsizetype i = 0; i < text.size() && clean.size() <= MaxLength * 2; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t u = QChar::surrogateToUcs4(c, text.at(i + 1));
            if (isSafeChar(u))
                clean.append(c).append(text.at(i + 1));
            ++i;
        } else {
            clean += isSafeChar(c.unicode()) ? c : QChar(u' ');
        }
    }
    clean = clean.simplified();
    if (clean.size() > MaxLength)
        clean.truncate(clean.at(MaxLength - 1).isHighSurrogate() ? MaxLength - 1 : MaxLength);
    if (clean.isEmpty())
        m_values.remove(name.toUpper());
    else
        m_values.insert(name.toUpper(), clean);
}

void PhotoMetadata::setSkyValue(const QString &name, const QString &text)
{
    const QString clean = text.simplified().left(kFitsCard);
    if (clean.isEmpty())
        m_sky.remove(name.toUpper());
    else
        m_sky.insert(name.toUpper(), clean);
}

QString PhotoMetadata::numberText(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}
