#pragma once

#include "sky/Wcs.h"
#include "support/FitsWriter.h"

// A FITS photo whose header places it on the sky (no solve needed): flat grey, `wcs`'s size.
inline bool writeSolvedFits(const QString &path, const Wcs &wcs)
{
    QStringList keys;
    for (const auto &[key, value] : wcs.headerCards())
        keys << key + QLatin1Char('=') + QString(value).remove(QLatin1Char('\''));
    const QSize size = wcs.imageSize();
    std::vector<double> pixels(size_t(size.width()) * size.height(), 20);
    return FitsWriter::write(path,
                             {BYTE_IMG, {size.width(), size.height()}, pixels, keys, false, false});
}
