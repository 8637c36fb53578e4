// The metafile player on any bytes: a size or a refusal, then a picture of that size or a
// refusal with a reason.
#include "FuzzSupport.h"
#include "io/metafile/MetafilePlayer.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QSize natural;
    QString error;
    const bool sized = MetafilePlayer::naturalSize(bytes, &natural, &error);
    if (!sized && error.isEmpty())
        FuzzSupport::fail("a refused size without a reason");
    QString renderError;
    const QImage image = MetafilePlayer::render(bytes, &renderError);
    if (image.isNull()) {
        if (renderError.isEmpty())
            FuzzSupport::fail("a refused picture without a reason");
        return 0;
    }
    if (!sized || image.size() != natural)
        FuzzSupport::fail("a picture of another size than the header's");
    if (image.width() > MetafilePlayer::MaxWidth || image.height() > MetafilePlayer::MaxHeight)
        FuzzSupport::fail("a picture above the largest size");
    return 0;
}
