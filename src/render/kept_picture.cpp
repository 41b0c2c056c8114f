// What the last frame's picture was, where the window system does not tell
// what the back buffer holds and the renderer draws in software.
//
// Most window systems leave the back buffer as it was after a swap, but GL
// does not promise it. The picture is kept as a check sum of each band of
// rows; a frame first reads the back buffer and checks its bands against
// them (reading is cheap next to drawing in software), and where they differ
// the frame is drawn whole. Where the back buffer is never kept, the context
// goes back to whole frames for good.
#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "game/game.h"
#include "platform/platform.h"
#include "render/render_local.h"

namespace {

// Rows summed together.
constexpr int BandRows = 32;
// Frames in a row that find the back buffer changed before a context gives up.
constexpr int MostLostInARow = 8;

struct KeptPicture {
    uint32_t context;  // the context it was read from
    int width, height;  // the area kept, in window pixels
    GLenum format, type;  // as it is read back: the framebuffer's own layout where possible
    int pixelBytes;
    std::vector<uint64_t> bandSums;  // bottom band first
    bool valid;  // the sums are those of the last frame's picture
    int lostInARow;  // frames that found the back buffer changed
    uint32_t givenUp;  // the context that draws whole frames
};

KeptPicture kept;
std::vector<uint8_t> band;  // the rows of one band as read back

// What is kept: the whole drawable, the border around the picture too, when
// the picture has been fitted into a window; else the viewport.
Box keptArea() {
    const ScreenFit& fit = ui.fit;
    if (fit.layoutWidth > 0 && fit.drawableWidth > 0 && fit.drawableHeight > 0)
        return Box{0, 0, fit.drawableWidth, fit.drawableHeight};
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return Box{v[0], v[1], v[2], v[3]};
}

// How the picture is read: 16-bit pictures as they are, others (up to 8 bits
// a channel) as bytes, so that two different pictures never read the same.
// False when the framebuffer holds more than bytes can carry.
bool chooseLayout() {
    GLint red = 0, green = 0, blue = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    if (red == 5 && green == 6 && blue == 5) {
        kept.format = GL_RGB, kept.type = GL_UNSIGNED_SHORT_5_6_5, kept.pixelBytes = 2;
        return true;
    }
    kept.format = GL_BGRA, kept.type = GL_UNSIGNED_BYTE, kept.pixelBytes = 4;
    return red <= 8 && green <= 8 && blue <= 8;
}

// A 64-bit check sum of the bytes: four lanes of 8-byte words, each word
// mixed in by a multiplication, the lanes and the rest folded at the end.
uint64_t checkSum(const uint8_t* bytes, size_t count) {
    constexpr uint64_t Odd = 0xff51afd7ed558ccdull;
    uint64_t lane[4] = {0x9e3779b97f4a7c15ull, 0xc2b2ae3d27d4eb4full, 0x165667b19e3779f9ull, 0x27d4eb2f165667c5ull};
    size_t i = 0;
    for (; i + 32 <= count; i += 32)
        for (int k = 0; k < 4; ++k) {
            uint64_t word;
            std::memcpy(&word, bytes + i + 8 * k, 8);
            lane[k] = (lane[k] ^ word) * Odd;
            lane[k] ^= lane[k] >> 29;
        }
    uint64_t sum = count;
    for (uint64_t l : lane) sum = (sum ^ l) * Odd;
    for (; i < count; ++i) sum = (sum ^ bytes[i]) * Odd;
    return sum ^ (sum >> 32);
}

// The check sum of band b of the back buffer's picture, read now.
uint64_t bandSum(const Box& view, int b) {
    const int row = b * BandRows;
    const int rows = view.h - row < BandRows ? view.h - row : BandRows;
    const size_t bytes = static_cast<size_t>(view.w) * rows * kept.pixelBytes;
    band.resize(bytes);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(view.x, view.y + row, view.w, rows, kept.format, kept.type, band.data());
    glPopClientAttrib();
    return checkSum(band.data(), bytes);
}

int bandCount(const Box& view) { return (view.h + BandRows - 1) / BandRows; }

}  // namespace

bool keptPictureFits() {
    const Box view = keptArea();
    return kept.valid && kept.context == contextSerial() && kept.width == view.w && kept.height == view.h;
}

bool keptPictureShows() {
    const Box view = keptArea();
    for (int b = 0; b < bandCount(view); ++b) {
        if (bandSum(view, b) == kept.bandSums[b]) continue;
        kept.valid = false;
        if (++kept.lostInARow >= MostLostInARow) kept.givenUp = kept.context;
        return false;
    }
    kept.lostInARow = 0;
    return true;
}

void keepPicture(const Box* boxes, int count) {
    const Box view = keptArea();
    if (kept.givenUp != 0 && kept.givenUp == contextSerial()) {
        kept.valid = false;
        return;
    }
    const bool whole = !keptPictureFits();
    if (whole) {
        const int lost = kept.context == contextSerial() ? kept.lostInARow : 0;
        const uint32_t givenUp = kept.givenUp;
        kept = KeptPicture{};
        kept.valid = view.w > 0 && view.h > 0 && chooseLayout();
        if (!kept.valid) return;
        kept.context = contextSerial();
        kept.lostInARow = lost;
        kept.givenUp = givenUp;
        kept.width = view.w;
        kept.height = view.h;
        kept.bandSums.assign(bandCount(view), 0);
    }
    // The bands the boxes reach into are summed again.
    for (int b = 0; b < bandCount(view); ++b) {
        bool reached = whole;
        const int low = view.y + b * BandRows, high = low + BandRows;
        for (int i = 0; i < count && !reached; ++i) reached = boxes[i].y < high && boxes[i].y + boxes[i].h > low;
        if (reached) kept.bandSums[b] = bandSum(view, b);
    }
}

void forgetKeptPicture() { kept.valid = false; }
