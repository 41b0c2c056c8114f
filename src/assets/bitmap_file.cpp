// Reading a BMP file whole, within the size of the largest picture the
// reader takes, and decoding it; every failure says so on standard error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "assets/assets.h"

RgbImage* readBitmapFile(const char* path) {
    if (!path) return nullptr;
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        std::fprintf(stderr, "vortiq: %s: cannot open (%s)\n", path, std::strerror(errno));
        return nullptr;
    }
    // The largest picture the reader takes, at 32 bits, with room for headers.
    const long sizeLimit = static_cast<long>(MaxBitmapPixels * 4 + (1 << 20));
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fprintf(stderr, "vortiq: %s: cannot read (%s)\n", path, std::strerror(errno));
        std::fclose(file);
        return nullptr;
    }
    if (size > sizeLimit) {
        std::fprintf(stderr, "vortiq: %s: file of %ld bytes is larger than any picture the reader takes\n", path,
                     size);
        std::fclose(file);
        return nullptr;
    }
    uint8_t* data = new (std::nothrow) uint8_t[size > 0 ? size : 1];
    size_t got = data ? std::fread(data, 1, static_cast<size_t>(size), file) : 0;
    std::fclose(file);
    if (!data || got != static_cast<size_t>(size)) {
        std::fprintf(stderr, "vortiq: %s: cannot read (%s)\n", path, data ? "short read" : "out of memory");
        delete[] data;
        return nullptr;
    }
    char problem[160];
    RgbImage* image = decodeBitmap(data, got, problem, sizeof problem);
    delete[] data;
    if (!image) std::fprintf(stderr, "vortiq: %s: %s\n", path, problem);
    return image;
}
