// The picture names: every one of the 81 picture numbers is named (alone or
// as a look of a button, a gem, a backdrop) or a spare, and none twice.
#include <gtest/gtest.h>

#include <vector>

#include "game/pictures.h"

TEST(Pictures, EveryNumberIsNamedOnce) {
    std::vector<int> uses(PictureCount, 0);
    auto use = [&uses](Picture p) {
        ASSERT_GE(pictureNumber(p), 0);
        ASSERT_LT(pictureNumber(p), PictureCount);
        ++uses[pictureNumber(p)];
    };
    for (Picture p : {Picture::Font, Picture::FrameMask, Picture::Frame, Picture::QuitPanel, Picture::OptionsPanel,
                      Picture::BackButton, Picture::WideButtonMask, Picture::ModeButtonMask, Picture::NewGamePanel,
                      Picture::DialogButtonMask, Picture::YesButton, Picture::YesButtonLit, Picture::NoButton,
                      Picture::NoButtonLit, Picture::Bar, Picture::NameEntryPanel, Picture::BackButtonLit,
                      Picture::WindowedRow, Picture::FullScreenRow, Picture::MusicOffRow, Picture::MusicOnRow,
                      Picture::SoundOffRow, Picture::SoundOnRow, Picture::HintPicture, Picture::HintPictureLit,
                      Picture::HintMask, Picture::ContinuePanel, Picture::LevelCompleteBanner, Picture::GameOverBanner,
                      Picture::ExcellentBanner, Picture::HelpRow, Picture::HelpRowLit, Picture::NoMoreMovesBanner,
                      Picture::Paused, Picture::KeyCursor, Picture::KeyCursorMask, Picture::HighScoresPanel,
                      Picture::HighScoresRow, Picture::HighScoresRowLit})
        use(p);
    for (Picture first : {Picture::NewGameButton, Picture::OptionsButton, Picture::QuitButton, Picture::TimedButton,
                          Picture::LevelsButton})
        for (int look = 0; look < ButtonLookCount; ++look) use(pictureAfter(first, look));
    for (int kind = 1; kind <= 7; ++kind) use(gemPicture(kind));
    for (int kind = 0; kind < BackdropKinds; ++kind) use(backdropPicture(kind));
    for (int number : SparePictureNumbers) use(static_cast<Picture>(number));
    for (int number = 0; number < PictureCount; ++number) EXPECT_EQ(uses[number], 1) << "picture " << number;
}

TEST(Pictures, OddBackdropKindsShowTheFirst) {
    EXPECT_EQ(backdropPicture(-1), Picture::FirstBackdrop);
    EXPECT_EQ(backdropPicture(BackdropKinds), Picture::FirstBackdrop);
    EXPECT_EQ(backdropPicture(5), pictureAfter(Picture::LaterBackdrop, 4));
}
