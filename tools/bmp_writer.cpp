// Uncompressed 24-bit Windows bitmaps: 14-byte file header, 40-byte
// information header, rows stored from the bottom up, each padded to 4 bytes.
#include "raster.h"

namespace {

void put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

uint32_t get32(const std::string& in, size_t at) {
    return static_cast<uint8_t>(in[at]) | static_cast<uint8_t>(in[at + 1]) << 8 |
           static_cast<uint8_t>(in[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(in[at + 3])) << 24;
}

uint32_t get16(const std::string& in, size_t at) {
    return static_cast<uint8_t>(in[at]) | static_cast<uint8_t>(in[at + 1]) << 8;
}

}  // namespace

std::string encodeBmp(const Rgb8Image& image) {
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(image.height);
    const uint32_t offset = 14 + 40;
    std::string out;
    out.reserve(offset + pixelBytes);
    out += "BM";
    put32(out, offset + pixelBytes);
    put32(out, 0);  // reserved
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));  // positive: bottom-up rows
    put16(out, 1);                                    // planes
    put16(out, 24);                                   // bits per pixel
    put32(out, 0);                                    // no compression
    put32(out, pixelBytes);
    put32(out, 2835);  // 72 dots per inch, as pixels per metre
    put32(out, 2835);
    put32(out, 0);  // no palette
    put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.rgb[static_cast<size_t>(y) * image.width * 3];
        for (int x = 0; x < image.width; ++x) {
            out.push_back(static_cast<char>(row[x * 3 + 2]));
            out.push_back(static_cast<char>(row[x * 3 + 1]));
            out.push_back(static_cast<char>(row[x * 3]));
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

bool decodeBmp(const std::string& bytes, Rgb8Image& image) {
    image = Rgb8Image{};
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || get32(bytes, 14) != 40) return false;
    const int32_t width = static_cast<int32_t>(get32(bytes, 18));
    const int32_t rawHeight = static_cast<int32_t>(get32(bytes, 22));
    if (get16(bytes, 28) != 24 || get32(bytes, 30) != 0) return false;
    if (width <= 0 || width > 16384 || rawHeight == 0 || rawHeight < -16384 || rawHeight > 16384) return false;
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t offset = get32(bytes, 10);
    if (offset > bytes.size() || bytes.size() - offset < rowBytes * height) return false;
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const int fileRow = rawHeight > 0 ? height - 1 - y : y;
        const char* in = bytes.data() + offset + fileRow * rowBytes;
        uint8_t* out = &image.rgb[static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            out[x * 3] = static_cast<uint8_t>(in[x * 3 + 2]);
            out[x * 3 + 1] = static_cast<uint8_t>(in[x * 3 + 1]);
            out[x * 3 + 2] = static_cast<uint8_t>(in[x * 3]);
        }
    }
    return true;
}
