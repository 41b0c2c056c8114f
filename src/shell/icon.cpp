// The window icon: base/icon.bmp read with every length and offset checked
// against the file, then handed to the window system.
#include "window_icon.h"

#include <cstdio>
#include <cstring>

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

// One colour channel's place in a pixel: value = (pixel & mask) >> shift,
// scaled from `top` up to 255.
struct Channel {
    uint32_t mask;
    int shift;
    uint32_t top;
};

// False for a mask whose bits are not one run.
bool makeChannel(uint32_t mask, Channel* channel) {
    channel->mask = mask;
    channel->shift = 0;
    channel->top = 0;
    if (mask == 0) return true;
    while (((mask >> channel->shift) & 1) == 0) ++channel->shift;
    const uint32_t run = mask >> channel->shift;
    if ((run & (run + 1)) != 0) return false;
    channel->top = run;
    return true;
}

uint8_t channelValue(const Channel& channel, uint32_t pixel) {
    if (channel.top == 0) return 0;
    const uint32_t value = (pixel & channel.mask) >> channel.shift;
    return uint8_t((uint64_t(value) * 255 + channel.top / 2) / channel.top);
}

// nullptr when windowIconImage now holds the picture, else what is wrong.
const char* decodeIcon(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return "cannot be opened";
    const size_t size = std::fread(fileBytes, 1, sizeof fileBytes, file);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) return "cannot be read";

    constexpr size_t FileHeader = 14;
    if (size < FileHeader + 40 || fileBytes[0] != 'B' || fileBytes[1] != 'M') return "is not a BMP picture";
    const uint32_t pixelOffset = readU32(fileBytes + 10);
    const uint32_t headerSize = readU32(fileBytes + 14);
    if (headerSize < 40 || headerSize > 124 || FileHeader + headerSize > size) return "has a damaged header";
    const int64_t width = int32_t(readU32(fileBytes + 18));
    const int64_t signedHeight = int32_t(readU32(fileBytes + 22));
    const uint16_t planes = readU16(fileBytes + 26);
    const uint16_t bits = readU16(fileBytes + 28);
    const uint32_t compression = readU32(fileBytes + 30);
    const bool topDown = signedHeight < 0;
    const int64_t height = topDown ? -signedHeight : signedHeight;
    if (width < 1 || height < 1 || width > WindowIconMaxSide || height > WindowIconMaxSide)
        return "has a size an icon cannot have";
    if (planes != 1 || (bits != 24 && bits != 32)) return "is not a 24-bit or 32-bit picture";

    constexpr uint32_t Plain = 0, BitFields = 3, AlphaBitFields = 6;
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, bits == 32 ? 0xFF000000 : 0};
    if (compression == BitFields || compression == AlphaBitFields) {
        if (bits != 32) return "has bit fields on a 24-bit picture";
        // The masks sit in the longer headers, or right after the 40-byte one.
        const size_t count = compression == AlphaBitFields || headerSize >= 56 ? 4 : 3;
        const size_t at = FileHeader + 40;
        if (at + 4 * count > size || (headerSize > 40 && 40 + 4 * count > headerSize)) return "has a damaged header";
        for (size_t i = 0; i < count; ++i) masks[i] = readU32(fileBytes + at + 4 * i);
        if (count == 3) masks[3] = 0;
    } else if (compression != Plain) {
        return "is compressed";
    }
    Channel channels[4];
    for (int i = 0; i < 4; ++i)
        if (!makeChannel(masks[i], &channels[i])) return "has damaged colour masks";
    if (channels[0].top == 0 || channels[1].top == 0 || channels[2].top == 0) return "has damaged colour masks";

    const uint64_t stride = (uint64_t(bits) * width + 31) / 32 * 4;
    if (pixelOffset < FileHeader + headerSize || uint64_t(pixelOffset) + stride * height > size)
        return "is cut short";

    bool anyAlpha = false;
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row = fileBytes + pixelOffset + stride * uint64_t(topDown ? y : height - 1 - y);
        for (int64_t x = 0; x < width; ++x) {
            const uint8_t* p = row + x * (bits / 8);
            const uint32_t pixel = bits == 32 ? readU32(p) : (p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16));
            uint8_t* out = windowIconImage.rgba + (y * width + x) * 4;
            for (int c = 0; c < 4; ++c) out[c] = channelValue(channels[c], pixel);
            anyAlpha = anyAlpha || out[3] != 0;
        }
    }
    // A 32-bit picture whose alpha bytes are all zero was written without
    // alpha: it is opaque, not invisible.
    if (!anyAlpha)
        for (int64_t i = 0; i < width * height; ++i) windowIconImage.rgba[i * 4 + 3] = 255;
    windowIconImage.width = int32_t(width);
    windowIconImage.height = int32_t(height);
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
