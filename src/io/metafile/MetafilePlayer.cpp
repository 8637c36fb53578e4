#include "MetafilePlayer.h"

#include "EmfPlayer.h"
#include "MetafileErrors.h"
#include "WmfPlayer.h"

#include <uemf.h>
#include <uwmf.h>

#include <QtEndian>

#include <cstddef>

namespace {

// Records are read in place as 32-bit structures, so the bytes must be aligned.
QByteArray aligned(const QByteArray &data)
{
    if (reinterpret_cast<quintptr>(data.constData()) % alignof(quint64) == 0)
        return data;
    QByteArray copy(data.constData(), data.size());
    copy.detach();
    return copy;
}

} // namespace

namespace MetafilePlayer {

Kind kindOf(QByteArrayView head)
{
    if (head.size() >= 4 && qFromLittleEndian<quint32>(head.data()) == WmfPlayer::PlaceableKey)
        return Kind::Wmf;
    constexpr qsizetype signatureAt = offsetof(U_EMRHEADER, dSignature);
    if (head.size() >= signatureAt + 4 && qFromLittleEndian<quint32>(head.data()) == U_EMR_HEADER &&
        qFromLittleEndian<quint32>(head.data() + signatureAt) == U_ENHMETA_SIGNATURE)
        return Kind::Emf;
    // A WMF header: in memory or on disk, nine words long, version 1 or 3.
    if (head.size() >= 6) {
        const quint16 type = qFromLittleEndian<quint16>(head.data());
        const quint16 words = qFromLittleEndian<quint16>(head.data() + 2);
        const quint16 version = qFromLittleEndian<quint16>(head.data() + 4);
        if ((type == U_MEMORYMETAFILE || type == U_DISKMETAFILE) && words == U_SIZE_WMRHEADER / 2 &&
            (version == U_METAVERSION100 || version == U_METAVERSION300))
            return Kind::Wmf;
    }
    return Kind::None;
}

bool isMetafile(QByteArrayView head)
{
    return kindOf(head) != Kind::None;
}

bool naturalSize(const QByteArray &data, QSize *size, QString *error)
{
    *size = QSize();
    QString message;
    bool ok = false;
    if (data.size() > MaxFileBytes) {
        message = MetafileErrors::fileTooLarge();
    } else {
        switch (kindOf(data)) {
        case Kind::Wmf: {
            WmfPlayer::Info info;
            ok = WmfPlayer::readInfo(data, &info, &message);
            *size = info.size;
            break;
        }
        case Kind::Emf: {
            EmfPlayer::Info info;
            ok = EmfPlayer::readInfo(data, &info, &message);
            *size = info.size;
            break;
        }
        case Kind::None:
            message = MetafileErrors::notMetafile();
            break;
        }
    }
    if (!ok)
        *size = QSize();
    if (error)
        *error = ok ? QString() : message;
    return ok;
}

QImage render(const QByteArray &data, QString *error)
{
    QString message;
    QSize size;
    if (!naturalSize(data, &size, &message)) {
        if (error)
            *error = message;
        return {};
    }
    if (size.width() > MaxWidth || size.height() > MaxHeight) {
        if (error)
            *error = MetafileErrors::tooLarge(size, QSize(MaxWidth, MaxHeight));
        return {};
    }

    const QByteArray bytes = aligned(data);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780); // 96 dpi
    image.setDotsPerMeterY(3780);
    bool ok = false;
    if (kindOf(bytes) == Kind::Emf) {
        EmfPlayer::Info info;
        ok = EmfPlayer::readInfo(bytes, &info, &message) &&
             EmfPlayer::play(bytes, info, &image, &message);
    } else {
        WmfPlayer::Info info;
        ok = WmfPlayer::readInfo(bytes, &info, &message) &&
             WmfPlayer::play(bytes, info, &image, &message);
    }
    if (!ok) {
        if (error)
            *error = message;
        return {};
    }
    // Raster operations may have touched the unused alpha byte.
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    if (error)
        error->clear();
    return image;
}

} // namespace MetafilePlayer
