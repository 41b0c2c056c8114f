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
// under its own scissor box (within the frame's limit); draw(false) where
// nothing of the strip is left within the limit.
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
        draw(scissorWithin(strip));
    }
}

// The frame in three parts. Its middle changes nothing on the screen (white
// mask, black picture) and is left out. Outside the board's box its mask is
// black, and nothing has been drawn there yet: the masking pass would
// multiply the cleared black by black, so the picture alone is drawn,
// unblended. In between, the frame is drawn masked.
void drawFrame(const DrawItem& frame) {
    const float width = frame.place[2], height = frame.place[3];
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
    inStripsAround(window, outer, [&](bool shown) {
        if (shown) drawQuadAt(0.0f, 0.0f, width, height);
    });
    glEnable(GL_DEPTH_TEST);
    inStripsAround(outer, inner, [&](bool shown) {
        drawMaskedSprite(Picture::FrameMask, Picture::Frame, 0, 0, width, height, shown);
    });
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

void drawQuadAt(float x, float y, float w, float h) {
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

void drawMaskedSprite(Picture mask, Picture image, float x, float y, float w, float h, bool shown) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    bindTexture(mask);
    if (shown) drawQuadAt(x, y, w, h);
    glBlendFunc(GL_ONE, GL_ONE);
    bindTexture(image);
    if (shown) drawQuadAt(x, y, w, h);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

void drawPlainQuad(Picture picture, float x, float y, float w, float h, bool shown) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    bindTexture(picture);
    if (shown) drawQuadAt(x, y, w, h);
}

namespace {

// A sprite item: masked, or an opaque picture.
void drawSprite(const DrawItem& item) {
    const bool shown = itemInFrameClip(item);
    const float* at = item.place;
    if (item.mask == NoMask)
        drawPlainQuad(item.image, at[0], at[1], at[2], at[3], shown);
    else
        drawMaskedSprite(item.mask, item.image, at[0], at[1], at[2], at[3], shown);
}

void drawSprites(const FrameList& list, Section section) {
    for (const DrawItem* item = sectionBegin(list, section); item != sectionEnd(list, section); ++item)
        drawSprite(*item);
}

// A caption in its colour, with the blending as it is.
void drawCaption(const DrawItem& item) {
    if (!itemInFrameClip(item)) return;
    drawText(static_cast<int>(item.place[0]), static_cast<int>(item.place[1]), 0, "%s", item.text);
}

// The dialog's texts, printed additively in their colours over its pictures.
void drawDialogCaptions(const FrameList& list) {
    const DrawItem* begin = sectionBegin(list, Section::DialogCaptions);
    const DrawItem* end = sectionEnd(list, Section::DialogCaptions);
    if (begin == end) return;
    glEnable(GL_BLEND);
    for (const DrawItem* item = begin; item != end; ++item) {
        glColor4fv(item->colour);
        drawCaption(*item);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
}

void drawEventBanner(const DrawItem& banner) {
    const float x = banner.place[0], rise = banner.place[1];
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glTranslatef(x, rise, 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4fv(banner.colour);
    // In the frame in which a banner ends its event is already over: there is
    // no picture, and its alpha is 0 anyway.
    if (banner.image != Picture::None) {
        bindTexture(banner.image);
        if (itemInFrameClip(banner)) drawQuadAt(0.0f, 0.0f, banner.place[2], banner.place[3]);
    }
    glTranslatef(-x, -rise, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

// The counter is printed on every screen, adding to what lies behind it;
// the level number with the counter's blending still on.
void drawReadouts(const FrameList& list) {
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (const DrawItem* item = sectionBegin(list, Section::Counter); item != sectionEnd(list, Section::Counter); ++item)
        drawCaption(*item);
    for (const DrawItem* item = sectionBegin(list, Section::Level); item != sectionEnd(list, Section::Level); ++item)
        drawCaption(*item);
    glDisable(GL_BLEND);
}

// The score popups, warm light with a dark rim so that the points read over
// every gem and backdrop: the rim takes light away around the glyphs, then
// the number adds its own.
void drawScorePopups(const FrameList& list) {
    static const int rim[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const DrawItem* item = sectionBegin(list, Section::Popups); item != sectionEnd(list, Section::Popups); ++item) {
        if (!itemInFrameClip(*item)) continue;
        const float alpha = item->colour[3];
        const int x = static_cast<int>(item->place[0]), y = static_cast<int>(item->place[1]);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
        glColor4f(0.8f * alpha, 0.8f * alpha, 0.8f * alpha, 1.0f);
        for (const auto& offset : rim) drawText(x + offset[0], y + offset[1], 0, "%s", item->text);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4fv(item->colour);
        drawText(x, y, 0, "%s", item->text);
        glDisable(GL_BLEND);
    }
}

}  // namespace

void drawOverlay(const FrameList& list) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, list.setting.overlayWidth, 0.0, list.setting.overlayHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);

    for (const DrawItem* frame = sectionBegin(list, Section::Frame); frame != sectionEnd(list, Section::Frame); ++frame)
        drawFrame(*frame);
    drawSprites(list, Section::KeyCursor);
    drawSprites(list, Section::Panel);
    drawSprites(list, Section::DialogPictures);
    drawDialogCaptions(list);
    for (const DrawItem* banner = sectionBegin(list, Section::Banner); banner != sectionEnd(list, Section::Banner);
         ++banner)
        drawEventBanner(*banner);
    drawSprites(list, Section::Pause);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    drawReadouts(list);
    drawScorePopups(list);
}

// A popup rises up and to the right as it fades.
namespace {

constexpr float PopupRiseX = 40.0f, PopupRiseY = 80.0f;

int popupTextWidth(const ScorePopup& popup) {
    char points[24];
    std::snprintf(points, sizeof points, "%2i", popup.points);
    return (static_cast<int>(std::strlen(points)) - 1) * GlyphAdvance + GlyphSize;
}

}  // namespace

// A popup rises up and to the right as it fades, on a path moved as far as
// it takes to keep its whole way inside the board's frame.
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
