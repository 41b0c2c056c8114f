// The last frame's picture, kept in memory so that the next frame can start
// from it and draw again only the boxes that changed.
//
// Most window systems leave the back buffer as it was after a swap, but GL
// does not promise it: a frame first checks whether the back buffer still
// holds the kept picture (reading it back is cheap next to drawing it) and
// draws the picture there only when it does not. Where the back buffer is
// never kept (a graphics card that flips its buffers, which also draws whole
// frames fast), the context goes back to whole frames.
#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "render/render_local.h"

namespace {

struct KeptPicture {
    uint32_t context;  // the context it was read from
    int width, height;  // the picture, in window pixels
    GLenum format, type;  // as it is read back and drawn: the framebuffer's own layout where possible
    int pixelBytes;
    std::vector<uint8_t> pixels;  // bottom row first
    bool valid;  // it holds the last frame's picture
    int lostInARow;  // frames that found the back buffer without it
    uint32_t givenUp;  // the context that draws whole frames
};

KeptPicture kept;
std::vector<uint8_t> band;  // rows of the back buffer being compared

// Rows compared at a time.
constexpr int BandRows = 32;
// Frames in a row that find the back buffer lost before a context gives up.
constexpr int MostLostInARow = 8;

Box viewportBox() {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return Box{v[0], v[1], v[2], v[3]};
}

// How the picture is read and drawn again without a change to any pixel:
// 16-bit pictures as they are, others (up to 8 bits a channel) as bytes.
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

// Reads the window box into the kept picture (or, with `into`, into rows of
// the picture's width starting there), the picture at `view`.
void readBox(const Box& view, const Box& box, uint8_t* into) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, view.w);
    if (!into) {
        glPixelStorei(GL_PACK_SKIP_PIXELS, box.x - view.x);
        glPixelStorei(GL_PACK_SKIP_ROWS, box.y - view.y);
        into = kept.pixels.data();
    }
    glReadPixels(box.x, box.y, box.w, box.h, kept.format, kept.type, into);
    glPopClientAttrib();
}

// Whether the back buffer still holds the kept picture, compared a band of
// rows at a time up to the first difference.
bool backBufferHoldsIt(const Box& view) {
    const size_t rowBytes = static_cast<size_t>(view.w) * kept.pixelBytes;
    band.resize(rowBytes * BandRows);
    for (int row = 0; row < view.h; row += BandRows) {
        const int rows = view.h - row < BandRows ? view.h - row : BandRows;
        readBox(view, Box{view.x, view.y + row, view.w, rows}, band.data());
        if (std::memcmp(band.data(), kept.pixels.data() + rowBytes * row, rowBytes * rows) != 0) return false;
    }
    return true;
}

void forgetKeptPicture() {
    kept.valid = false;
    kept.pixels = std::vector<uint8_t>();
    band = std::vector<uint8_t>();
}

void drawKeptPixels(const Box& view) {
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_CURRENT_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_SCISSOR_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, view.w, 0.0, view.h, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2i(0, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glDrawPixels(view.w, view.h, kept.format, kept.type, kept.pixels.data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

}  // namespace

bool keptPictureFits() {
    const Box view = viewportBox();
    return kept.valid && kept.context == contextSerial() && kept.width == view.w && kept.height == view.h;
}

void showKeptPicture() {
    const Box view = viewportBox();
    if (backBufferHoldsIt(view)) {
        kept.lostInARow = 0;
        return;
    }
    drawKeptPixels(view);
    if (++kept.lostInARow >= MostLostInARow) kept.givenUp = kept.context;
}

void keepPicture(const Box* boxes, int count) {
    const Box view = viewportBox();
    if (kept.givenUp != 0 && kept.givenUp == contextSerial()) {
        forgetKeptPicture();
        return;
    }
    if (!keptPictureFits()) {
        // A picture of a new size or context is read whole.
        kept.valid = view.w > 0 && view.h > 0 && chooseLayout();
        if (!kept.valid) return;
        kept.context = contextSerial();
        kept.lostInARow = 0;
        kept.width = view.w;
        kept.height = view.h;
        kept.pixels.assign(static_cast<size_t>(view.w) * view.h * kept.pixelBytes, 0);
        readBox(view, view, nullptr);
        return;
    }
    for (int i = 0; i < count; ++i) readBox(view, boxes[i], nullptr);
}
