// What changed since the last frame. Most frames differ from the one before
// in a few small places (a gem that spins, a popup that rises, the counter
// that counts): the boxes of those places are found by comparing what
// decides each piece's pixels, and only they are drawn again. Anything else
// that changes (a screen, a button, a banner, the window) draws the whole
// picture.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "assets/assets.h"
#include "game/game.h"
#include "platform/platform.h"
#include "render/render_local.h"

bool frameCacheUsed = true;
int lastFrameDrawing = WholeFrame;

namespace {

// Printed readouts and the bar: the pieces after the gems.
constexpr int GemPieces = BoardRows * BoardColumns;
constexpr int CounterPiece = GemPieces;
constexpr int LevelPiece = CounterPiece + 1;
constexpr int FirstPopupPiece = LevelPiece + 1;
constexpr int BarPiece = FirstPopupPiece + ScorePopupCount;
constexpr int PieceCount = BarPiece + 1;

// Switches the drawing leaves as it finds them only in part: the very first
// frame, for one, starts before the depth test is on.
const GLenum GlSwitches[] = {GL_DEPTH_TEST, GL_BLEND, GL_TEXTURE_2D, GL_LIGHTING, GL_CULL_FACE, GL_LIGHT0, GL_LIGHT1,
                             GL_LIGHT2, GL_LIGHT3, GL_ALPHA_TEST, GL_FOG, GL_COLOR_MATERIAL, GL_NORMALIZE, GL_DITHER};

constexpr int GlSwitchCount = sizeof GlSwitches / sizeof GlSwitches[0];

// Pixels added around every box for the rasteriser's rounding.
constexpr int BoxMargin = 2;
// Past this share of the picture a whole frame is cheaper than its boxes.
constexpr float MostBoxedShare = 0.5f;

// What decides a piece's pixels. Prints are zero-filled (padding too) before
// they are filled in, so that two of them compare byte for byte.
struct PieceKey {
    int32_t kind;
    int32_t x, y;
    uint8_t lit;
    float values[17];
    char text[24];
};

struct PiecePrint {
    PieceKey key;
    Box box;  // empty when nothing shows
};

// What, when it changes, changes the picture anywhere: the window and its
// context, the pictures, the frame and the flat screens over the board.
struct WholeKey {
    uint8_t enabled[GlSwitchCount];  // the GL state a frame starts from
    GLint functions[4];
    GLfloat colour[4];
    uint32_t context;
    GLint viewport[4];
    GLfloat projection[16];
    ScreenFit fit;
    uint32_t pictures[TextureCount];
    TexelRect opening;
    uint8_t culled, gemsFirst, cursorLightOn, gemsShown, bannerShown, paused, cursorShown;
    int32_t backgroundKind;
    Screen dialog;
    Picture banner;
    float bannerProgress, bannerAlpha;
    Sprite cursor;
    OverlayLayout panel, dialogLayout;
};

struct FramePrint {
    WholeKey whole;
    PiecePrint pieces[PieceCount];
};

FramePrint last;  // of the frame the kept picture holds
FramePrint next;  // of the frame being drawn
Box clip;
bool clipped = false;

bool isEmpty(const Box& b) { return b.w <= 0 || b.h <= 0; }

Box unite(const Box& a, const Box& b) {
    if (isEmpty(a)) return b;
    if (isEmpty(b)) return a;
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
    return Box{x0, y0, x1 - x0, y1 - y0};
}

Box meet(const Box& a, const Box& b) {
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
    if (x1 <= x0 || y1 <= y0) return Box{x0, y0, 0, 0};
    return Box{x0, y0, x1 - x0, y1 - y0};
}

Box viewportBox() {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return Box{v[0], v[1], v[2], v[3]};
}

// The whole pixels a rectangle of window coordinates touches, with the
// margin, within `within` (the coordinates are kept near it first, so that
// any number converts).
Box outwardBox(double x0, double y0, double x1, double y1, const Box& within) {
    auto near = [](double v, int low, int high) { return std::clamp(v, low - 8.0, high + 8.0); };
    const int left = static_cast<int>(std::floor(near(x0, within.x, within.x + within.w))) - BoxMargin;
    const int bottom = static_cast<int>(std::floor(near(y0, within.y, within.y + within.h))) - BoxMargin;
    const int right = static_cast<int>(std::ceil(near(x1, within.x, within.x + within.w))) + BoxMargin;
    const int top = static_cast<int>(std::ceil(near(y1, within.y, within.y + within.h))) + BoxMargin;
    return meet(Box{left, bottom, right - left, top - bottom}, within);
}

// The window box of a rectangle given in a flat space of spaceW x spaceH
// units over the viewport, with the margin, within the viewport. A width
// below zero reaches left of x; a rectangle that is not a number anywhere
// may be anywhere.
Box flatBox(float x, float y, float w, float h, float spaceW, float spaceH) {
    const Box view = viewportBox();
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h)) return view;
    if (w < 0.0f) x += w, w = -w;
    const double sx = view.w / spaceW, sy = view.h / spaceH;
    return outwardBox(view.x + x * sx, view.y + y * sy, view.x + (x + w) * sx, view.y + (y + h) * sy, view);
}

// rim: text-space units drawn around the glyphs (a popup's dark rim).
void printText(PiecePrint* piece, int x, int y, const char* text, float alpha, int rim = 0) {
    std::memset(&piece->key, 0, sizeof piece->key);
    piece->key.kind = 1;
    piece->key.x = x;
    piece->key.y = y;
    piece->key.values[0] = alpha;
    std::snprintf(piece->key.text, sizeof piece->key.text, "%s", text);
    int glyphs = 0;
    for (const char* c = text; *c; ++c) glyphs += hasGlyph(*c);
    const int width = glyphs > 0 ? (glyphs - 1) * GlyphAdvance + GlyphSize : 0;
    piece->box = width > 0 ? flatBox(x - rim, y - rim, width + 2 * rim, GlyphSize + 2 * rim, TextSpaceWidth,
                                     TextSpaceHeight)
                           : Box{};
}

void printReadouts(FramePrint* print) {
    Caption caption;
    if (layoutScoreCounter(counterShows(), &caption))
        printText(&print->pieces[CounterPiece], caption.x, caption.y, caption.text, 1.0f);
    layoutLevelNumber(game.level, &caption);
    printText(&print->pieces[LevelPiece], caption.x, caption.y, caption.text, 1.0f);
    for (int i = 0; i < ScorePopupCount; ++i) {
        const ScorePopup& popup = scene.scorePopups[i];
        if (!popup.active) continue;
        char points[24];
        std::snprintf(points, sizeof points, "%2i", popup.points);
        printText(&print->pieces[FirstPopupPiece + i], popupTextX(popup), popupTextY(popup), points,
                  1.0f - popup.progress, 1);
    }
    PiecePrint& bar = print->pieces[BarPiece];
    bar.key.values[0] = game.barLength;
    bar.key.values[1] = barWarns() ? 1.0f : 0.0f;
    bar.box = flatBox(BarX, BarY, game.barLength, BarHeight, BarSpaceWidth, BarSpaceHeight);
}

void printWhole(const FrameView& view, WholeKey* whole) {
    for (int i = 0; i < GlSwitchCount; ++i) whole->enabled[i] = glIsEnabled(GlSwitches[i]);
    glGetIntegerv(GL_DEPTH_FUNC, &whole->functions[0]);
    glGetIntegerv(GL_BLEND_SRC, &whole->functions[1]);
    glGetIntegerv(GL_BLEND_DST, &whole->functions[2]);
    glGetIntegerv(GL_SHADE_MODEL, &whole->functions[3]);
    glGetFloatv(GL_CURRENT_COLOR, whole->colour);
    whole->context = contextSerial();
    glGetIntegerv(GL_VIEWPORT, whole->viewport);
    glGetFloatv(GL_PROJECTION_MATRIX, whole->projection);
    whole->fit = ui.fit;
    std::memcpy(whole->pictures, textures, sizeof whole->pictures);
    whole->opening = frameOpening;
    whole->culled = gemBackFacesCulled;
    whole->gemsFirst = gemsBeforeBackdrop;
    whole->cursorLightOn = cursorLightKeptOn;
    whole->gemsShown = view.gemsShown;
    whole->backgroundKind = view.backgroundKind;
    whole->dialog = view.dialog;
    whole->bannerShown = view.bannerShown;
    if (view.bannerShown) {
        whole->banner = view.banner;
        whole->bannerProgress = scene.bannerProgress;
        whole->bannerAlpha = scene.bannerAlpha;
    }
    whole->paused = ui.paused && ui.screen == Screen::Playing;
    whole->cursorShown = layoutKeyCursor(&whole->cursor);
    layoutSidePanel(&whole->panel);
    if (view.dialog != Screen::Playing) layoutDialog(view.dialog, &whole->dialogLayout);
}

// Whether two boxes overlap or touch.
bool touching(const Box& a, const Box& b) {
    return a.x <= b.x + b.w && b.x <= a.x + a.w && a.y <= b.y + b.h && b.y <= a.y + a.h;
}

// Joins boxes that overlap or touch until none do; returns how many are left.
int joinBoxes(Box* boxes, int count) {
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            if (touching(boxes[i], boxes[j])) {
                boxes[i] = unite(boxes[i], boxes[j]);
                boxes[j] = boxes[--count];
                j = i;  // the grown box may touch one already passed
            }
    return count;
}

long areaOf(const Box& b) { return isEmpty(b) ? 0 : static_cast<long>(b.w) * b.h; }

// Makes room for one more box: joins the two boxes whose union adds the
// fewest pixels (then whatever the union touches); returns how many are left.
int joinCheapestPair(Box* boxes, int count) {
    int first = 0, second = 1;
    long least = -1;
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            const long added = areaOf(unite(boxes[i], boxes[j])) - areaOf(boxes[i]) - areaOf(boxes[j]);
            if (least < 0 || added < least) least = added, first = i, second = j;
        }
    boxes[first] = unite(boxes[first], boxes[second]);
    boxes[second] = boxes[--count];
    return joinBoxes(boxes, count);
}

// The window box of a gem drawn with the matrices now current: its mesh's
// bounding box projected, with the margin, within the board's box.
Box gemBox(int kind, const float modelview[16]) {
    const GemMesh& mesh = gemMeshes[kind];
    Box board = viewportBox();
    int scissor[4];
    if (boardScissorBox(scissor)) board = meet(board, Box{scissor[0], scissor[1], scissor[2], scissor[3]});
    if (mesh.vertexCount == 0) return Box{};
    Vec3 low = mesh.vertices[0], high = mesh.vertices[0];
    for (int i = 1; i < mesh.vertexCount; ++i) {
        const Vec3& v = mesh.vertices[i];
        low = Vec3(std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z));
        high = Vec3(std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z));
    }
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    const Box view = viewportBox();
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int corner = 0; corner < 8; ++corner) {
        // The mesh is drawn a tenth of its file size.
        const float in[4] = {0.1f * (corner & 1 ? high.x : low.x), 0.1f * (corner & 2 ? high.y : low.y),
                             0.1f * (corner & 4 ? high.z : low.z), 1.0f};
        float eye[4], c[4];
        for (int r = 0; r < 4; ++r)
            eye[r] = modelview[r] * in[0] + modelview[4 + r] * in[1] + modelview[8 + r] * in[2] + modelview[12 + r];
        for (int r = 0; r < 4; ++r)
            c[r] = p[r] * eye[0] + p[4 + r] * eye[1] + p[8 + r] * eye[2] + p[12 + r] * eye[3];
        // A corner at or behind the eye: the gem may be anywhere on the board.
        if (!(c[3] > 1e-4f)) return board;
        const float wx = view.x + (c[0] / c[3] + 1.0f) * 0.5f * view.w;
        const float wy = view.y + (c[1] / c[3] + 1.0f) * 0.5f * view.h;
        x0 = std::min(x0, wx), y0 = std::min(y0, wy), x1 = std::max(x1, wx), y1 = std::max(y1, wy);
    }
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1))) return board;
    return outwardBox(x0, y0, x1, y1, board);
}

// A gem of the frame being drawn, with its matrix current.
void printGem(int column, int row, int kind, bool lit) {
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    PiecePrint* piece = &next.pieces[row * BoardColumns + column];
    std::memset(&piece->key, 0, sizeof piece->key);
    piece->key.kind = kind;
    piece->key.lit = lit;
    piece->key.x = gemMeshes[kind].vertexCount;
    std::memcpy(piece->key.values, modelview, 16 * sizeof(float));
    piece->box = gemBox(kind, modelview);
}

}  // namespace

int findDamage(const FrameView& view, Box boxes[MostDamageBoxes]) {
    std::memset(&next, 0, sizeof next);
    printWhole(view, &next.whole);
    surveyGems(view, printGem);
    printReadouts(&next);
    const Box picture = viewportBox();
    if (!frameCacheUsed || !keptPictureFits() || std::memcmp(&last.whole, &next.whole, sizeof next.whole) != 0)
        return WholeFrame;
    int count = 0;
    for (int i = 0; i < PieceCount; ++i) {
        const PiecePrint& was = last.pieces[i];
        const PiecePrint& now = next.pieces[i];
        if (std::memcmp(&was.key, &now.key, sizeof now.key) == 0 && std::memcmp(&was.box, &now.box, sizeof now.box) == 0)
            continue;
        const Box changed = unite(was.box, now.box);
        if (isEmpty(changed)) continue;
        if (count == MostDamageBoxes) count = joinBoxes(boxes, count);
        if (count == MostDamageBoxes) count = joinCheapestPair(boxes, count);
        boxes[count++] = changed;
    }
    count = joinBoxes(boxes, count);
    long area = 0;
    for (int i = 0; i < count; ++i) area += areaOf(boxes[i]);
    if (area > MostBoxedShare * picture.w * picture.h) return WholeFrame;
    return count;
}

void clipFrameTo(const Box* box) {
    clipped = box != nullptr;
    if (clipped) clip = *box;
    scissorToFrameClip();
}

void scissorWithin(const int box[4]) {
    const Box b = clipped ? meet(Box{box[0], box[1], box[2], box[3]}, clip) : Box{box[0], box[1], box[2], box[3]};
    glScissor(b.x, b.y, std::max(b.w, 0), std::max(b.h, 0));
    glEnable(GL_SCISSOR_TEST);
}

void scissorToFrameClip() {
    if (!clipped) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glScissor(clip.x, clip.y, clip.w, clip.h);
    glEnable(GL_SCISSOR_TEST);
}

void frameDrawn(const Box* boxes, int count) {
    lastFrameDrawing = count;
    // Without the cache the kept picture and its print stay as they were.
    if (!frameCacheUsed) return;
    if (count == WholeFrame) {
        const Box picture = viewportBox();
        keepPicture(&picture, 1);
    } else {
        keepPicture(boxes, count);
    }
    std::memcpy(&last, &next, sizeof last);
}

bool quadInFrameClip(float x, float y, float w, float h) {
    if (!clipped) return true;
    GLfloat m[16], p[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    const Box view = viewportBox();
    double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
    for (int corner = 0; corner < 4; ++corner) {
        const float in[2] = {corner & 1 ? x + w : x, corner & 2 ? y + h : y};
        float eye[4], c[4];
        for (int r = 0; r < 4; ++r) eye[r] = m[r] * in[0] + m[4 + r] * in[1] + m[12 + r];
        for (int r = 0; r < 4; ++r) c[r] = p[r] * eye[0] + p[4 + r] * eye[1] + p[8 + r] * eye[2] + p[12 + r] * eye[3];
        if (!(c[3] > 1e-6f)) return true;
        const double wx = view.x + (c[0] / c[3] + 1.0) * 0.5 * view.w;
        const double wy = view.y + (c[1] / c[3] + 1.0) * 0.5 * view.h;
        x0 = std::min(x0, wx), y0 = std::min(y0, wy), x1 = std::max(x1, wx), y1 = std::max(y1, wy);
    }
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1))) return true;
    return !isEmpty(meet(outwardBox(x0, y0, x1, y1, view), clip));
}

bool gemInFrameClip(int column, int row) {
    if (!clipped) return true;
    return !isEmpty(meet(next.pieces[row * BoardColumns + column].box, clip));
}

