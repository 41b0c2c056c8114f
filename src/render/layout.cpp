// Where the flat screens put their pictures and texts, in both window layouts.
// Pure data from the shared state: no GL here.
#include <cstdio>

#include "game/game.h"
#include "render/render_local.h"

namespace {

struct Placement {
    int x, y, w, h;
};

struct PanelButton {
    int mask;
    int pictures[3];
    int pictureCount;
    Placement windowed;
    Placement fullScreen;
};

// The side panel, in drawing order.
const PanelButton HintPicture = {51, {49, 50, 0}, 2, {85, 140, 80, 120}, {108, 175, 100, 150}};
const PanelButton NewGameButton = {6, {7, 8, 9}, 3, {50, 380, 120, 40}, {65, 475, 150, 50}};
const PanelButton TimedButton = {10, {24, 25, 26}, 3, {55, 295, 120, 40}, {65, 370, 150, 50}};
const PanelButton LevelsButton = {10, {27, 28, 29}, 3, {55, 330, 120, 40}, {65, 415, 150, 50}};
const PanelButton OptionsButton = {6, {18, 19, 20}, 3, {50, 60, 120, 40}, {60, 75, 150, 50}};
const PanelButton QuitButton = {6, {21, 22, 23}, 3, {50, 20, 120, 40}, {60, 20, 150, 50}};

constexpr int DialogButtonMask = 31;
constexpr int DialogButtonWidth = 128;
constexpr int DialogButtonHeight = 32;
const int FirstButtonPictures[2] = {32, 33};
const int SecondButtonPictures[2] = {34, 35};
const int BackButtonPictures[2] = {5, 39};

constexpr int OptionRowX = 287;
constexpr int OptionRowWidth = 256;
constexpr int OptionRowHeight = 32;

void addSprite(OverlayLayout* layout, int mask, int image, int x, int y, int w, int h) {
    if (layout->spriteCount >= MaxLayoutSprites) return;
    layout->sprites[layout->spriteCount++] = Sprite{mask, image, x, y, w, h};
}

void addPanelButton(OverlayLayout* layout, const PanelButton& button, int32_t value) {
    const Placement& at = ui.fullScreenActive ? button.fullScreen : button.windowed;
    addSprite(layout, button.mask, pictureFor(button.pictures, button.pictureCount, value), at.x, at.y, at.w,
              at.h);
}

void addDialogButton(OverlayLayout* layout, const int pictures[2], int32_t lit, int x, int y) {
    addSprite(layout, DialogButtonMask, pictureFor(pictures, 2, lit), x, y, DialogButtonWidth,
              DialogButtonHeight);
}

void addOptionRow(OverlayLayout* layout, int offPicture, int onPicture, int32_t value, int y) {
    const int pictures[2] = {offPicture, onPicture};
    addSprite(layout, NoMask, pictureFor(pictures, 2, value), OptionRowX, y, OptionRowWidth, OptionRowHeight);
}

template <typename... Values>
void addCaption(OverlayLayout* layout, int x, int y, const char* format, Values... values) {
    if (layout->captionCount >= MaxLayoutCaptions) return;
    Caption& caption = layout->captions[layout->captionCount++];
    caption.x = x;
    caption.y = y;
    std::snprintf(caption.text, sizeof caption.text, format, values...);
}

void layoutConfirmation(OverlayLayout* layout, int panel) {
    addSprite(layout, NoMask, panel, 265, 240, 300, 150);
    addDialogButton(layout, FirstButtonPictures, ui.confirmLit, 283, 255);
    addDialogButton(layout, SecondButtonPictures, ui.cancelLit, 420, 255);
}

void layoutOptions(OverlayLayout* layout) {
    addSprite(layout, NoMask, 4, 265, 150, 300, 330);
    addDialogButton(layout, BackButtonPictures, ui.confirmLit, 350, 165);
    addOptionRow(layout, 79, 80, ui.highScoresLit, 385);
    addOptionRow(layout, 40, 41, settings.fullScreen, 350);
    addOptionRow(layout, 42, 43, settings.musicOn, 315);
    addOptionRow(layout, 44, 45, settings.soundOn, 280);
    addOptionRow(layout, 71, 72, ui.helpLit, 245);
}

void layoutHighScores(OverlayLayout* layout) {
    const bool full = ui.fullScreenActive;
    if (full)
        addSprite(layout, NoMask, 78, 230, 60, 420, 510);
    else
        addSprite(layout, NoMask, 78, 230, 40, 345, 420);
    addDialogButton(layout, BackButtonPictures, ui.confirmLit, full ? 380 : 340, full ? 80 : 55);

    const int nameX = full ? 240 : 290;
    const int scoreX = full ? 415 : 460;
    const int tableTop[2] = {343, full ? 195 : 190};
    for (int mode = 0; mode < 2; ++mode) {
        for (int i = 0; i < HighScoreEntries; ++i) {
            const HighScoreEntry& entry = scoreBook.highScores[mode].entries[i];
            const int y = tableTop[mode] - 20 * i;
            // The name field may be full to its last byte in a damaged table.
            addCaption(layout, nameX, y, "%.*s", static_cast<int>(sizeof entry.name), entry.name);
            addCaption(layout, scoreX, y, "%2i", entry.score);
        }
    }
}

void layoutNameEntry(OverlayLayout* layout) {
    addSprite(layout, NoMask, 38, 265, 150, 300, 300);
    if (ui.fullScreenActive)
        addCaption(layout, 270, 195, "%.*s", static_cast<int>(sizeof scoreBook.entryName), scoreBook.entryName);
    else
        addCaption(layout, 345, 245, "%.*s", static_cast<int>(sizeof scoreBook.entryName), scoreBook.entryName);
}

}  // namespace

int pictureFor(const int* pictures, int count, int32_t value) {
    if (value < 0 || value >= count) return pictures[0];
    return pictures[value];
}

void layoutSidePanel(OverlayLayout* layout) {
    *layout = OverlayLayout{};
    addPanelButton(layout, HintPicture, ui.hintLit);
    addPanelButton(layout, NewGameButton, ui.newGameButton);
    addPanelButton(layout, TimedButton, ui.modeBButton);
    addPanelButton(layout, LevelsButton, ui.modeAButton);
    addPanelButton(layout, OptionsButton, ui.optionsButton);
    addPanelButton(layout, QuitButton, ui.quitButton);
}

void layoutDialog(OverlayLayout* layout) {
    *layout = OverlayLayout{};
    switch (ui.screen) {
    case Screen::ConfirmNewGame: layoutConfirmation(layout, 30); break;
    case Screen::ContinuePrompt: layoutConfirmation(layout, 52); break;
    case Screen::HighScores: layoutHighScores(layout); break;
    case Screen::NameEntry: layoutNameEntry(layout); break;
    case Screen::ConfirmQuit: layoutConfirmation(layout, 3); break;
    case Screen::Options: layoutOptions(layout); break;
    case Screen::Playing: break;
    }
}

// The counter steps left by about one glyph's advance for each digit it
// gains, so that its right end stays in the box of the frame.
int scoreCounterX(float shown) {
    struct Range {
        double low, high;
        int x;
    };
    static const Range ranges[] = {
        {0, 0, 103},
        {1, 99, 110},
        {100, 999, 103},
        {1000, 9999, 96},
        {10000, 99999, 90},
        {100000, 999999, 83},
        {1000000, 9999999, 76},
        {10000000, 99999999, 69},
        {100000000, 999999999, 62},
        {1000000000, 2147483647, 55},
    };
    for (const Range& range : ranges)
        if (shown >= range.low && shown <= range.high) return range.x;
    return -1;
}

bool layoutScoreCounter(float shown, Caption* caption) {
    const int x = scoreCounterX(shown);
    if (x < 0) return false;
    caption->x = x;
    caption->y = 437;
    std::snprintf(caption->text, sizeof caption->text, "%2i", static_cast<int>(shown));
    return true;
}

int levelNumberX(int32_t level) { return level < 10 ? 580 : 587; }

void layoutLevelNumber(int32_t level, Caption* caption) {
    caption->x = levelNumberX(level);
    caption->y = 4;
    // The level index of a damaged saved game may be anything; print it as it is.
    std::snprintf(caption->text, sizeof caption->text, "%2lld", static_cast<long long>(level) + 1);
}
