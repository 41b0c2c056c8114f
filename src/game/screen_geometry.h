// Where everything sits on the screen, in both window layouts: the windowed
// 640 x 480 one and the full-screen 800 x 600 one. Drawing, the button hit
// tests, the board's cell under the mouse, the tests and the benchmark all
// read this one table; nothing else holds a screen position.
//
// Two kinds of rectangle live here:
//  - Placement: where a picture is drawn, in overlay pixels of the layout
//    (x, y of the bottom left corner, y upwards, then width and height);
//  - HitRect: where a button takes the mouse, in window pixels of the layout
//    (y downwards, as the mouse reports it), open on every side.
// Texts go into the fixed 640 x 480 text space (y upwards) in both layouts.
//
// Every reader reaches the table through layoutGeometry(). Positions here stay
// layout pixels at any window size: the layout is fitted to the window in one
// place (ScreenFit, at the end: the viewport, and mouse points taken back).
// Plain C++: no SDL, no GL.
#pragma once

#include <cstdint>

struct Placement {
    int32_t x, y, w, h;
};

// Inside when left < x < right and top < y < bottom.
struct HitRect {
    int32_t left, right, top, bottom;
};
inline bool insideRect(const HitRect& r, int x, int y) {
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

// A point of the 640 x 480 text space.
struct TextPoint {
    int32_t x, y;
};

// A screen button: the picture and the part of the window that takes clicks
// (which, as the pictures were drawn, is not always the whole picture).
struct ButtonGeometry {
    Placement drawn;
    HitRect hit;
};

// The board cells under the mouse: inside `area`, the cell of window pixel
// (x, y) is column (x + columnShift) / pitch - 4, row (y + rowShift) / pitch + 1.
struct CellGrid {
    HitRect area;
    int32_t columnShift;
    int32_t rowShift;
    int32_t pitch;
};

enum class Layout : int32_t { Windowed = 0, FullScreen = 1 };

struct ScreenGeometry {
    int32_t width, height;  // the window and the overlay space

    // The side panel beside the board.
    ButtonGeometry hint, newGame, timedMode, levelsMode, options, quit;

    // The three confirmation dialogs (new game, the start-up prompt, quit).
    Placement confirmationPanel;
    ButtonGeometry dialogFirst, dialogSecond;

    // The options screen and its rows.
    Placement optionsPanel;
    ButtonGeometry optionsBack;
    ButtonGeometry highScoresRow, fullScreenRow, musicRow, soundRow, helpRow;

    // The high-score screen: the panel, its button and the two tables of
    // names and scores (text space, one row every tableRowStep downwards).
    Placement highScoresPanel;
    ButtonGeometry highScoresBack;
    int32_t tableNameX, tableScoreX;
    int32_t levelsTableTop, timedTableTop, tableRowStep;

    // The name entry: the panel and where the typed name is printed.
    Placement nameEntryPanel;
    TextPoint typedName;

    Placement pausePicture;

    // The event banner: 256 x 64 at x bannerX, rising bannerRise pixels over its time.
    int32_t bannerX, bannerWidth, bannerHeight;
    float bannerRise;

    CellGrid cells;
};

// The table, by Layout.
extern const ScreenGeometry ScreenGeometries[2];

inline const ScreenGeometry& layoutGeometry(Layout layout) {
    return ScreenGeometries[layout == Layout::FullScreen ? 1 : 0];
}

// Middle of a hit rectangle: a point that surely clicks the button.
inline int hitCentreX(const HitRect& r) { return (r.left + r.right) / 2; }
inline int hitCentreY(const HitRect& r) { return (r.top + r.bottom) / 2; }

constexpr int NoCursorCell = -10000;
constexpr int HighScoreRows = 5;  // rows of each table

// The high-score row under a window pixel of the layout: 1..5 the levels
// table's, 6..10 the timed table's, 0 none.
int highScoreRowAt(const ScreenGeometry& g, int x, int y);

// Maps a window pixel to the board cell under it; NoCursorCell (either part)
// when the pixel is outside the board's area.
void cellAt(const CellGrid& grid, int x, int y, int32_t* column, int32_t* row);
// The square that cellAt maps to (column, row), as a placement in the
// overlay space of a layout `height` pixels high: where the keyboard's
// cursor is drawn over that cell.
inline Placement cellPlacement(const CellGrid& grid, int height, int column, int row) {
    const int32_t left = grid.pitch * (column + 4) - grid.columnShift;
    const int32_t top = grid.pitch * (row - 1) - grid.rowShift;
    return Placement{left, height - top - grid.pitch, grid.pitch, grid.pitch};
}

// The time bar lives in an 800 x 600 space of its own in both layouts; its
// picture is stretched from (BarX, BarY) over the length shown.
constexpr int BarSpaceWidth = 800;
constexpr int BarSpaceHeight = 600;
constexpr float BarX = 306.0f;
constexpr float BarY = 12.0f;
constexpr float BarHeight = 11.0f;
constexpr float BarLengthPerPercent = 3.915f;  // a full bar is 391.5 long
// The bar is drawn to whole pixels of a picture `pictureWidth` pixels wide:
// how many a length covers (none for a length that is not a number).
inline int barPixelsShown(float length, int pictureWidth) {
    const double pixels = static_cast<double>(length) * pictureWidth / BarSpaceWidth;
    if (!(pixels > -1e9 && pixels < 1e9)) return 0;
    return static_cast<int>(pixels < 0.0 ? pixels - 0.5 : pixels + 0.5);
}

// The fixed text space of the counters (both layouts).
constexpr int ScoreCounterY = 437;
constexpr int LevelNumberY = 4;
constexpr int LevelNumberX = 580;      // levels 0 .. 9
constexpr int LevelNumberLaterX = 587;  // the levels after

// The board's opening in the frame, in text space (the frame is one picture
// stretched over either layout): score popups keep inside it.
constexpr int FieldTextLeft = 188;
constexpr int FieldTextRight = 610;
constexpr int FieldTextBottom = 37;
constexpr int FieldTextTop = 459;

// The 3D board: the centre of the spawn row's left cell, one unit per cell.
constexpr float CellZ = -11.0f;
constexpr float TopRowY = 4.65f;
constexpr float LeftColumnX = -2.0f;

// ---------------------------------------------------------------------------
// The layout on a screen of any size

// How the layout (640 x 480 or 800 x 600 layout pixels) is shown in the
// window: scaled by one factor to the largest size that fits the drawable,
// centred; the rest of the drawable is a dark border.
struct ScreenFit {
    int32_t layoutWidth, layoutHeight;      // 0 until a window was fitted
    int32_t windowWidth, windowHeight;      // window points, as the mouse reports them
    int32_t drawableWidth, drawableHeight;  // real pixels (more than points on a high-DPI screen)
    int32_t pictureX, pictureY;             // drawable pixels, from the bottom left
    int32_t pictureWidth, pictureHeight;
    float scale;                            // drawable pixels per layout pixel
};

// Where the mouse is when it is outside the picture: no button and no cell is there.
constexpr int32_t MouseOutsidePicture = -10000;

// The fit of a layout into a window of the given size in points and in
// drawable pixels.
ScreenFit fitLayout(int layoutWidth, int layoutHeight, int windowWidth, int windowHeight, int drawableWidth,
                    int drawableHeight);
// A window point (origin top left) in layout pixels; false, with both set to
// MouseOutsidePicture, outside the picture. Before any fit, points are layout pixels.
bool windowToLayout(const ScreenFit& fit, int x, int y, int32_t* layoutX, int32_t* layoutY);
// The largest whole factor (at least 1) by which the layout fits the usable desktop.
int wholeWindowFactor(int layoutWidth, int layoutHeight, int usableWidth, int usableHeight);
