#include "support/bmp_files.h"

#include "support/byte_files.h"

std::vector<uint8_t> composeBmp(const BmpLayout& layout, const std::vector<uint8_t>& pixelData) {
    std::vector<uint8_t> info;
    appendUint32(info, layout.headerSize);
    if (layout.headerSize == 12) {
        appendUint16(info, static_cast<uint16_t>(layout.width));
        appendUint16(info, static_cast<uint16_t>(layout.height));
        appendUint16(info, 1);
        appendUint16(info, layout.bitCount);
    } else {
        appendUint32(info, static_cast<uint32_t>(layout.width));
        appendUint32(info, static_cast<uint32_t>(layout.height));
        appendUint16(info, 1);
        appendUint16(info, layout.bitCount);
        appendUint32(info, layout.compression);
        appendUint32(info, static_cast<uint32_t>(pixelData.size()));
        appendUint32(info, 2835);
        appendUint32(info, 2835);
        appendUint32(info, layout.colorsUsed);
        appendUint32(info, 0);
        for (uint32_t mask : layout.masks) {
            if (info.size() + 4 > layout.headerSize) break;
            appendUint32(info, mask);
        }
        if (layout.headerSize >= 108) appendUint32(info, 0x73524742);  // colour space 'sRGB'

        while (info.size() < layout.headerSize) info.push_back(0);
        if (layout.masksAfterHeader) {
            appendUint32(info, layout.masks[0]);
            appendUint32(info, layout.masks[1]);
            appendUint32(info, layout.masks[2]);
            if (layout.compression == 6) appendUint32(info, layout.masks[3]);
        }
    }
    for (uint32_t colour : layout.palette) {
        info.push_back(colour & 0xFF);
        info.push_back((colour >> 8) & 0xFF);
        info.push_back((colour >> 16) & 0xFF);
        if (layout.headerSize != 12) info.push_back(0);
    }
    std::vector<uint8_t> file = {'B', 'M'};
    const uint32_t offset = static_cast<uint32_t>(14 + info.size());
    appendUint32(file, offset + static_cast<uint32_t>(pixelData.size()));
    appendUint32(file, 0);
    appendUint32(file, offset);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), pixelData.begin(), pixelData.end());
    return file;
}

std::vector<uint8_t> packRows(int width, int height, int bits, const std::function<uint32_t(int, int)>& value) {
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    std::vector<uint8_t> data(stride * height, 0);
    for (int row = 0; row < height; ++row) {
        uint8_t* out = &data[row * stride];
        for (int x = 0; x < width; ++x) {
            uint32_t v = value(x, row);
            switch (bits) {
                case 32:
                    for (int k = 0; k < 4; ++k) out[x * 4 + k] = (v >> (8 * k)) & 0xFF;
                    break;
                case 24:
                    out[x * 3] = v & 0xFF;  // blue, green, red
                    out[x * 3 + 1] = (v >> 8) & 0xFF;
                    out[x * 3 + 2] = (v >> 16) & 0xFF;
                    break;
                case 16:
                    out[x * 2] = v & 0xFF;
                    out[x * 2 + 1] = (v >> 8) & 0xFF;
                    break;
                default: {
                    const int bit = x * bits;
                    out[bit / 8] |= static_cast<uint8_t>(v << (8 - bits - bit % 8));
                }
            }
        }
    }
    return data;
}
