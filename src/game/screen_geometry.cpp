// The screen geometry of both window layouts.
#include "game/screen_geometry.h"

namespace {

constexpr int Windowed = 0, FullScreen = 1;

// The options rows share their column; they take the mouse a pixel left of
// their pictures and a little higher than drawn.
constexpr Placement optionRow(int32_t y) { return Placement{287, y, 256, 32}; }
constexpr HitRect optionRowHit(int32_t top, int32_t bottom) { return HitRect{286, 545, top, bottom}; }
// The 128 x 32 dialog buttons.
constexpr Placement dialogButton(int32_t x, int32_t y) { return Placement{x, y, 128, 32}; }

// A screen button in both layouts: drawn, then taking the mouse.
struct ButtonRow {
    ButtonGeometry ScreenGeometry::*button;
    ButtonGeometry inLayout[2];
};

constexpr ButtonRow ButtonRows[] = {
    {&ScreenGeometry::hint,
     {{{85, 140, 80, 120}, {85, 165, 220, 325}},
      {{108, 175, 100, 150}, {107, 207, 275, 406}}}},
    {&ScreenGeometry::newGame,
     {{{50, 380, 120, 40}, {45, 165, 60, 100}},
      {{65, 475, 150, 50}, {65, 200, 75, 125}}}},
    {&ScreenGeometry::timedMode,
     {{{55, 295, 120, 40}, {50, 155, 145, 175}},
      {{65, 370, 150, 50}, {65, 195, 180, 220}}}},
    {&ScreenGeometry::levelsMode,
     {{{55, 330, 120, 40}, {50, 155, 110, 140}},
      {{65, 415, 150, 50}, {65, 195, 135, 175}}}},
    {&ScreenGeometry::options,
     {{{50, 60, 120, 40}, {45, 165, 380, 420}},
      {{60, 75, 150, 50}, {60, 200, 475, 525}}}},
    {&ScreenGeometry::quit,
     {{{50, 20, 120, 40}, {45, 165, 420, 460}},
      {{60, 20, 150, 50}, {60, 200, 530, 580}}}},
    {&ScreenGeometry::dialogFirst,
     {{dialogButton(283, 255), {287, 410, 195, 225}},
      {dialogButton(283, 255), {287, 410, 310, 345}}}},
    {&ScreenGeometry::dialogSecond,
     {{dialogButton(420, 255), {417, 540, 195, 225}},
      {dialogButton(420, 255), {417, 540, 310, 345}}}},
    {&ScreenGeometry::optionsBack,
     {{dialogButton(350, 165), {350, 478, 282, 315}},
      {dialogButton(350, 165), {350, 478, 402, 435}}}},
    {&ScreenGeometry::highScoresRow,
     {{optionRow(385), optionRowHit(60, 95)},
      {optionRow(385), optionRowHit(180, 216)}}},
    {&ScreenGeometry::fullScreenRow,
     {{optionRow(350), optionRowHit(97, 130)},
      {optionRow(350), optionRowHit(217, 249)}}},
    {&ScreenGeometry::musicRow,
     {{optionRow(315), optionRowHit(132, 165)},
      {optionRow(315), optionRowHit(252, 284)}}},
    {&ScreenGeometry::soundRow,
     {{optionRow(280), optionRowHit(167, 200)},
      {optionRow(280), optionRowHit(287, 319)}}},
    {&ScreenGeometry::helpRow,
     {{optionRow(245), optionRowHit(202, 235)},
      {optionRow(245), optionRowHit(322, 354)}}},
    {&ScreenGeometry::highScoresBack,
     {{dialogButton(340, 55), {340, 470, 390, 420}},
      {dialogButton(380, 80), {380, 510, 485, 515}}}},
};

// What else differs between the layouts.
struct LayoutRow {
    int32_t width, height;
    Placement highScoresPanel;
    int32_t tableNameX, tableScoreX, timedTableTop;
    TextPoint typedName;
    CellGrid cells;
};

constexpr LayoutRow LayoutRows[2] = {
    {640, 480, {230, 40, 345, 420}, 290, 460, 190, {345, 245}, {{180, 615, 18, 450}, 31, -15, 54}},
    {800, 600, {230, 60, 420, 510}, 240, 415, 195, {270, 195}, {{210, 790, 20, 575}, 35, -22, 67}},
};

constexpr ScreenGeometry geometryOf(int layout) {
    ScreenGeometry g{};
    const LayoutRow& row = LayoutRows[layout];
    g.width = row.width;
    g.height = row.height;
    for (const ButtonRow& button : ButtonRows) g.*button.button = button.inLayout[layout];
    // The dialogs are drawn at the same overlay pixels in both layouts.
    g.confirmationPanel = {265, 240, 300, 150};
    g.optionsPanel = {265, 150, 300, 330};
    g.highScoresPanel = row.highScoresPanel;
    g.tableNameX = row.tableNameX;
    g.tableScoreX = row.tableScoreX;
    g.levelsTableTop = 343;
    g.timedTableTop = row.timedTableTop;
    g.tableRowStep = 20;
    g.nameEntryPanel = {265, 150, 300, 300};
    g.typedName = row.typedName;
    g.pausePicture = {300, 250, 256, 64};
    g.bannerX = 283;
    g.bannerWidth = 256;
    g.bannerHeight = 64;
    g.bannerRise = 550.0f;
    g.cells = row.cells;
    return g;
}

}  // namespace

const ScreenGeometry ScreenGeometries[2] = {geometryOf(Windowed), geometryOf(FullScreen)};

// The rows' captions stand in the 640 x 480 text space, y upwards, each on
// its baseline; a row takes the clicks from just under its baseline to the next.
int highScoreRowAt(const ScreenGeometry& g, int x, int y) {
    const int textX = x * 640 / g.width, textY = 480 - y * 480 / g.height;
    if (textX < g.tableNameX - 10 || textX > g.tableScoreX + 60) return 0;
    const int32_t tops[2] = {g.levelsTableTop, g.timedTableTop};
    for (int table = 0; table < 2; ++table)
        for (int i = 0; i < HighScoreRows; ++i) {
            const int bottom = tops[table] - g.tableRowStep * i - 2;
            if (textY >= bottom && textY < bottom + g.tableRowStep) return table * HighScoreRows + i + 1;
        }
    return 0;
}

void cellAt(const CellGrid& grid, int x, int y, int32_t* column, int32_t* row) {
    const HitRect& a = grid.area;
    *column = (x > a.left && x < a.right) ? (x + grid.columnShift) / grid.pitch - 4 : NoCursorCell;
    *row = (y > a.top && y < a.bottom) ? (y + grid.rowShift) / grid.pitch + 1 : NoCursorCell;
}
