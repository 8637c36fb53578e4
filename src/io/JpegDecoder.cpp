#include "JpegDecoder.h"

#include "common/ImageMemory.h"

#include <QFile>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <memory>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace {

constexpr int kJpegChunk = 64 * 1024;

struct JpegSource
{
    jpeg_source_mgr manager;
    QFile *file;
    JOCTET buffer[kJpegChunk];
};

struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" {

static void jpegInitSource(j_decompress_ptr) {}

static boolean jpegFill(j_decompress_ptr info)
{
    auto *source = reinterpret_cast<JpegSource *>(info->src);
    const qint64 n = source->file->read(reinterpret_cast<char *>(source->buffer), kJpegChunk);
    source->manager.next_input_byte = source->buffer;
    if (n <= 0) {
        // A file cut short ends as if its end-of-image marker were there, as in Qt's reader.
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = JOCTET(0xFF);
        source->buffer[1] = JOCTET(JPEG_EOI);
        source->manager.bytes_in_buffer = 2;
    } else {
        source->manager.bytes_in_buffer = size_t(n);
    }
    return TRUE;
}

static void jpegSkip(j_decompress_ptr info, long count)
{
    auto *source = reinterpret_cast<JpegSource *>(info->src);
    if (count <= 0)
        return;
    while (count > long(source->manager.bytes_in_buffer)) {
        count -= long(source->manager.bytes_in_buffer);
        jpegFill(info);
    }
    source->manager.next_input_byte += count;
    source->manager.bytes_in_buffer -= size_t(count);
}

static void jpegTermSource(j_decompress_ptr) {}

static void jpegErrorExit(j_common_ptr info)
{
    auto *error = reinterpret_cast<JpegError *>(info->err);
    error->manager.format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (corrupt data, a file cut short) do not stop the reading: they are counted, and the
// picture is told to be damaged in the program's words. Trace messages are dropped.
static void jpegMessage(j_common_ptr info, int level)
{
    if (level < 0)
        ++info->err->num_warnings;
}

} // extern "C"

} // namespace

namespace JpegDecoder {

int scale(QSize natural, QSize target)
{
    for (int n = 1; n < 8; ++n) {
        if ((qint64(natural.width()) * n + 7) / 8 >= target.width() &&
            (qint64(natural.height()) * n + 7) / 8 >= target.height())
            return n;
    }
    return 8;
}

// The caller owns nothing that a jump out of libjpeg would skip: every resource lives in *info,
// *source or the image.
Result read(QFile *file, QSize *size, QImage *image, QString *reason, const PhotoOptions &options,
            bool *damaged)
{
    jpeg_decompress_struct info;
    JpegError error;
    auto source = std::make_unique<JpegSource>();
    source->file = file;
    source->manager.init_source = jpegInitSource;
    source->manager.fill_input_buffer = jpegFill;
    source->manager.skip_input_data = jpegSkip;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = jpegTermSource;
    source->manager.bytes_in_buffer = 0;
    source->manager.next_input_byte = nullptr;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegErrorExit;
    error.manager.emit_message = jpegMessage;
    error.message[0] = '\0';
    jpeg_create_decompress(&info);
    info.src = &source->manager;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        *reason = QString::fromLocal8Bit(error.message);
        return Result::Failed;
    }
    jpeg_read_header(&info, TRUE);
    *size = QSize(int(info.image_width), int(info.image_height));
    if (image) {
        info.scale_num = unsigned(scale(*size, options.fittedSize(*size)));
        info.scale_denom = 8;
    }
    jpeg_calc_output_dimensions(&info);
    const bool ownColours = info.jpeg_color_space == JCS_GRAYSCALE ||
                            info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB;
    if (!image || !ownColours ||
        qint64(info.output_width) * info.output_height * 4 > MaxDecodedBytes) {
        jpeg_destroy_decompress(&info);
        return image ? Result::LeftToQt : Result::Done;
    }
    // Blue, green, red and 0xFF in memory: the 0xffRRGGBB words of an RGB32 image.
    info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    const QImage pixels = ImageMemory::allocate(int(info.output_width), int(info.output_height),
                                                QImage::Format_RGB32);
    if (pixels.isNull()) {
        jpeg_destroy_decompress(&info);
        return Result::LeftToQt;
    }
    // Set again now that the image exists: nothing made after this point needs destroying, and
    // the image is not changed after it, so it is intact after a jump and freed on return.
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        *reason = QString::fromLocal8Bit(error.message);
        return Result::Failed;
    }
    jpeg_start_decompress(&info);
    uchar *const bits = const_cast<uchar *>(pixels.constBits()); // the only owner: no copy
    const qsizetype bytesPerLine = pixels.bytesPerLine();
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bits + bytesPerLine * qsizetype(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    if (damaged)
        *damaged = error.manager.num_warnings > 0;
    jpeg_destroy_decompress(&info);
    *image = pixels;
    return Result::Done;
}

} // namespace JpegDecoder
