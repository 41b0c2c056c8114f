// The window icon: base/icon.bmp, a 24- or 32-bit picture read by the game's
// BMP reader with its alpha, then handed to the window system.
#include "window_icon.h"

#include <cstdio>

#include "assets/assets.h"
#include "platform/platform.h"

WindowIconImage windowIconImage;

namespace {

// Room for a BMP of WindowIconMaxSide x WindowIconMaxSide at 32 bits with the
// largest header; anything a longer file holds past that is never looked at.
constexpr size_t MaxFileSize = 14 + 124 + 16 + WindowIconMaxSide * WindowIconMaxSide * 4;
uint8_t fileBytes[MaxFileSize];

uint32_t readU32(const uint8_t* p) {
    return p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

// What the reader takes but an icon is not: nullptr when the header suits an icon.
const char* unsuitable(size_t size) {
    constexpr size_t FileHeader = 14;
    if (size < FileHeader + 40 || fileBytes[0] != 'B' || fileBytes[1] != 'M') return "is not a BMP picture";
    const uint32_t headerSize = readU32(fileBytes + 14);
    if (headerSize < 40 || headerSize > 124 || FileHeader + headerSize > size) return "has a damaged header";
    if (readU32(fileBytes + 10) < FileHeader + headerSize) return "has its pixels inside its header";
    const int64_t width = int32_t(readU32(fileBytes + 18));
    const int64_t signedHeight = int32_t(readU32(fileBytes + 22));
    const int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    if (width < 1 || height < 1 || width > WindowIconMaxSide || height > WindowIconMaxSide)
        return "has a size an icon cannot have";
    const uint16_t bits = readU16(fileBytes + 28);
    if (readU16(fileBytes + 26) != 1 || (bits != 24 && bits != 32)) return "is not a 24-bit or 32-bit picture";
    const uint32_t compression = readU32(fileBytes + 30);
    if (compression != 0 && compression != 3 && compression != 6) return "is compressed";
    // Bit fields: red, green and blue each need bits (their masks follow the 40 bytes of any header).
    constexpr size_t Masks = FileHeader + 40;
    if (compression != 0 && size >= Masks + 12 &&
        (readU32(fileBytes + Masks) == 0 || readU32(fileBytes + Masks + 4) == 0 || readU32(fileBytes + Masks + 8) == 0))
        return "has damaged colour masks";
    return nullptr;
}

// Top row first, 4 bytes a pixel. A picture without alpha, or whose alpha is
// zero everywhere (written without it), is opaque, not invisible.
void keepAsIcon(const RgbImage& image) {
    bool anyAlpha = false;
    for (int y = 0; y < image.height; ++y) {
        const size_t from = static_cast<size_t>(image.height - 1 - y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            uint8_t* out = windowIconImage.rgba + (static_cast<size_t>(y) * image.width + x) * 4;
            const uint8_t* rgb = image.pixels + (from + x) * 3;
            out[0] = rgb[0], out[1] = rgb[1], out[2] = rgb[2];
            out[3] = image.alpha ? image.alpha[from + x] : 0;
            anyAlpha = anyAlpha || out[3] != 0;
        }
    }
    if (!anyAlpha)
        for (int i = 0; i < image.width * image.height; ++i) windowIconImage.rgba[i * 4 + 3] = 255;
    windowIconImage.width = image.width;
    windowIconImage.height = image.height;
}

// nullptr when windowIconImage now holds the picture, else what is wrong.
const char* decodeIcon(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return "cannot be opened";
    const size_t size = std::fread(fileBytes, 1, sizeof fileBytes, file);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) return "cannot be read";
    if (const char* problem = unsuitable(size)) return problem;
    char problem[160];
    RgbImage* image = decodeBitmap(fileBytes, size, problem, sizeof problem);
    if (!image) {
        static char said[200];
        std::snprintf(said, sizeof said, "is not a picture the game reads (%s)", problem);
        return said;
    }
    keepAsIcon(*image);
    freeRgbImage(image);
    return nullptr;
}

}  // namespace

bool loadWindowIcon(const char* path) {
    windowIconImage.width = 0;
    windowIconImage.height = 0;
    const char* problem = decodeIcon(path);
    if (problem) {
        windowIconImage.width = 0;
        windowIconImage.height = 0;
        std::fprintf(stderr, "vortiq: %s %s; the window keeps the desktop's default icon\n", path, problem);
        return false;
    }
    return true;
}

void applyWindowIcon() {
    if (loadWindowIcon("base/icon.bmp"))
        setWindowIcon(windowIconImage.rgba, windowIconImage.width, windowIconImage.height);
}
