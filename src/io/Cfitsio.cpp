#include "Cfitsio.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

template <typename F> bool resolve(QLibrary &library, const char *name, F *function)
{
    *function = reinterpret_cast<F>(library.resolve(name));
    return *function != nullptr;
}

} // namespace

const Cfitsio *Cfitsio::load(QString *reason)
{
    static QString failure;
    static const Cfitsio *const loaded = []() -> const Cfitsio * {
        // The file name the build found (MORVEL_CFITSIO_LIBRARY), else the plain name.
        QLibrary library(QStringLiteral(MORVEL_CFITSIO_LIBRARY));
        if (!library.load()) {
            library.setFileName(QStringLiteral("cfitsio"));
            if (!library.load()) {
                failure = library.errorString();
                return nullptr;
            }
        }
        static Cfitsio f;
        const bool all =
            resolve(library, "ffdkopn", &f.openDiskFile) &&
            resolve(library, "ffclos", &f.closeFile) && resolve(library, "ffgerr", &f.errorText) &&
            resolve(library, "ffcmsg", &f.clearMessages) &&
            resolve(library, "ffmahd", &f.moveToHdu) &&
            resolve(library, "ffgidm", &f.imageDimensions) &&
            resolve(library, "ffgiszll", &f.imageSize) &&
            resolve(library, "ffgidt", &f.imageType) &&
            resolve(library, "ffgiet", &f.imageEquivalentType) &&
            resolve(library, "ffgky", &f.readKey) && resolve(library, "ffgpxvll", &f.readPixels) &&
            resolve(library, "ffgkey", &f.readKeyword) && resolve(library, "ffthdu", &f.hduCount) &&
            resolve(library, "fits_is_compressed_image", &f.isCompressedImage) &&
            resolve(library, "ffgcno", &f.columnNumber) &&
            resolve(library, "ffgnrwll", &f.rowCount) &&
            resolve(library, "ffgdesll", &f.readDescriptor) &&
            resolve(library, "ffgcv", &f.readColumn) &&
            resolve(library, "ffghsp", &f.headerSpace) && resolve(library, "ffgkyn", &f.readKeyN);
        if (!all) {
            failure = library.errorString();
            return nullptr;
        }
        return &f; // the library stays loaded for the life of the process
    }();
    if (!loaded)
        *reason = QCoreApplication::translate("Cfitsio",
                                              "FITS を読むライブラリ cfitsio を読み込めません: %1")
                      .arg(failure);
    return loaded;
}

QString Cfitsio::statusText(int status) const
{
    char text[FLEN_STATUS] = {};
    errorText(status, text);
    clearMessages();
    return QString::fromLatin1(text);
}
