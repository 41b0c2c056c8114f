// What only the drawing code uses: the parts of a frame, the two ways of
// putting a picture on the screen, and the layouts of the flat screens.
//
// The layouts are plain data worked out from the shared state without any GL
// call (which picture, where, which text), so they can be checked on their
// own; drawing a layout is a separate, dumb step.
#pragma once

#include <cstdint>

#include "assets/assets.h"
#include "game/pictures.h"
#include "platform/platform.h"

#include "game/game.h"

// ---------------------------------------------------------------------------
// The frame as a list of what it draws (frame_list.cpp)
//
// A frame is first described, then drawn from its description alone: every
// gem with its kind, matrix and light, every picture with its place, every
// caption, the banner and the bar are items of one list, and the drawing
// code reads nothing else. Comparing this frame's list with the last one's
// finds what changed (frame_damage.cpp): nothing is drawn without being
// compared.

// A box of window pixels: x, y from the bottom left, width, height.
using Box = WindowBox;

// The part two boxes share; empty (no width or height) where they do not meet.
inline Box meetBoxes(const Box& a, const Box& b) {
    const int x0 = a.x > b.x ? a.x : b.x, y0 = a.y > b.y ? a.y : b.y;
    const int x1 = a.x + a.w < b.x + b.w ? a.x + a.w : b.x + b.w;
    const int y1 = a.y + a.h < b.y + b.h ? a.y + a.h : b.y + b.h;
    if (x1 <= x0 || y1 <= y0) return Box{x0, y0, 0, 0};
    return Box{x0, y0, x1 - x0, y1 - y0};
}

enum class ItemKind : int32_t { Gem, Backdrop, Frame, Sprite, Banner, Caption, Bar };

// The parts of the list. They follow one another in this order, but for the
// gems, which come after the backdrop when gemsBeforeBackdrop is off.
enum class Section : int32_t {
    Gems,
    Backdrop,
    Frame,
    KeyCursor,
    Panel,
    DialogPictures,
    DialogCaptions,
    Banner,
    Pause,
    Counter,
    Level,
    Popups,
    Bar,
    Count
};
constexpr int SectionCount = static_cast<int>(Section::Count);

// One thing drawn. Items are zero-filled (padding too) before they are
// filled in, so that two of them compare byte for byte.
struct DrawItem {
    int32_t id;  // the same thing keeps its id from frame to frame; ids rise through the list
    ItemKind kind;
    Picture mask;   // Sprite: its mask, or NoMask for an opaque picture
    Picture image;  // Sprite, Banner, Backdrop: the picture
    int32_t gem;    // Gem: the kind; Backdrop: the backdrop's kind
    int32_t lit;    // Gem: under the mouse's light; Bar: the time running out
    int32_t meshVertices;  // Gem: the mesh drawn
    float place[4];        // Sprite, Banner, Bar: x, y, w, h; Caption: x, y (text space)
    float matrix[16];      // Gem: its model-view matrix
    float colour[4];       // Caption, Banner
    char text[24];         // Caption
    Box box;               // the window pixels it may touch; empty when none
};

constexpr int MostDrawItems = 192;

// What, besides the items, decides the pixels of the whole picture: the GL
// state the frame starts from, the window, its context and its pictures,
// the frame's opening and the ways of drawing. When it changes, the frame
// is drawn whole.
struct FrameSetting {
    uint8_t enabled[16];
    int32_t functions[4];
    float colour[4];
    uint32_t context;
    int32_t viewport[4];
    float projection[16];
    ScreenFit fit;
    uint32_t pictures[TextureCount];
    uint32_t backgroundList;
    TexelRect opening;
    int32_t overlayWidth, overlayHeight;
    uint8_t culled, gemsFirst, cursorLightOn;
};

struct FrameList {
    FrameSetting setting;
    int count;
    int sectionStart[SectionCount], sectionEnd[SectionCount];
    DrawItem items[MostDrawItems];
};

// Describes the frame that the rules' step left (the GL's matrices are used
// to place the gems, and left as they were).
void describeFrame(const FrameView& view, FrameList* list);
// The items of one section.
inline const DrawItem* sectionBegin(const FrameList& list, Section s) {
    return list.items + list.sectionStart[static_cast<int>(s)];
}
inline const DrawItem* sectionEnd(const FrameList& list, Section s) {
    return list.items + list.sectionEnd[static_cast<int>(s)];
}

// ---------------------------------------------------------------------------
// Parts of a frame, drawn from its list

void drawBoard(const FrameList& list);
void drawBackground(const DrawItem& backdrop);
void drawCells(const DrawItem* begin, const DrawItem* end);
// Whether drawCells culls the gems' back faces (on; a test turns it off to
// compare). A gem is a closed mesh wound counter-clockwise seen from outside,
// so the nearest surface along any line of sight faces the viewer and the
// back faces are hidden anyway; culling them spares their rasterising.
extern bool gemBackFacesCulled;
// Whether drawBoard draws the gems before the backdrop (on; a test turns it
// off to compare): the backdrop then fails the depth test behind them.
extern bool gemsBeforeBackdrop;
// Whether drawCells keeps the cursor's light on through all the gems, black
// away from the cursor (on; a test turns it off to compare with switching
// the light on for the gem under the cursor alone).
extern bool cursorLightKeptOn;
void drawOverlay(const FrameList& list);
// Where a score popup's points are printed as it rises (text space), its
// whole way inside the board's frame.
int popupTextX(const ScorePopup& popup);
int popupTextY(const ScorePopup& popup);
void drawBar(const DrawItem& bar);

// The window pixels outside which the frame covers the board whatever lies
// below (its mask is black there): x, y, width, height. False when unknown.
bool boardScissorBox(int box[4]);
// The gems drawCells draws, in its order, each with its matrix current.
void surveyGems(const FrameView& view, void (*note)(int column, int row, int kind, bool lit));

// ---------------------------------------------------------------------------
// Drawing again only what changed (frame_damage.cpp, kept_picture.cpp)
//
// A frame starts from the picture the back buffer holds (the last frame's,
// or an older one's as the window system tells) and draws again only the
// boxes in which something changed since: each box is cleared and drawn with
// every item that reaches into it, in order, under a scissor, so that its
// pixels are those of a whole frame.

// Whether frames are drawn over the back buffer's picture (on; a test and
// the benchmark turn it off to draw every frame whole, which leaves what is
// known of the back buffer as it was).
extern bool frameCacheUsed;
constexpr int WholeFrame = -1;
// How the last frame was drawn: WholeFrame, or the number of boxes drawn
// again over the back buffer's picture.
extern int lastFrameDrawing;
constexpr int MostDamageBoxes = 8;
// The boxes to draw again for the frame described in `next` (none when
// nothing changed), or WholeFrame.
int findDamage(const FrameList& next, Box boxes[MostDamageBoxes]);
// After drawing, keeps what changed for the next frames and for the present.
void frameDrawn(const FrameList& drawn, const Box* boxes, int count);
// Limits all drawing to one box; nullptr lifts the limit.
void clipFrameTo(const Box* box);
// Scissor boxes of the drawing code (x, y, width, height) within the limit,
// and back to the limit alone. False when nothing of the box is left.
bool scissorWithin(const int box[4]);
void scissorToFrameClip();
// Whether an item reaches into the limit.
bool itemInFrameClip(const DrawItem& item);

// The kept picture, where the window system does not tell the back buffer's
// age and reading it back is cheap (the whole drawable, border and all, once
// the layout is fitted into a window): whether it is that of the last frame
// at the size and in the context of this one; whether the back buffer still
// shows it (when it does not, the next frame is drawn whole); keeping the
// boxes of the frame drawn (all of it when it does not fit); forgetting it.
bool keptPictureFits();
bool keptPictureShows();
void keepPicture(const Box* boxes, int count);
void forgetKeptPicture();

// ---------------------------------------------------------------------------
// Pictures on the overlay (x, y at the bottom left, in overlay space)

// The mask clears the surround (white keeps what is behind, black clears it),
// then the picture is added on top. The state is set all the same where the
// quad is not shown (it lies outside the frame's limit).
void drawMaskedSprite(Picture mask, Picture image, float x, float y, float w, float h, bool shown = true);
// An opaque picture.
void drawPlainQuad(Picture picture, float x, float y, float w, float h, bool shown = true);
// The textured quad itself, at (x, y), with the current state.
void drawQuadAt(float x, float y, float w, float h);

// Overlay-space size of the current layout: 640 x 480, or 800 x 600 when the
// full-screen layout applies.
int overlayWidth();
int overlayHeight();

// ---------------------------------------------------------------------------
// Layouts

constexpr Picture NoMask = Picture::None;  // a sprite without a mask is an opaque picture

struct Sprite {
    Picture mask;  // or NoMask
    Picture image;
    int x, y, w, h;
};

struct Caption {
    int x, y;  // text space
    char text[24];
    uint8_t marked;  // printed in the marking colour (the entry just made), else white
};

constexpr int MaxLayoutSprites = 8;
constexpr int MaxLayoutCaptions = 22;  // the high scores: two tables of five rows, the marked row's and the chosen row's pointers

// What one part of the overlay shows: its pictures in drawing order, then its
// texts (printed additively in white over the pictures).
struct OverlayLayout {
    int spriteCount;
    Sprite sprites[MaxLayoutSprites];
    int captionCount;
    Caption captions[MaxLayoutCaptions];
};

// Picks look `value` of a button's run of `count` pictures from `first`; a
// value outside the run shows the first (normal) picture.
Picture pictureFor(Picture first, int count, int32_t value);

// The frame's hint picture and five buttons, from the button looks.
void layoutSidePanel(OverlayLayout* layout);
// The dialog of a screen; empty on the playing screen.
void layoutDialog(Screen screen, OverlayLayout* layout);

// The keyboard's cursor over the square a click picks its cell from, while it
// shows on the board screen; false when it does not show.
bool layoutKeyCursor(Sprite* sprite);

// Text-space x of the score counter for the value it shows, or -1 when the
// value lies between two ranges (or out of all of them) and nothing is printed.
int scoreCounterX(float shown);
// The counter's text for the value it shows; false when nothing is printed.
bool layoutScoreCounter(float shown, Caption* caption);
// Text-space x of the level number (level index, printed as level + 1).
int levelNumberX(int32_t level);
void layoutLevelNumber(int32_t level, Caption* caption);
