// The photo data reader on any bytes (a FITS header, a JPEG or a TIFF by its signature), then the
// fill with the default patterns: every value short and free of control characters.
#include "FuzzSupport.h"
#include "compose/CaptionFill.h"
#include "io/PhotoMetadata.h"
#include "store/AppSettings.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzSupport::writeInput(QStringLiteral("photo"), data, size);
    PhotoMetadata metadata;
    if (!PhotoMetadata::read(path, &metadata))
        FuzzSupport::fail("a written file could not be read");
    for (const QString &name : PhotoMetadata::names()) {
        const QString value = metadata.value(name);
        if (value.size() > PhotoMetadata::MaxLength)
            FuzzSupport::fail("a value over the length", name);
        for (const QChar c : value) {
            if (c.category() == QChar::Other_Control || c == u'\u2028')
                FuzzSupport::fail("a control character in a value", name);
        }
    }
    CaptionFill::Patterns patterns;
    for (int i = 0; i < AppSettings::CaptionPatternCount; ++i)
        patterns[i] = AppSettings::defaultCaptionPattern(i);
    const PanelValues filled = CaptionFill::fill(PanelValues(), metadata, patterns);
    for (const QString &line : filled.footer) {
        if (line.size() > 20 * PhotoMetadata::MaxLength)
            FuzzSupport::fail("a footer line out of bounds");
    }
    return 0;
}
