// The flat overlay over the board: frame, side panel, dialog, banner, pause
// picture, score counter, level number and the score popups.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render_local.h"

namespace {

void bindTexture(Picture picture) {
    const int number = pictureNumber(picture);
    if (number >= 0 && number < TextureCount) glBindTexture(GL_TEXTURE_2D, textures[number]);
}

// The window pixels [first, end) of one axis of n pixels whose texture
// samples lie inside texels [low, high] of a side of `side` texels, with a
// texel to spare on each side of the bilinear pair. Empty when the texture is
// shrunk so far that a smaller mipmap level could be sampled.
void pixelsInside(int n, int side, int low, int high, int* first, int* end) {
    *first = *end = 0;
    if (n <= 0 || side <= 0 || 4 * n < 3 * side) return;
    const double scale = static_cast<double>(n) / side;
    *first = static_cast<int>(std::ceil((low + 1.5) * scale - 0.5));
    *end = static_cast<int>(std::floor((high - 0.5) * scale - 0.5)) + 1;
    if (*first < 0) *first = 0;
    if (*end > n) *end = n;
    if (*end < *first) *end = *first;
}

// The window pixels [first, end) of one axis whose samples may touch texels
// [low, high], with a texel to spare; the whole axis when the texture is
// shrunk so far that a smaller mipmap level could be sampled.
void pixelsTouching(int n, int side, int low, int high, int* first, int* end) {
    *first = 0;
    *end = n;
    if (n <= 0 || side <= 0 || 4 * n < 3 * side) return;
    const double scale = static_cast<double>(n) / side;
    const int from = static_cast<int>(std::floor((low - 1.5) * scale - 0.5)) - 1;
    const int to = static_cast<int>(std::ceil((high + 1.5) * scale - 0.5)) + 2;
    if (from > *first) *first = from;
    if (to < *end) *end = to;
    if (*end < *first) *end = *first;
}

// Runs draw once in each of the four strips that `outer` leaves around
// `inner` (window pixels: x, y, width, height; inner lies within outer), each
// under its own scissor box (within the frame's limit).
template <typename Draw>
void inStripsAround(const int outer[4], const int inner[4], Draw draw) {
    const int outerEndX = outer[0] + outer[2], outerEndY = outer[1] + outer[3];
    const int innerEndX = inner[0] + inner[2], innerEndY = inner[1] + inner[3];
    const int strips[4][4] = {{outer[0], outer[1], outer[2], inner[1] - outer[1]},
                              {outer[0], innerEndY, outer[2], outerEndY - innerEndY},
                              {outer[0], inner[1], inner[0] - outer[0], inner[3]},
                              {innerEndX, inner[1], outerEndX - innerEndX, inner[3]}};
    for (const auto& strip : strips) {
        if (strip[2] <= 0 || strip[3] <= 0) continue;
        scissorWithin(strip);
        draw();
    }
}

// The frame in three parts. Its middle changes nothing on the screen (white
// mask, black picture) and is left out. Outside the board's box its mask is
// black, and nothing has been drawn there yet: the masking pass would
// multiply the cleared black by black, so the picture alone is drawn,
// unblended. In between, the frame is drawn masked.
void drawFrame(int width, int height) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int window[4] = {viewport[0], viewport[1], viewport[2], viewport[3]};
    int outer[4] = {window[0], window[1], window[2], window[3]};
    if (!boardScissorBox(outer)) std::copy(window, window + 4, outer);

    const TexelRect& o = frameOpening;
    int x0, x1, y0, y1;
    pixelsInside(viewport[2], o.textureWidth, o.left, o.right, &x0, &x1);
    pixelsInside(viewport[3], o.textureHeight, o.bottom, o.top, &y0, &y1);
    // The opening, kept within the outer box; an empty one leaves the whole box masked.
    int inner[4] = {outer[0], outer[1], outer[2], 0};
    if (o.right >= o.left && o.top >= o.bottom && x1 > x0 && y1 > y0) {
        const int left = std::max(viewport[0] + x0, outer[0]), bottom = std::max(viewport[1] + y0, outer[1]);
        const int right = std::min(viewport[0] + x1, outer[0] + outer[2]);
        const int top = std::min(viewport[1] + y1, outer[1] + outer[3]);
        if (right > left && top > bottom) {
            inner[0] = left, inner[1] = bottom, inner[2] = right - left, inner[3] = top - bottom;
        }
    }

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    bindTexture(Picture::Frame);
    inStripsAround(window, outer, [&] { drawQuadAt(0.0f, 0.0f, width, height); });
    glEnable(GL_DEPTH_TEST);
    inStripsAround(outer, inner, [&] { drawMaskedSprite(Picture::FrameMask, Picture::Frame, 0, 0, width, height); });
    scissorToFrameClip();
}

}  // namespace

bool boardScissorBox(int box[4]) {
    const TexelRect& o = frameOpening;
    if (o.outerRight < o.outerLeft || o.outerTop < o.outerBottom) return false;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    int x0, x1, y0, y1;
    pixelsTouching(viewport[2], o.textureWidth, o.outerLeft, o.outerRight, &x0, &x1);
    pixelsTouching(viewport[3], o.textureHeight, o.outerBottom, o.outerTop, &y0, &y1);
    box[0] = viewport[0] + x0;
    box[1] = viewport[1] + y0;
    box[2] = x1 - x0;
    box[3] = y1 - y0;
    return true;
}

int overlayWidth() { return screenGeometry().width; }
int overlayHeight() { return screenGeometry().height; }

// A quad that lies wholly outside the frame's limit is left out: it would
// change no pixel (the state around it is set all the same).
void drawQuadAt(float x, float y, float w, float h) {
    if (!quadInFrameClip(x, y, w, h)) return;
    glTranslatef(x, y, 0.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(w, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(w, h);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, h);
    glEnd();
    glTranslatef(-x, -y, 0.0f);
}

void drawMaskedSprite(Picture mask, Picture image, int x, int y, int w, int h) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    bindTexture(mask);
    drawQuadAt(x, y, w, h);
    glBlendFunc(GL_ONE, GL_ONE);
    bindTexture(image);
    drawQuadAt(x, y, w, h);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

void drawPlainQuad(Picture picture, int x, int y, int w, int h) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    bindTexture(picture);
    drawQuadAt(x, y, w, h);
}

void drawLayout(const OverlayLayout& layout) {
    for (int i = 0; i < layout.spriteCount; ++i) {
        const Sprite& s = layout.sprites[i];
        if (s.mask == NoMask)
            drawPlainQuad(s.image, s.x, s.y, s.w, s.h);
        else
            drawMaskedSprite(s.mask, s.image, s.x, s.y, s.w, s.h);
    }
    if (layout.captionCount == 0) return;
    glEnable(GL_BLEND);
    for (int i = 0; i < layout.captionCount; ++i) {
        const Caption& caption = layout.captions[i];
        // A marked caption (the entry just made) shines gold among the white.
        if (caption.marked)
            glColor4f(1.0f, 0.78f, 0.25f, 1.0f);
        else
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        drawText(caption.x, caption.y, 0, "%s", caption.text);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
}

void drawOverlay(const FrameView& view) {
    const int width = overlayWidth();
    const int height = overlayHeight();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);

    drawFrame(width, height);

    Sprite cursor;
    if (layoutKeyCursor(&cursor)) drawMaskedSprite(cursor.mask, cursor.image, cursor.x, cursor.y, cursor.w, cursor.h);

    OverlayLayout layout;
    layoutSidePanel(&layout);
    drawLayout(layout);

    if (view.dialog != Screen::Playing) {
        layoutDialog(view.dialog, &layout);
        drawLayout(layout);
    }
    if (view.bannerShown) drawEventBanner(view.banner);
    if (ui.paused && ui.screen == Screen::Playing) {
        const Placement& at = screenGeometry().pausePicture;
        drawPlainQuad(Picture::Paused, at.x, at.y, at.w, at.h);
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    drawScoreCounter();
    drawLevelNumber();
    drawScorePopups();
}

// The counter is printed on every screen, adding to what lies behind it.
void drawScoreCounter() {
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    Caption counter;
    if (layoutScoreCounter(counterShows(), &counter)) drawText(counter.x, counter.y, 0, "%s", counter.text);
}

// Printed with the counter's blending still on.
void drawLevelNumber() {
    Caption number;
    layoutLevelNumber(game.level, &number);
    drawText(number.x, number.y, 0, "%s", number.text);
    glDisable(GL_BLEND);
}

void drawEventBanner(Picture picture) {
    const ScreenGeometry& geometry = screenGeometry();
    const float x = static_cast<float>(geometry.bannerX);
    const float rise = scene.bannerProgress * geometry.bannerRise;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glTranslatef(x, rise, 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, scene.bannerAlpha);
    // In the frame in which a banner ends its event is already over: there is
    // no picture, and its alpha is 0 anyway.
    if (picture != Picture::None) {
        bindTexture(picture);
        drawQuadAt(0.0f, 0.0f, geometry.bannerWidth, geometry.bannerHeight);
    }
    glTranslatef(-x, -rise, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

// A popup rises up and to the right as it fades, on a path moved as far as
// it takes to keep its whole way inside the board's frame.
namespace {

constexpr float PopupRiseX = 40.0f, PopupRiseY = 80.0f;

int popupTextWidth(const ScorePopup& popup) {
    char points[24];
    std::snprintf(points, sizeof points, "%2i", popup.points);
    return (static_cast<int>(std::strlen(points)) - 1) * GlyphAdvance + GlyphSize;
}

}  // namespace

int popupTextX(const ScorePopup& popup) {
    const int lastStart = FieldTextRight - popupTextWidth(popup) - static_cast<int>(PopupRiseX);
    const int start = std::max(FieldTextLeft, std::min(static_cast<int>(popup.x), lastStart));
    return static_cast<int>(start + popup.progress * PopupRiseX);
}

int popupTextY(const ScorePopup& popup) {
    const int lastStart = FieldTextTop - GlyphSize - static_cast<int>(PopupRiseY);
    const int start = std::max(FieldTextBottom, std::min(static_cast<int>(popup.y), lastStart));
    return static_cast<int>(start + popup.progress * PopupRiseY);
}

// Warm light with a dark rim, so that the points read over every gem and
// backdrop: the rim takes light away around the glyphs, then the number adds
// its own.
void drawScorePopups() {
    static const int rim[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const ScorePopup& popup : scene.scorePopups) {
        if (!popup.active) continue;
        const float alpha = 1.0f - popup.progress;
        const int x = popupTextX(popup), y = popupTextY(popup);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
        glColor4f(0.8f * alpha, 0.8f * alpha, 0.8f * alpha, 1.0f);
        for (const auto& offset : rim) drawText(x + offset[0], y + offset[1], 0, "%2i", popup.points);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4f(1.0f, 0.9f, 0.45f, alpha);
        drawText(x, y, 0, "%2i", popup.points);
        glDisable(GL_BLEND);
    }
}
