// The screen geometry of both window layouts.
#include "game/screen_geometry.h"

namespace {

constexpr ButtonGeometry button(Placement drawn, HitRect hit) { return ButtonGeometry{drawn, hit}; }

// The options rows share their column; the rows take the mouse a little
// left of their pictures.
constexpr int32_t OptionRowX = 287, OptionRowWidth = 256, OptionRowHeight = 32;
constexpr Placement optionRow(int32_t y) { return Placement{OptionRowX, y, OptionRowWidth, OptionRowHeight}; }
constexpr HitRect optionRowHit(int32_t top, int32_t bottom) { return HitRect{286, 545, top, bottom}; }

constexpr int32_t DialogButtonWidth = 128, DialogButtonHeight = 32;
constexpr Placement dialogButton(int32_t x, int32_t y) {
    return Placement{x, y, DialogButtonWidth, DialogButtonHeight};
}

// What both layouts share: the dialogs are drawn at the same overlay pixels.
constexpr ScreenGeometry shared() {
    ScreenGeometry g{};
    g.confirmationPanel = {265, 240, 300, 150};
    g.dialogFirst.drawn = dialogButton(283, 255);
    g.dialogSecond.drawn = dialogButton(420, 255);
    g.optionsPanel = {265, 150, 300, 330};
    g.optionsBack.drawn = dialogButton(350, 165);
    g.highScoresRow.drawn = optionRow(385);
    g.fullScreenRow.drawn = optionRow(350);
    g.musicRow.drawn = optionRow(315);
    g.soundRow.drawn = optionRow(280);
    g.helpRow.drawn = optionRow(245);
    g.levelsTableTop = 343;
    g.tableRowStep = 20;
    g.nameEntryPanel = {265, 150, 300, 300};
    g.pausePicture = {300, 250, 256, 64};
    g.bannerX = 283;
    g.bannerWidth = 256;
    g.bannerHeight = 64;
    g.bannerRise = 550.0f;
    return g;
}

constexpr ScreenGeometry windowed() {
    ScreenGeometry g = shared();
    g.width = 640;
    g.height = 480;
    g.hint = button({85, 140, 80, 120}, {85, 165, 220, 325});
    g.newGame = button({50, 380, 120, 40}, {45, 165, 60, 100});
    g.timedMode = button({55, 295, 120, 40}, {50, 155, 145, 175});
    g.levelsMode = button({55, 330, 120, 40}, {50, 155, 110, 140});
    g.options = button({50, 60, 120, 40}, {45, 165, 380, 420});
    g.quit = button({50, 20, 120, 40}, {45, 165, 420, 460});
    g.dialogFirst.hit = {287, 410, 195, 225};
    g.dialogSecond.hit = {417, 540, 195, 225};
    g.optionsBack.hit = {350, 478, 282, 315};
    g.highScoresRow.hit = optionRowHit(60, 95);
    g.fullScreenRow.hit = optionRowHit(97, 130);
    g.musicRow.hit = optionRowHit(132, 165);
    g.soundRow.hit = optionRowHit(167, 200);
    g.helpRow.hit = optionRowHit(202, 235);
    g.highScoresPanel = {230, 40, 345, 420};
    g.highScoresBack = button(dialogButton(340, 55), {340, 470, 390, 420});
    g.tableNameX = 290;
    g.tableScoreX = 460;
    g.timedTableTop = 190;
    g.typedName = {345, 245};
    g.cells = {{180, 615, 18, 450}, 31, -15, 54};
    return g;
}

constexpr ScreenGeometry fullScreen() {
    ScreenGeometry g = shared();
    g.width = 800;
    g.height = 600;
    g.hint = button({108, 175, 100, 150}, {107, 207, 275, 406});
    g.newGame = button({65, 475, 150, 50}, {65, 200, 75, 125});
    g.timedMode = button({65, 370, 150, 50}, {65, 195, 180, 220});
    g.levelsMode = button({65, 415, 150, 50}, {65, 195, 135, 175});
    g.options = button({60, 75, 150, 50}, {60, 200, 475, 525});
    g.quit = button({60, 20, 150, 50}, {60, 200, 530, 580});
    g.dialogFirst.hit = {287, 410, 310, 345};
    g.dialogSecond.hit = {417, 540, 310, 345};
    g.optionsBack.hit = {350, 478, 402, 435};
    g.highScoresRow.hit = optionRowHit(180, 216);
    g.fullScreenRow.hit = optionRowHit(217, 249);
    g.musicRow.hit = optionRowHit(252, 284);
    g.soundRow.hit = optionRowHit(287, 319);
    g.helpRow.hit = optionRowHit(322, 354);
    g.highScoresPanel = {230, 60, 420, 510};
    g.highScoresBack = button(dialogButton(380, 80), {380, 510, 485, 515});
    g.tableNameX = 240;
    g.tableScoreX = 415;
    g.timedTableTop = 195;
    g.typedName = {270, 195};
    g.cells = {{210, 790, 20, 575}, 35, -22, 67};
    return g;
}

}  // namespace

const ScreenGeometry ScreenGeometries[2] = {windowed(), fullScreen()};

void cellAt(const CellGrid& grid, int x, int y, int32_t* column, int32_t* row) {
    const HitRect& a = grid.area;
    *column = (x > a.left && x < a.right) ? (x + grid.columnShift) / grid.pitch - 4 : NoCursorCell;
    *row = (y > a.top && y < a.bottom) ? (y + grid.rowShift) / grid.pitch + 1 : NoCursorCell;
}
