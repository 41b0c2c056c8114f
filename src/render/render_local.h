// What only the drawing code uses: the parts of a frame, the two ways of
// putting a picture on the screen, and the layouts of the flat screens.
//
// The layouts are plain data worked out from the shared state without any GL
// call (which picture, where, which text), so they can be checked on their
// own; drawing a layout is a separate, dumb step.
#pragma once

#include <cstdint>

#include "game/pictures.h"

#include "game/game.h"

// ---------------------------------------------------------------------------
// Parts of a frame

void drawBoard(const FrameView& view);
void drawBackground(int32_t backgroundKind);
void drawCells(const FrameView& view);
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
void drawOverlay(const FrameView& view);
// Where a score popup's points are printed as it rises (text space), its
// whole way inside the board's frame.
int popupTextX(const ScorePopup& popup);
int popupTextY(const ScorePopup& popup);
void drawEventBanner(Picture banner);
void drawScorePopups();
void drawScoreCounter();
void drawLevelNumber();
void drawBar();

// The window pixels outside which the frame covers the board whatever lies
// below (its mask is black there): x, y, width, height. False when unknown.
bool boardScissorBox(int box[4]);

// ---------------------------------------------------------------------------
// Drawing again only what changed (frame_damage.cpp, kept_picture.cpp)
//
// A frame starts from the last frame's picture, still in the back buffer,
// and draws again only the boxes in which something changed: each box is cleared and
// drawn with every layer, in order, under a scissor, so that its pixels are
// those of a whole frame. What decides a box's pixels is compared piece by
// piece (each gem's kind, light and matrix, the printed readouts, the popups,
// the bar); anything else that changes draws the whole picture.

// A box of window pixels: x, y from the bottom left, width, height.
struct Box {
    int x, y, w, h;
};

// Whether frames are drawn from the kept picture (on; a test and the
// benchmark turn it off to draw every frame whole, which leaves the kept
// picture as it was).
extern bool frameCacheUsed;
constexpr int WholeFrame = -1;
// How the last frame was drawn: WholeFrame, or the number of boxes drawn
// again over the kept picture.
extern int lastFrameDrawing;
constexpr int MostDamageBoxes = 8;
// The boxes in which the frame about to be drawn differs from the kept
// picture (none when it does not), or WholeFrame.
int findDamage(const FrameView& view, Box boxes[MostDamageBoxes]);
// After drawing, keeps what changed (the boxes, or WholeFrame) for the next frame.
void frameDrawn(const Box* boxes, int count);
// Limits all drawing to one box; nullptr lifts the limit.
void clipFrameTo(const Box* box);
// Scissor boxes of the drawing code (x, y, width, height) within the limit,
// and back to the limit alone.
void scissorWithin(const int box[4]);
void scissorToFrameClip();
// Whether the gem in (column, row) reaches into the limit; whether a flat
// quad from (x, y) over w x h, under the matrices now current, does.
bool gemInFrameClip(int column, int row);
bool quadInFrameClip(float x, float y, float w, float h);
// The gems drawCells draws, in its order, each with its matrix current.
void surveyGems(const FrameView& view, void (*note)(int column, int row, int kind, bool lit));

// The kept picture (the whole drawable, border and all, once the layout is
// fitted into a window): whether it is that of the last frame at the size and
// in the context of this one; whether the back buffer still shows it (when it
// does not, the next frame is drawn whole); keeping the boxes of the frame
// drawn (all of it when it does not fit).
bool keptPictureFits();
bool keptPictureShows();
void keepPicture(const Box* boxes, int count);

// ---------------------------------------------------------------------------
// Pictures on the overlay (x, y at the bottom left, in overlay space)

// The mask clears the surround (white keeps what is behind, black clears it),
// then the picture is added on top.
void drawMaskedSprite(Picture mask, Picture image, int x, int y, int w, int h);
// An opaque picture.
void drawPlainQuad(Picture picture, int x, int y, int w, int h);
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
constexpr int MaxLayoutCaptions = 21;  // the high scores: two tables of five rows, and a marked row's pointer

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
void drawLayout(const OverlayLayout& layout);

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
