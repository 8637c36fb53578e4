#include "ImageMemory.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace ImageMemory {

#ifdef Q_OS_LINUX
namespace {

constexpr size_t kLargePage = size_t(2) << 20;

struct Mapping
{
    void *address;
    size_t length;
};

void unmap(void *info)
{
    auto *mapping = static_cast<Mapping *>(info);
    munmap(mapping->address, mapping->length);
    delete mapping;
}

// An anonymous mapping aligned to the large page size, marked for large pages.
QImage mapped(int width, int height, qsizetype bytesPerLine, QImage::Format format)
{
    const size_t bytes = size_t(bytesPerLine) * size_t(height);
    const size_t length = (bytes + kLargePage - 1) & ~(kLargePage - 1);
    void *raw = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return {};
    // Keep the aligned part only.
    auto *base = static_cast<uchar *>(raw);
    const uintptr_t at = reinterpret_cast<uintptr_t>(base);
    const size_t head = ((at + kLargePage - 1) & ~uintptr_t(kLargePage - 1)) - at;
    if (head > 0)
        munmap(base, head);
    if (kLargePage - head > 0)
        munmap(base + head + length, kLargePage - head);
    uchar *address = base + head;
    madvise(address, length, MADV_HUGEPAGE); // a hint: ordinary pages when refused
    auto *mapping = new Mapping{address, length};
    QImage image(address, width, height, bytesPerLine, format, unmap, mapping);
    if (image.isNull())
        unmap(mapping);
    return image;
}

} // namespace
#endif

QImage allocate(int width, int height, QImage::Format format)
{
#ifdef Q_OS_LINUX
    if (width > 0 && height > 0 && format != QImage::Format_Invalid) {
        const qint64 depth = QImage::toPixelFormat(format).bitsPerPixel();
        const qint64 bytesPerLine = ((qint64(width) * depth + 31) >> 5) << 2;
        // Only worth it for images of a large page or more; QImage's own limits otherwise.
        if (bytesPerLine * height >= qint64(kLargePage) && bytesPerLine <= INT_MAX &&
            bytesPerLine * height <= qint64(1) << 30) {
            QImage image = mapped(width, height, qsizetype(bytesPerLine), format);
            if (!image.isNull())
                return image;
        }
    }
#endif
    return QImage(width, height, format);
}

} // namespace ImageMemory
