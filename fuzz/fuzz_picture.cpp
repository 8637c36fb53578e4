// The picture loader as the preview uses it: the header first, the pixels only for a size the
// layout takes. Linked once per format (MorvelFuzzSuffix names the file as a user would); the
// seed corpus of each holds pictures of that format.
#include "FuzzSupport.h"
#include "compose/FrameLayout.h"
#include "io/LoadPicture.h"

extern const char *const MorvelFuzzSuffix;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString name = QStringLiteral("photo.") + QLatin1String(MorvelFuzzSuffix);
    const QString path = FuzzSupport::writeInput(name, data, size);
    const LoadPicture::Header header = LoadPicture::readHeader(path);
    if (!header.ok()) {
        if (!header.error.contains(path))
            FuzzSupport::fail("a refusal does not name the file", header.error);
        return 0;
    }
    if (!header.size.isValid() || header.size.isEmpty())
        FuzzSupport::fail("a readable header without a size");
    if (!FrameLayout::photoSizeAccepted(header.size.width(), header.size.height()))
        return 0;
    const LoadPicture::Picture picture = LoadPicture::decode(path);
    if (!picture.ok()) {
        if (!picture.error.contains(path))
            FuzzSupport::fail("a refusal does not name the file", picture.error);
        return 0;
    }
    const QImage &image = picture.image;
    if (image.format() != QImage::Format_RGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied)
        FuzzSupport::fail("decoded picture in another format");
    // A GIF's screen and its first frame may disagree; the layout then judges the decoded size
    // (Qt's allocation limit bounds it). Other formats must decode at their header's size.
    const bool gif =
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)).startsWith("GIF8");
    if (image.size() != header.size && !gif)
        FuzzSupport::fail("decoded size differs from the header's", QStringLiteral("%1x%2 / %3x%4")
                                                                        .arg(image.width())
                                                                        .arg(image.height())
                                                                        .arg(header.size.width())
                                                                        .arg(header.size.height()));
    return 0;
}
