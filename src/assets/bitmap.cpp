// The BMP reader: Windows and OS/2 bitmaps in the forms that picture editors
// save, decoded to packed RGB rows, bottom row first.
//
// Accepted: the 12-byte core header and the 40-, 52-, 56-, 64-, 108- and
// 124-byte information headers; 1-, 2-, 4- and 8-bit palette pictures,
// uncompressed or (4 and 8 bits) run-length encoded; 16- and 32-bit pictures
// with the default or their own bit masks, and their alpha where they have
// one; 24-bit pictures; bottom-up and top-down rows. Every read is checked
// against the end of the file, and no picture larger than MaxBitmapSide on a
// side or MaxBitmapPixels in all is made.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "assets/assets.h"

namespace {

constexpr size_t FileHeaderSize = 14;
// The values of the header's compression field.
enum : uint32_t {
    CompressionRgb = 0,
    CompressionRle8 = 1,
    CompressionRle4 = 2,
    CompressionBitfields = 3,
    CompressionAlphaBitfields = 6,
};

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

struct Rgb {
    uint8_t r, g, b;
};

// One colour channel of a 16- or 32-bit pixel, scaled to 8 bits.
struct Channel {
    uint32_t mask;
    int shift;     // of the channel's top 8 (or fewer) bits
    uint8_t scale[256];

    bool set(uint32_t m) {
        mask = m;
        shift = 0;
        std::memset(scale, 0, sizeof scale);
        if (m == 0) return true;
        int low = 0;
        while (!((m >> low) & 1)) ++low;
        int bits = 0;
        while (low + bits < 32 && ((m >> (low + bits)) & 1)) ++bits;
        if (low + bits < 32 && (m >> (low + bits)) != 0) return false;  // holes in the mask
        int kept = bits > 8 ? 8 : bits;
        shift = low + bits - kept;
        uint32_t top = (1u << kept) - 1;
        for (uint32_t v = 0; v <= top; ++v) scale[v] = static_cast<uint8_t>((v * 255 + top / 2) / top);
        return true;
    }
    uint8_t operator()(uint32_t pixel) const { return scale[((pixel & mask) >> shift) & 0xFF]; }
};

struct Header {
    int32_t width;
    int32_t height;
    bool topDown;
    int bitCount;
    uint32_t compression;
    uint32_t masks[4];  // red, green, blue, alpha
    Rgb palette[256];
    uint32_t dataOffset;
};

// Writes the problem (when asked for) and returns false.
__attribute__((format(printf, 3, 4))) bool report(char* problem, size_t problemSize, const char* format, ...) {
    if (problem && problemSize) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(problem, problemSize, format, args);
        va_end(args);
    }
    return false;
}

bool validDepth(int bits, uint32_t compression) {
    switch (compression) {
        case CompressionRgb:
            return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case CompressionRle8: return bits == 8;
        case CompressionRle4: return bits == 4;
        case CompressionBitfields:
        case CompressionAlphaBitfields: return bits == 16 || bits == 32;
        default: return false;
    }
}

// Reads the two headers, the masks and the palette.
bool readHeader(const uint8_t* data, size_t size, Header& h, char* problem, size_t problemSize) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M') return report(problem, problemSize, "not a BMP file (no BM signature)");
    if (size < FileHeaderSize + 4) return report(problem, problemSize, "file too short for a BMP header");
    h.dataOffset = u32(data + 10);
    const uint32_t headerSize = u32(data + FileHeaderSize);
    const uint8_t* info = data + FileHeaderSize;

    int64_t width, height;
    uint32_t colorsUsed = 0;
    size_t paletteEntrySize = 4;
    size_t masksInFile = 0;  // bytes of masks after a 40-byte header
    if (headerSize == 12) {
        if (size < FileHeaderSize + 12) return report(problem, problemSize, "file too short for its 12-byte header");
        width = u16(info + 4);
        height = u16(info + 6);
        h.bitCount = u16(info + 10);
        h.compression = CompressionRgb;
        paletteEntrySize = 3;
        if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 24)
            return report(problem, problemSize, "unsupported bit depth %d in a 12-byte header", h.bitCount);
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 ||
               headerSize == 108 || headerSize == 124) {
        if (size < FileHeaderSize + headerSize)
            return report(problem, problemSize, "file too short for its %u-byte header", static_cast<unsigned>(headerSize));
        width = static_cast<int32_t>(u32(info + 4));
        height = static_cast<int32_t>(u32(info + 8));
        h.bitCount = u16(info + 14);
        h.compression = u32(info + 16);
        colorsUsed = u32(info + 32);
        // The OS/2 header numbers its compressions differently above 2.
        if (headerSize == 64 && h.compression > CompressionRle4)
            return report(problem, problemSize, "unsupported OS/2 compression %u", static_cast<unsigned>(h.compression));
        if (!validDepth(h.bitCount, h.compression)) {
            if (h.compression > CompressionBitfields && h.compression != CompressionAlphaBitfields)
                return report(problem, problemSize, "unsupported compression %u", static_cast<unsigned>(h.compression));
            return report(problem, problemSize, "unsupported bit depth %d with compression %u", h.bitCount,
                        static_cast<unsigned>(h.compression));
        }
        if (h.compression == CompressionBitfields || h.compression == CompressionAlphaBitfields) {
            const uint8_t* masks = info + 40;
            if (headerSize == 40) {
                masksInFile = h.compression == CompressionBitfields ? 12 : 16;
                if (size < FileHeaderSize + 40 + masksInFile) return report(problem, problemSize, "bit masks run past the end of the file");
            }
            // The alpha mask: in the longer headers, or the fourth of a set after a 40-byte one.
            const int count = headerSize >= 56 || masksInFile == 16 ? 4 : 3;
            for (int i = 0; i < count; ++i) h.masks[i] = u32(masks + 4 * i);
        }
    } else {
        return report(problem, problemSize, "unsupported header size %u", static_cast<unsigned>(headerSize));
    }

    h.topDown = height < 0;
    if (height < 0) height = -height;
    if (width <= 0 || height == 0) return report(problem, problemSize, "empty picture (%lld x %lld)", static_cast<long long>(width),
                                               static_cast<long long>(height));
    if (width > MaxBitmapSide || height > MaxBitmapSide || width * height > MaxBitmapPixels)
        return report(problem, problemSize, "picture of %lld x %lld is larger than the reader takes", static_cast<long long>(width),
                    static_cast<long long>(height));
    h.width = static_cast<int32_t>(width);
    h.height = static_cast<int32_t>(height);

    if (h.compression == CompressionRgb && (h.bitCount == 16 || h.bitCount == 32)) {
        if (h.bitCount == 16) {
            h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
        } else {
            h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF, h.masks[3] = 0xFF000000;
        }
    }
    if (h.bitCount == 16 && ((h.masks[0] | h.masks[1] | h.masks[2]) >> 16) != 0)
        return report(problem, problemSize, "bit masks wider than a 16-bit pixel");

    std::memset(h.palette, 0, sizeof h.palette);
    if (h.bitCount <= 8) {
        uint32_t full = 1u << h.bitCount;
        uint32_t count = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
        size_t start = FileHeaderSize + headerSize + masksInFile;
        if (start + count * paletteEntrySize > size) return report(problem, problemSize, "palette runs past the end of the file");
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* entry = data + start + i * paletteEntrySize;
            h.palette[i] = Rgb{entry[2], entry[1], entry[0]};
        }
    }
    if (h.dataOffset > size)
        return report(problem, problemSize, "pixel data offset %u is past the end of the file", static_cast<unsigned>(h.dataOffset));
    return true;
}

inline uint8_t* rowOf(const Header& h, uint8_t* pixels, int fileRow) {
    int row = h.topDown ? h.height - 1 - fileRow : fileRow;
    return pixels + static_cast<size_t>(row) * h.width * 3;
}

void decodeIndexedRow(const Header& h, const uint8_t* src, uint8_t* dst) {
    const int bits = h.bitCount;
    if (bits == 8) {
        for (int x = 0; x < h.width; ++x, dst += 3) {
            const Rgb& c = h.palette[src[x]];
            dst[0] = c.r, dst[1] = c.g, dst[2] = c.b;
        }
        return;
    }
    const unsigned perByte = 8 / bits, mask = (1u << bits) - 1;
    for (int x = 0; x < h.width; ++x, dst += 3) {
        unsigned shift = 8 - bits - (x % perByte) * bits;
        const Rgb& c = h.palette[(src[x / perByte] >> shift) & mask];
        dst[0] = c.r, dst[1] = c.g, dst[2] = c.b;
    }
}

uint64_t rowStride(const Header& h) { return (static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32 * 4; }

bool plainMasks(const Header& h) {
    return h.bitCount == 32 && h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF;
}

// Checked before anything is allocated: the rows are all in the file, and
// the masks make sense.
bool checkUncompressed(const Header& h, size_t size, Channel* channels, char* problem, size_t problemSize) {
    const uint64_t needed = rowStride(h) * static_cast<uint64_t>(h.height);
    if (h.dataOffset + needed > size)
        return report(problem, problemSize, "pixel data too short: %llu bytes needed, %llu present",
                      static_cast<unsigned long long>(needed), static_cast<unsigned long long>(size - h.dataOffset));
    if (h.bitCount == 16 || (h.bitCount == 32 && !plainMasks(h))) {
        for (int c = 0; c < 3; ++c)
            if (!channels[c].set(h.masks[c])) return report(problem, problemSize, "bit masks with holes");
    }
    if (!channels[3].set(h.masks[3])) channels[3].set(0);  // an alpha mask with holes: no alpha
    return true;
}

// The alpha of 16- and 32-bit pixels, when the picture has an alpha mask.
void decodeAlpha(const Header& h, const uint8_t* data, const Channel& channel, uint8_t* alpha) {
    const uint64_t stride = rowStride(h);
    const int bytes = h.bitCount / 8;
    for (int y = 0; y < h.height; ++y) {
        const uint8_t* s = data + h.dataOffset + stride * y;
        uint8_t* dst = alpha + static_cast<size_t>(h.topDown ? h.height - 1 - y : y) * h.width;
        for (int x = 0; x < h.width; ++x, s += bytes) dst[x] = channel(bytes == 4 ? u32(s) : u16(s));
    }
}

void decodeUncompressed(const Header& h, const uint8_t* data, const Channel* channels, uint8_t* pixels) {
    const uint64_t stride = rowStride(h);
    const uint8_t* src = data + h.dataOffset;
    const bool plain = plainMasks(h);
    const Channel& red = channels[0];
    const Channel& green = channels[1];
    const Channel& blue = channels[2];
    for (int y = 0; y < h.height; ++y, src += stride) {
        uint8_t* dst = rowOf(h, pixels, y);
        const uint8_t* s = src;
        switch (h.bitCount) {
            case 24:
                for (int x = 0; x < h.width; ++x, s += 3, dst += 3) dst[0] = s[2], dst[1] = s[1], dst[2] = s[0];
                break;
            case 32:
                if (plain) {
                    for (int x = 0; x < h.width; ++x, s += 4, dst += 3) dst[0] = s[2], dst[1] = s[1], dst[2] = s[0];
                } else {
                    for (int x = 0; x < h.width; ++x, s += 4, dst += 3) {
                        uint32_t p = u32(s);
                        dst[0] = red(p), dst[1] = green(p), dst[2] = blue(p);
                    }
                }
                break;
            case 16:
                for (int x = 0; x < h.width; ++x, s += 2, dst += 3) {
                    uint32_t p = u16(s);
                    dst[0] = red(p), dst[1] = green(p), dst[2] = blue(p);
                }
                break;
            default: decodeIndexedRow(h, s, dst); break;
        }
    }
}

// Run-length encoded 4- and 8-bit pictures. Pixels that the runs skip (by an
// early end of line, a jump or an early end of picture) stay black; runs past
// the right edge are clipped. The data must reach the end-of-picture mark or
// the last row.
bool decodeRunLength(const Header& h, const uint8_t* data, size_t size, uint8_t* pixels, char* problem,
                     size_t problemSize) {
    const bool four = h.compression == CompressionRle4;
    size_t p = h.dataOffset;
    int x = 0, y = 0;
    auto put = [&](int index) {
        if (x < h.width) {
            const Rgb& c = h.palette[index];
            uint8_t* dst = rowOf(h, pixels, y) + x * 3;
            dst[0] = c.r, dst[1] = c.g, dst[2] = c.b;
        }
        ++x;
    };
    auto shortData = [&]() {
        return report(problem, problemSize, "run-length data ends in row %d of %d", y + 1, h.height);
    };
    while (y < h.height) {
        if (p + 2 > size) return shortData();
        const unsigned count = data[p], value = data[p + 1];
        p += 2;
        if (count > 0) {
            unsigned n = count;
            if (x + n > static_cast<unsigned>(h.width)) n = x < h.width ? h.width - x : 0;
            for (unsigned i = 0; i < n; ++i) put(four ? (i & 1 ? value & 15 : value >> 4) : value);
            x += count - n;
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (p + 2 > size) return shortData();
            x += data[p];
            y += data[p + 1];
            p += 2;
        } else {
            const size_t bytes = four ? (value + 1) / 2 : value;
            if (p + bytes > size) return shortData();
            for (unsigned i = 0; i < value; ++i) {
                if (x >= h.width) {
                    x += value - i;
                    break;
                }
                put(four ? (i & 1 ? data[p + i / 2] & 15 : data[p + i / 2] >> 4) : data[p + i]);
            }
            p += (bytes + 1) & ~static_cast<size_t>(1);
        }
        if (x > h.width) x = h.width;  // everything further right is clipped anyway
    }
    return true;
}

}  // namespace

void freeRgbImage(RgbImage* image) {
    if (!image) return;
    delete[] image->pixels;
    delete[] image->alpha;
    delete image;
}

RgbImage* decodeBitmap(const uint8_t* data, size_t size, char* problem, size_t problemSize) {
    if (problem && problemSize) problem[0] = '\0';
    if (!data) size = 0;
    Header h{};
    if (!readHeader(data, size, h, problem, problemSize)) return nullptr;

    const bool runLength = h.compression == CompressionRle4 || h.compression == CompressionRle8;
    Channel channels[4];
    if (!runLength && !checkUncompressed(h, size, channels, problem, problemSize)) return nullptr;

    const size_t bytes = static_cast<size_t>(h.width) * h.height * 3;
    uint8_t* pixels = new (std::nothrow) uint8_t[bytes];
    const bool hasAlpha = !runLength && channels[3].mask != 0;
    uint8_t* alpha = hasAlpha ? new (std::nothrow) uint8_t[bytes / 3] : nullptr;
    if (!pixels || (hasAlpha && !alpha)) {
        delete[] pixels;
        delete[] alpha;
        report(problem, problemSize, "out of memory for the picture");
        return nullptr;
    }
    bool ok = true;
    if (runLength) {
        std::memset(pixels, 0, bytes);
        ok = decodeRunLength(h, data, size, pixels, problem, problemSize);
    } else {
        decodeUncompressed(h, data, channels, pixels);
        if (alpha) decodeAlpha(h, data, channels[3], alpha);
    }
    RgbImage* image = ok ? new (std::nothrow) RgbImage{h.width, h.height, pixels, alpha} : nullptr;
    if (!image) {
        delete[] pixels;
        delete[] alpha;
    }
    return image;
}
