// The 81 pictures of base/ (texNN.bmp, NN the number below), named by what
// they show. The data generator in tools/ writes each picture under its name
// here and the game draws it by the same name; no other list of picture
// numbers exists. Plain C++: no SDL, no GL.
#pragma once

#include <cstdint>

enum class Picture : int32_t {
    None = -1,  // no picture: a sprite without a mask, an event without a banner
    Font = 0,   // 16 x 16 glyph cells
    FrameMask = 1,
    Frame = 2,
    QuitPanel = 3,
    OptionsPanel = 4,
    BackButton = 5,
    WideButtonMask = 6,  // the new-game, options and quit buttons
    NewGameButton = 7,   // 7, 8, 9: normal, highlighted, pressed
    ModeButtonMask = 10,
    FirstGem = 11,       // 11 .. 17: gem kinds 1 .. 7
    OptionsButton = 18,  // 18, 19, 20
    QuitButton = 21,     // 21, 22, 23
    TimedButton = 24,    // 24, 25, 26: normal, highlighted, running
    LevelsButton = 27,   // 27, 28, 29
    NewGamePanel = 30,
    DialogButtonMask = 31,  // the 128 x 32 dialog buttons, "BACK" too
    YesButton = 32,
    YesButtonLit = 33,
    NoButton = 34,
    NoButtonLit = 35,
    FirstBackdrop = 36,  // the backdrop of level 0 (and of a level without its own)
    Bar = 37,
    NameEntryPanel = 38,
    BackButtonLit = 39,
    WindowedRow = 40,
    FullScreenRow = 41,
    MusicOffRow = 42,
    MusicOnRow = 43,
    SoundOffRow = 44,
    SoundOnRow = 45,
    HintPicture = 49,
    HintPictureLit = 50,
    HintMask = 51,
    ContinuePanel = 52,
    LevelCompleteBanner = 58,
    GameOverBanner = 59,
    ExcellentBanner = 60,
    LaterBackdrop = 61,  // 61 .. 65: the backdrops of levels 1 .. 5
    HelpRow = 71,
    HelpRowLit = 72,
    NoMoreMovesBanner = 74,
    Paused = 75,
    KeyCursor = 76,      // the keyboard's cursor, a ring over one field cell
    KeyCursorMask = 77,
    HighScoresPanel = 78,
    HighScoresRow = 79,
    HighScoresRowLit = 80,
};

constexpr int PictureCount = 81;
constexpr int ButtonLookCount = 3;  // normal, highlighted, pressed (or running)
constexpr int BackdropKinds = 6;    // FirstBackdrop, then LaterBackdrop .. +4

constexpr int pictureNumber(Picture picture) { return static_cast<int>(picture); }
// The picture `steps` after `first` in a run of looks (a button's normal,
// highlighted and pressed pictures follow each other).
constexpr Picture pictureAfter(Picture first, int steps) {
    return static_cast<Picture>(static_cast<int>(first) + steps);
}
// The picture on a gem of kind 1 .. 7.
constexpr Picture gemPicture(int kind) { return pictureAfter(Picture::FirstGem, kind - 1); }
// The backdrop of background kind 0 .. 5; any other kind shows the first.
constexpr Picture backdropPicture(int kind) {
    return kind >= 1 && kind < BackdropKinds ? pictureAfter(Picture::LaterBackdrop, kind - 1) : Picture::FirstBackdrop;
}

// Pictures that must exist and load but that nothing draws.
constexpr int SparePictureCount = 14;
constexpr int SparePictureNumbers[SparePictureCount] = {46, 47, 48, 53, 54, 55, 56, 57, 66, 67, 68, 69, 70, 73};
