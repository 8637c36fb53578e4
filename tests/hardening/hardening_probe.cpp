// A process for the tests to kill in the middle of a save:
//
//   hardening_probe save-loop PATH  saves BMP version 0, 1, 2 ... over PATH until killed; prints
//                                   "saved N" after each
#include "io/SavePicture.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 3 || std::strcmp(argv[1], "save-loop") != 0) {
        std::fprintf(stderr, "usage: see the top of hardening_probe.cpp\n");
        return 2;
    }
    for (int n = 0;; ++n) {
        // Every pixel says n, so a torn file shows.
        QImage image(1600, 1200, QImage::Format_RGB32);
        image.fill(qRgb(n % 251, (n * 7) % 253, 128));
        QString error;
        if (!SavePicture::writeBmp(image, QString::fromLocal8Bit(argv[2]), &error)) {
            std::printf("failed=%s\n", qPrintable(error));
            return 1;
        }
        std::printf("saved %d\n", n);
        std::fflush(stdout);
    }
}
