// Where the flat screens put their pictures and texts, in both window layouts.
// Pure data from the shared state: no GL here.
#include <cstdio>
#include <cstring>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render_local.h"

namespace {

// A side-panel button's pictures: its mask and its run of looks.
struct PanelPictures {
    Picture mask;
    Picture first;
    int looks;
    ButtonGeometry ScreenGeometry::*geometry;
};

// The side panel, in drawing order.
const PanelPictures HintPicture = {Picture::HintMask, Picture::HintPicture, 2, &ScreenGeometry::hint};
const PanelPictures NewGameButton = {Picture::WideButtonMask, Picture::NewGameButton, 3, &ScreenGeometry::newGame};
const PanelPictures TimedButton = {Picture::ModeButtonMask, Picture::TimedButton, 3, &ScreenGeometry::timedMode};
const PanelPictures LevelsButton = {Picture::ModeButtonMask, Picture::LevelsButton, 3, &ScreenGeometry::levelsMode};
const PanelPictures OptionsButton = {Picture::WideButtonMask, Picture::OptionsButton, 3, &ScreenGeometry::options};
const PanelPictures QuitButton = {Picture::WideButtonMask, Picture::QuitButton, 3, &ScreenGeometry::quit};

void addSprite(OverlayLayout* layout, Picture mask, Picture image, int x, int y, int w, int h) {
    if (layout->spriteCount >= MaxLayoutSprites) return;
    layout->sprites[layout->spriteCount++] = Sprite{mask, image, x, y, w, h};
}

void addPicture(OverlayLayout* layout, Picture mask, Picture image, const Placement& at) {
    addSprite(layout, mask, image, at.x, at.y, at.w, at.h);
}

void addPanelButton(OverlayLayout* layout, const PanelPictures& button, int32_t value) {
    addPicture(layout, button.mask, pictureFor(button.first, button.looks, value),
               (screenGeometry().*button.geometry).drawn);
}

// A dialog button: its normal picture, then its lit one.
void addDialogButton(OverlayLayout* layout, Picture normal, Picture lit, int32_t value, const Placement& at) {
    addPicture(layout, Picture::DialogButtonMask, value == 1 ? lit : normal, at);
}

// A dialog's panel and its Back button, lit under the mouse.
void addDialogWithBack(OverlayLayout* layout, Picture panel, const Placement& at, const Placement& back) {
    addPicture(layout, NoMask, panel, at);
    addDialogButton(layout, Picture::BackButton, Picture::BackButtonLit, ui.confirmLit, back);
}

// An options row: its off (or normal) picture, then its on (or lit) one.
void addOptionRow(OverlayLayout* layout, Picture off, Picture on, int32_t value, const Placement& at) {
    addPicture(layout, NoMask, value == 1 ? on : off, at);
}

template <typename... Values>
Caption* addCaption(OverlayLayout* layout, int x, int y, const char* format, Values... values) {
    if (layout->captionCount >= MaxLayoutCaptions) return nullptr;
    Caption& caption = layout->captions[layout->captionCount++];
    caption = Caption{};
    caption.x = x;
    caption.y = y;
    std::snprintf(caption.text, sizeof caption.text, format, values...);
    return &caption;
}

// Scores end where a five-digit one ends, digit under digit.
constexpr int ScoreColumnDigits = 5;

void layoutConfirmation(OverlayLayout* layout, Picture panel) {
    const ScreenGeometry& g = screenGeometry();
    addPicture(layout, NoMask, panel, g.confirmationPanel);
    addDialogButton(layout, Picture::YesButton, Picture::YesButtonLit, ui.confirmLit, g.dialogFirst.drawn);
    addDialogButton(layout, Picture::NoButton, Picture::NoButtonLit, ui.cancelLit, g.dialogSecond.drawn);
}

void layoutOptions(OverlayLayout* layout) {
    const ScreenGeometry& g = screenGeometry();
    addDialogWithBack(layout, Picture::OptionsPanel, g.optionsPanel, g.optionsBack.drawn);
    addOptionRow(layout, Picture::HighScoresRow, Picture::HighScoresRowLit, ui.highScoresLit, g.highScoresRow.drawn);
    addOptionRow(layout, Picture::WindowedRow, Picture::FullScreenRow, settings.fullScreen, g.fullScreenRow.drawn);
    addOptionRow(layout, Picture::MusicOffRow, Picture::MusicOnRow, settings.musicOn, g.musicRow.drawn);
    addOptionRow(layout, Picture::SoundOffRow, Picture::SoundOnRow, settings.soundOn, g.soundRow.drawn);
    addOptionRow(layout, Picture::HelpRow, Picture::HelpRowLit, ui.helpLit, g.helpRow.drawn);
}

void layoutHighScores(OverlayLayout* layout) {
    const ScreenGeometry& g = screenGeometry();
    addDialogWithBack(layout, Picture::HighScoresPanel, g.highScoresPanel, g.highScoresBack.drawn);

    const int tableTop[2] = {g.levelsTableTop, g.timedTableTop};
    const int scoresEnd = g.tableScoreX + ScoreColumnDigits * GlyphAdvance;
    for (int mode = 0; mode < 2; ++mode) {
        const int32_t marked = markedRow(static_cast<GameMode>(mode));
        for (int i = 0; i < HighScoreEntries; ++i) {
            const HighScoreEntry& entry = scoreBook.highScores[mode].entries[i];
            const int y = tableTop[mode] - g.tableRowStep * i;
            // The name field may be full to its last byte in a damaged table.
            Caption* name = addCaption(layout, g.tableNameX, y, "%.*s", static_cast<int>(sizeof entry.name), entry.name);
            Caption* score = addCaption(layout, 0, y, "%2i", entry.score);
            if (score) score->x = scoresEnd - static_cast<int>(std::strlen(score->text)) * GlyphAdvance;
            const bool chosen = ui.chosenRow == mode * HighScoreRows + i + 1;
            if (name && score && i == marked) {
                name->marked = score->marked = 1;
                // And a pointer after the score.
                if (Caption* pointer = addCaption(layout, scoresEnd + 2, y, "<")) pointer->marked = 1;
            } else if (chosen) {
                // The row the keys chose to watch: a plain pointer in the same place.
                addCaption(layout, scoresEnd + 2, y, "<");
            }
        }
    }
}

void layoutNameEntry(OverlayLayout* layout) {
    const ScreenGeometry& g = screenGeometry();
    addPicture(layout, NoMask, Picture::NameEntryPanel, g.nameEntryPanel);
    addCaption(layout, g.typedName.x, g.typedName.y, "%.*s", static_cast<int>(sizeof scoreBook.entryName),
               scoreBook.entryName);
}

}  // namespace

Picture pictureFor(Picture first, int count, int32_t value) {
    if (value < 0 || value >= count) return first;
    return pictureAfter(first, value);
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

void layoutDialog(Screen screen, OverlayLayout* layout) {
    *layout = OverlayLayout{};
    switch (screen) {
    case Screen::ConfirmNewGame: layoutConfirmation(layout, Picture::NewGamePanel); break;
    case Screen::ContinuePrompt: layoutConfirmation(layout, Picture::ContinuePanel); break;
    case Screen::HighScores: layoutHighScores(layout); break;
    case Screen::NameEntry: layoutNameEntry(layout); break;
    case Screen::ConfirmQuit: layoutConfirmation(layout, Picture::QuitPanel); break;
    case Screen::Options: layoutOptions(layout); break;
    case Screen::Playing: break;
    }
}

bool layoutKeyCursor(Sprite* sprite) {
    if (!ui.keyCursorShown || ui.screen != Screen::Playing) return false;
    const int column = ui.keyCursor.column, row = ui.keyCursor.row;
    if (column < 0 || column >= BoardColumns || row < FirstFieldRow || row > LastFieldRow) return false;
    const ScreenGeometry& g = screenGeometry();
    const Placement cell = cellPlacement(g.cells, g.height, column, row);
    *sprite = Sprite{Picture::KeyCursorMask, Picture::KeyCursor, cell.x, cell.y, cell.w, cell.h};
    return true;
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
    caption->y = ScoreCounterY;
    std::snprintf(caption->text, sizeof caption->text, "%2i", static_cast<int>(shown));
    return true;
}

int levelNumberX(int32_t level) { return level < 10 ? LevelNumberX : LevelNumberLaterX; }

void layoutLevelNumber(int32_t level, Caption* caption) {
    caption->x = levelNumberX(level);
    caption->y = LevelNumberY;
    // The level index of a damaged saved game may be anything; print it as it is.
    std::snprintf(caption->text, sizeof caption->text, "%2lld", static_cast<long long>(level) + 1);
}
