// The frame described as the list of what it draws, each item with the
// window box it may touch. The drawing code draws from this list alone.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "assets/assets.h"
#include "game/game.h"
#include "platform/platform.h"
#include "render/render_local.h"

namespace {

// Switches the drawing leaves as it finds them only in part: the very first
// frame, for one, starts before the depth test is on.
const GLenum GlSwitches[] = {GL_DEPTH_TEST, GL_BLEND, GL_TEXTURE_2D, GL_LIGHTING, GL_CULL_FACE, GL_LIGHT0, GL_LIGHT1,
                             GL_LIGHT2, GL_LIGHT3, GL_ALPHA_TEST, GL_FOG, GL_COLOR_MATERIAL, GL_NORMALIZE, GL_DITHER};
static_assert(sizeof GlSwitches / sizeof GlSwitches[0] <= sizeof FrameSetting::enabled, "room for every switch");

// Pixels added around every box for the rasteriser's rounding.
constexpr int BoxMargin = 2;

// The whole pixels a rectangle of window coordinates touches, with the
// margin, within `within` (the coordinates are kept near it first, so that
// any number converts).
Box outwardBox(double x0, double y0, double x1, double y1, const Box& within) {
    auto near = [](double v, int low, int high) { return std::clamp(v, low - 8.0, high + 8.0); };
    const int left = static_cast<int>(std::floor(near(x0, within.x, within.x + within.w))) - BoxMargin;
    const int bottom = static_cast<int>(std::floor(near(y0, within.y, within.y + within.h))) - BoxMargin;
    const int right = static_cast<int>(std::ceil(near(x1, within.x, within.x + within.w))) + BoxMargin;
    const int top = static_cast<int>(std::ceil(near(y1, within.y, within.y + within.h))) + BoxMargin;
    return meetBoxes(Box{left, bottom, right - left, top - bottom}, within);
}

// What describing a frame needs at hand.
struct Describing {
    FrameList* list;
    Box view;   // the viewport
    Box board;  // the window box the board is drawn within
    float projection[16];
    int section;  // the section being filled
    int sectionsBegun;
    Vec3 low[GemKinds + 1], high[GemKinds + 1];  // each gem mesh's bounds
};
Describing now;

// The window box of a rectangle given in a flat space of spaceW x spaceH
// units over the viewport, with the margin, within the viewport. A width
// below zero reaches left of x; a rectangle that is not a number anywhere
// may be anywhere.
Box flatBox(float x, float y, float w, float h, float spaceW, float spaceH) {
    const Box& view = now.view;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h)) return view;
    if (w < 0.0f) x += w, w = -w;
    if (h < 0.0f) y += h, h = -h;
    const double sx = view.w / spaceW, sy = view.h / spaceH;
    return outwardBox(view.x + x * sx, view.y + y * sy, view.x + (x + w) * sx, view.y + (y + h) * sy, view);
}

void beginSection(Section section) {
    FrameList& list = *now.list;
    now.section = static_cast<int>(section);
    list.sectionStart[now.section] = list.sectionEnd[now.section] = list.count;
    ++now.sectionsBegun;
}

// A new item of the section being filled, zero-filled; nullptr when the list is full.
DrawItem* addItem(ItemKind kind, int slot) {
    FrameList& list = *now.list;
    if (list.count >= MostDrawItems) return nullptr;
    DrawItem* item = &list.items[list.count++];
    std::memset(item, 0, sizeof *item);
    item->id = now.sectionsBegun * 256 + slot;
    item->kind = kind;
    list.sectionEnd[now.section] = list.count;
    return item;
}

void addSprite(const Sprite& sprite, int slot) {
    DrawItem* item = addItem(ItemKind::Sprite, slot);
    if (!item) return;
    item->mask = sprite.mask;
    item->image = sprite.image;
    item->place[0] = sprite.x, item->place[1] = sprite.y, item->place[2] = sprite.w, item->place[3] = sprite.h;
    item->box = flatBox(sprite.x, sprite.y, sprite.w, sprite.h, now.list->setting.overlayWidth,
                        now.list->setting.overlayHeight);
}

// rim: text-space units drawn around the glyphs (a popup's dark rim).
void addCaption(int x, int y, const char* text, const float colour[4], int slot, int rim = 0) {
    DrawItem* item = addItem(ItemKind::Caption, slot);
    if (!item) return;
    item->place[0] = x, item->place[1] = y;
    std::memcpy(item->colour, colour, sizeof item->colour);
    std::snprintf(item->text, sizeof item->text, "%s", text);
    int glyphs = 0;
    for (const char* c = item->text; *c; ++c) glyphs += hasGlyph(*c);
    const int width = glyphs > 0 ? (glyphs - 1) * GlyphAdvance + GlyphSize : 0;
    item->box = width > 0 ? flatBox(x - rim, y - rim, width + 2 * rim, GlyphSize + 2 * rim, TextSpaceWidth,
                                    TextSpaceHeight)
                          : Box{};
}

const float White[4] = {1.0f, 1.0f, 1.0f, 1.0f};
// A marked caption (the entry just made) shines gold among the white.
const float Gold[4] = {1.0f, 0.78f, 0.25f, 1.0f};

void describeSetting(FrameSetting* s) {
    for (size_t i = 0; i < sizeof GlSwitches / sizeof GlSwitches[0]; ++i) s->enabled[i] = glIsEnabled(GlSwitches[i]);
    glGetIntegerv(GL_DEPTH_FUNC, &s->functions[0]);
    glGetIntegerv(GL_BLEND_SRC, &s->functions[1]);
    glGetIntegerv(GL_BLEND_DST, &s->functions[2]);
    glGetIntegerv(GL_SHADE_MODEL, &s->functions[3]);
    glGetFloatv(GL_CURRENT_COLOR, s->colour);
    s->context = contextSerial();
    glGetIntegerv(GL_VIEWPORT, s->viewport);
    glGetFloatv(GL_PROJECTION_MATRIX, s->projection);
    s->fit = ui.fit;
    std::memcpy(s->pictures, textures, sizeof s->pictures);
    s->backgroundList = backgroundList;
    s->opening = frameOpening;
    s->overlayWidth = overlayWidth();
    s->overlayHeight = overlayHeight();
    s->culled = gemBackFacesCulled;
    s->gemsFirst = gemsBeforeBackdrop;
    s->cursorLightOn = cursorLightKeptOn;
}

// The window box of a gem drawn with this model-view matrix: its mesh's
// bounding box projected, with the margin, within the board's box.
Box gemBox(int kind, const float modelview[16]) {
    const Vec3& low = now.low[kind];
    const Vec3& high = now.high[kind];
    if (gemMeshes[kind].vertexCount == 0) return Box{};
    const float* p = now.projection;
    const Box& view = now.view;
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int corner = 0; corner < 8; ++corner) {
        // The mesh is drawn a tenth of its file size.
        const float in[4] = {0.1f * (corner & 1 ? high.x : low.x), 0.1f * (corner & 2 ? high.y : low.y),
                             0.1f * (corner & 4 ? high.z : low.z), 1.0f};
        float eye[4], c[4];
        for (int r = 0; r < 4; ++r)
            eye[r] = modelview[r] * in[0] + modelview[4 + r] * in[1] + modelview[8 + r] * in[2] + modelview[12 + r];
        for (int r = 0; r < 4; ++r) c[r] = p[r] * eye[0] + p[4 + r] * eye[1] + p[8 + r] * eye[2] + p[12 + r] * eye[3];
        // A corner at or behind the eye: the gem may be anywhere on the board.
        if (!(c[3] > 1e-4f)) return now.board;
        const float wx = view.x + (c[0] / c[3] + 1.0f) * 0.5f * view.w;
        const float wy = view.y + (c[1] / c[3] + 1.0f) * 0.5f * view.h;
        x0 = std::min(x0, wx), y0 = std::min(y0, wy), x1 = std::max(x1, wx), y1 = std::max(y1, wy);
    }
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1))) return now.board;
    return outwardBox(x0, y0, x1, y1, now.board);
}

void measureMeshes() {
    for (int kind = 1; kind <= GemKinds; ++kind) {
        const GemMesh& mesh = gemMeshes[kind];
        if (mesh.vertexCount == 0) continue;
        Vec3 low = mesh.vertices[0], high = mesh.vertices[0];
        for (int i = 1; i < mesh.vertexCount; ++i) {
            const Vec3& v = mesh.vertices[i];
            low = Vec3(std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z));
            high = Vec3(std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z));
        }
        now.low[kind] = low, now.high[kind] = high;
    }
}

// A gem, with its matrix current.
void noteGem(int column, int row, int kind, bool lit) {
    DrawItem* item = addItem(ItemKind::Gem, row * BoardColumns + column);
    if (!item) return;
    glGetFloatv(GL_MODELVIEW_MATRIX, item->matrix);
    item->gem = kind;
    item->lit = lit;
    item->meshVertices = gemMeshes[kind].vertexCount;
    item->box = gemBox(kind, item->matrix);
}

void describeBoard(const FrameView& view) {
    auto gems = [&] {
        beginSection(Section::Gems);
        if (view.gemsShown) surveyGems(view, noteGem);
    };
    if (gemsBeforeBackdrop) gems();
    beginSection(Section::Backdrop);
    if (DrawItem* backdrop = addItem(ItemKind::Backdrop, 0)) {
        backdrop->gem = view.backgroundKind;
        backdrop->image = backdropPicture(view.backgroundKind);
        backdrop->box = now.board;
    }
    if (!gemsBeforeBackdrop) gems();
}

void describeOverlay(const FrameView& view) {
    const FrameSetting& s = now.list->setting;
    beginSection(Section::Frame);
    addSprite(Sprite{Picture::FrameMask, Picture::Frame, 0, 0, s.overlayWidth, s.overlayHeight}, 0);
    beginSection(Section::KeyCursor);
    Sprite cursor;
    if (layoutKeyCursor(&cursor)) addSprite(cursor, 0);
    OverlayLayout layout;
    layoutSidePanel(&layout);
    beginSection(Section::Panel);
    for (int i = 0; i < layout.spriteCount; ++i) addSprite(layout.sprites[i], i);
    layout = OverlayLayout{};
    if (view.dialog != Screen::Playing) layoutDialog(view.dialog, &layout);
    beginSection(Section::DialogPictures);
    for (int i = 0; i < layout.spriteCount; ++i) addSprite(layout.sprites[i], i);
    beginSection(Section::DialogCaptions);
    for (int i = 0; i < layout.captionCount; ++i)
        addCaption(layout.captions[i].x, layout.captions[i].y, layout.captions[i].text,
                   layout.captions[i].marked ? Gold : White, i);

    beginSection(Section::Banner);
    if (view.bannerShown) {
        const ScreenGeometry& g = screenGeometry();
        if (DrawItem* banner = addItem(ItemKind::Banner, 0)) {
            banner->image = view.banner;
            banner->place[0] = static_cast<float>(g.bannerX);
            banner->place[1] = scene.bannerProgress * g.bannerRise;
            banner->place[2] = g.bannerWidth, banner->place[3] = g.bannerHeight;
            banner->colour[0] = banner->colour[1] = banner->colour[2] = 1.0f;
            banner->colour[3] = scene.bannerAlpha;
            // In the frame in which a banner ends its event is already over:
            // there is no picture.
            if (view.banner != Picture::None)
                banner->box = flatBox(banner->place[0], banner->place[1], banner->place[2], banner->place[3],
                                      s.overlayWidth, s.overlayHeight);
        }
    }
    beginSection(Section::Pause);
    if (ui.paused && ui.screen == Screen::Playing) {
        const Placement& at = screenGeometry().pausePicture;
        addSprite(Sprite{NoMask, Picture::Paused, at.x, at.y, at.w, at.h}, 0);
    }
}

void describeReadouts() {
    Caption caption;
    beginSection(Section::Counter);
    if (layoutScoreCounter(counterShows(), &caption)) addCaption(caption.x, caption.y, caption.text, White, 0);
    beginSection(Section::Level);
    layoutLevelNumber(game.level, &caption);
    addCaption(caption.x, caption.y, caption.text, White, 0);
    beginSection(Section::Popups);
    for (int i = 0; i < ScorePopupCount; ++i) {
        const ScorePopup& popup = scene.scorePopups[i];
        if (!popup.active) continue;
        char points[24];
        std::snprintf(points, sizeof points, "%2i", popup.points);
        // Warm light, drawn over a dark rim one unit wide.
        const float colour[4] = {1.0f, 0.9f, 0.45f, 1.0f - popup.progress};
        addCaption(popupTextX(popup), popupTextY(popup), points, colour, i, 1);
    }
    // The bar's length, to whole pixels of the window.
    beginSection(Section::Bar);
    if (DrawItem* bar = addItem(ItemKind::Bar, 0)) {
        const int pixels = barPixelsShown(barLengthShown(), now.view.w);
        const float length = now.view.w > 0 ? static_cast<float>(pixels) * BarSpaceWidth / now.view.w : 0.0f;
        bar->place[0] = BarX, bar->place[1] = BarY, bar->place[2] = length, bar->place[3] = BarHeight;
        bar->lit = barWarns() ? 1 : 0;  // the time running out
        bar->box = flatBox(BarX, BarY, length, BarHeight, BarSpaceWidth, BarSpaceHeight);
    }
}

}  // namespace

void describeFrame(const FrameView& view, FrameList* list) {
    list->count = 0;
    std::memset(list->sectionStart, 0, sizeof list->sectionStart);
    std::memset(list->sectionEnd, 0, sizeof list->sectionEnd);
    std::memset(&list->setting, 0, sizeof list->setting);
    describeSetting(&list->setting);
    now.list = list;
    now.sectionsBegun = 0;
    const int32_t* v = list->setting.viewport;
    now.view = Box{v[0], v[1], v[2], v[3]};
    now.board = now.view;
    int scissor[4];
    if (boardScissorBox(scissor)) now.board = meetBoxes(now.view, Box{scissor[0], scissor[1], scissor[2], scissor[3]});
    std::memcpy(now.projection, list->setting.projection, sizeof now.projection);
    measureMeshes();
    describeBoard(view);
    describeOverlay(view);
    describeReadouts();
}
