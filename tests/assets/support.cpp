#include "assets/support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

std::vector<ShownMessage> MessageCatcher::shown;

MessageCatcher::MessageCatcher() {
    shown.clear();
    setMessageBoxHandler([](const char* text, const char* caption, MessageButtons buttons, MessageIcon) {
        shown.push_back({text ? text : "", caption ? caption : "", buttons});
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    });
}

MessageCatcher::~MessageCatcher() { setMessageBoxHandler(nullptr); }

// ---------------------------------------------------------------------------
// The picture set

uint32_t fontCellColour(int cell) { return static_cast<uint32_t>(cell) << 16 | (255u - cell) << 8 | 0x80; }

uint32_t pictureColour(int nn) {
    if (nn == RedPicture) return 0xFF0000;
    return static_cast<uint32_t>(nn * 3) << 16 | static_cast<uint32_t>(255 - nn * 3) << 8 | 0x64;
}

std::vector<uint8_t> fontPicture() {
    BmpLayout layout;
    layout.width = 256;
    layout.height = 256;
    return composeBmp(layout, packRows(256, 256, 24, [](int x, int row) {
                          int fromTop = 255 - row;
                          return fontCellColour(x / 16 + 16 * (fromTop / 16));
                      }));
}

std::vector<uint8_t> plainPicture(uint32_t colour, int width, int height) {
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    return composeBmp(layout, packRows(width, height, 24, [colour](int, int) { return colour; }));
}

void writePictureSet(int missing) {
    for (int nn = 0; nn < 81; ++nn) {
        if (nn == missing) continue;
        char path[32];
        std::snprintf(path, sizeof path, "base/tex%02d.bmp", nn);
        ASSERT_TRUE(writeBytes(path, nn == 0 ? fontPicture() : plainPicture(pictureColour(nn), 8, 8)));
    }
}
