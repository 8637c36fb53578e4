#pragma once

#include <QString>

#include <fitsio.h>

// cfitsio, loaded when the first FITS photo is read. Linked to the program it would load its
// thirty-odd libraries (curl, TLS, Kerberos...) at every start, which costs a command-line run
// several milliseconds for nothing when the photo is a JPEG.
struct Cfitsio
{
    decltype(&ffdkopn) openDiskFile;
    decltype(&ffclos) closeFile;
    decltype(&ffgerr) errorText;
    decltype(&ffcmsg) clearMessages;
    decltype(&ffmahd) moveToHdu;
    decltype(&ffgidm) imageDimensions;
    decltype(&ffgiszll) imageSize;
    decltype(&ffgidt) imageType;
    decltype(&ffgiet) imageEquivalentType;
    decltype(&ffgky) readKey;
    decltype(&ffgkey) readKeyword;
    decltype(&ffthdu) hduCount;
    decltype(&ffgpxvll) readPixels;
    decltype(&fits_is_compressed_image) isCompressedImage;
    decltype(&ffgcno) columnNumber;
    decltype(&ffgnrwll) rowCount;
    decltype(&ffgdesll) readDescriptor;
    decltype(&ffgcv) readColumn;
    decltype(&ffghsp) headerSpace;
    decltype(&ffgkyn) readKeyN;

    // The library's functions; null, with the reason, when it cannot be loaded.
    static const Cfitsio *load(QString *reason);

    // cfitsio's text for a status; its message stack is cleared.
    QString statusText(int status) const;
};
