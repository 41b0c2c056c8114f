// Every screen drawn with the game's own art, in both window sizes, compared
// with the reviewed pictures in tests/render/reference/. A moved, missing or
// wrongly chosen element changes far more pixels than the tolerance allows.
// The references are kept at half size (each 2 x 2 block averaged) with 32
// levels per channel, which is plenty to see an element move by two pixels
// and keeps them small.
//
// After an intended change of the art or the layout, look at the new frames
// and refresh the references with
//     VORTIQ_UPDATE_REFERENCE=1 ctest -R '^render\.'
// (run from the build directory, under an X server), then review the
// changed PNG files before committing them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "game/game.h"
#include "support/gl_harness.h"

using namespace harness;

namespace {

// Channels (at half size) must differ by more than this for a pixel to count
// as changed, and at most this many pixels may change.
constexpr int PixelThreshold = 40;
constexpr int AllowedPixels = 20;

struct ScreenCase {
    const char* name;
    std::function<void()> arrange;
};

void fillTables() {
    const char* levels[5] = {"VORTIQ$$$", "GARNET$$$", "JADE$$$$$", "", ""};
    const char* timed[5] = {"TOPAZ$$$$", "ONYX$$$$$", "", "", ""};
    const int levelScores[5] = {15200, 8150, 640, 0, 0};
    const int timedScores[5] = {99000, 12, 0, 0, 0};
    for (int i = 0; i < 5; ++i) {
        std::strncpy(scoreBook.highScores[0].entries[i].name, levels[i], sizeof(HighScoreEntry::name));
        scoreBook.highScores[0].entries[i].score = levelScores[i];
        std::strncpy(scoreBook.highScores[1].entries[i].name, timed[i], sizeof(HighScoreEntry::name));
        scoreBook.highScores[1].entries[i].score = timedScores[i];
    }
}

void playing() {
    ui.screen = Screen::Playing;
    fillBoard();
    game.level = 2;
    game.backgroundKind = 2;
    game.barLength = 180.0f;
    scene.shownScore = 1734.0f;
}

const ScreenCase Cases[] = {
    {"continue-prompt", [] { ui.screen = Screen::ContinuePrompt; }},
    {"playing",
     [] {
         playing();
         ui.hintLit = 1;
         ui.optionsButton = ButtonHighlighted;
     }},
    {"confirm-new-game",
     [] {
         playing();
         ui.screen = Screen::ConfirmNewGame;
         ui.newGameButton = ButtonPressed;
         ui.confirmLit = 1;
     }},
    {"confirm-quit",
     [] {
         playing();
         ui.screen = Screen::ConfirmQuit;
         ui.quitButton = ButtonPressed;
         ui.cancelLit = 1;
     }},
    {"options",
     [] {
         playing();
         ui.screen = Screen::Options;
         ui.optionsButton = ButtonPressed;
         settings = Settings{0, 1, 0};
         ui.highScoresLit = 1;
     }},
    {"high-scores",
     [] {
         ui.screen = Screen::HighScores;
         fillTables();
     }},
    {"name-entry",
     [] {
         ui.screen = Screen::NameEntry;
         std::strcpy(scoreBook.entryName, "Jill$$$$$");  // a J and narrow letters
     }},
    {"paused",
     [] {
         playing();
         ui.paused = 1;
         game.gameMode = GameMode::Timed;
         settleModeButtons();
         game.timeLeft = 40.0f;
     }},
    {"banner",
     [] {
         playing();
         game.boardEvent = BoardEvent::Excellent;
         scene.bannerProgress = 0.4f;
     }},
    {"popups",
     [] {
         playing();
         scene.scorePopups[0] = ScorePopup{1, 330, 250, 60, 0.1f};
         scene.scorePopups[1] = ScorePopup{1, 420, 120, 1250, 0.5f};
         scene.scorePopups[2] = ScorePopup{1, 600, 440, 345, 0.8f};  // kept inside the frame
     }},
    {"high-scores-after-game",
     [] {
         ui.screen = Screen::HighScores;
         fillTables();
         scoreBook.ended = EndedGame{1, GameMode::Levels, 8150, 1};
     }},
    {"time-running-out",
     [] {
         playing();
         game.gameMode = GameMode::Timed;
         settleModeButtons();
         game.timeLeft = 15.0f;
         game.barLength = 15.0f * BarLengthPerPercent;
     }},
};

// A window of the layout's size with the generated data loaded.
class RealArt {
protected:
    void open(bool fullScreen) {
        full = fullScreen;
        width = layoutGeometry(full ? Layout::FullScreen : Layout::Windowed).width;
        height = layoutGeometry(full ? Layout::FullScreen : Layout::Windowed).height;
        const std::string data = realDataDir();
        if (data.empty()) GTEST_SKIP() << "the game data has not been generated yet (build the game_data target)";
        std::string why;
        ASSERT_TRUE(openTestWindow(width, height, &why)) << why;
        ASSERT_TRUE(startUp(data));
        ui.fullScreenActive = full;
        renderFrame();  // the first frame runs without the depth test
        game.fallOffset = 0.0f;
    }

    bool full = false;
    int width = 0, height = 0;
};

class Reference : public RealArt, public ::testing::TestWithParam<std::tuple<int, bool>> {
protected:
    void SetUp() override { open(std::get<1>(GetParam())); }
    void TearDown() override { closeTestWindow(); }
};

class Opening : public RealArt, public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { open(GetParam()); }
    void TearDown() override { closeTestWindow(); }
};

std::string referencePath(const std::string& name) {
    return std::string(VORTIQ_SOURCE_DIR) + "/tests/render/reference/" + name + ".png";
}

TEST_P(Reference, MatchesTheReviewedPicture) {
    const ScreenCase& screenCase = Cases[std::get<0>(GetParam())];
    const std::string name = std::string(screenCase.name) + (full ? "-800" : "-640");
    screenCase.arrange();
    const Image frame = renderFrame();
    keepShot(frame, name);
    const Image image = halfSize(frame);

    const char* update = std::getenv("VORTIQ_UPDATE_REFERENCE");
    if (update && std::strcmp(update, "1") == 0) {
        Image reference = image;
        posterise(&reference);
        ASSERT_TRUE(savePng(reference, referencePath(name)));
        return;
    }
    Image reference;
    ASSERT_TRUE(loadPng(referencePath(name), &reference))
        << "no reference picture " << referencePath(name) << "; make one with VORTIQ_UPDATE_REFERENCE=1";
    const int changed = countDifferences(image, reference, PixelThreshold);
    if (changed > AllowedPixels) {
        savePng(frame, outputPath("render-actual-" + name + ".png"));
        countDifferences(image, reference, PixelThreshold, outputPath("render-diff-" + name + ".png"));
    }
    EXPECT_LE(changed, AllowedPixels) << name << ": see render-actual-" << name << ".png and render-diff-" << name
                                      << ".png in " << outputPath("");
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<int, bool>>& info) {
    std::string name = Cases[std::get<0>(info.param)].name;
    for (char& c : name)
        if (c == '-') c = '_';
    return name + (std::get<1>(info.param) ? "_800" : "_640");
}

INSTANTIATE_TEST_SUITE_P(RealArt, Reference,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(Cases))),
                                            ::testing::Bool()),
                         caseName);

// The generated frame's opening must show the whole field. Seen from the
// fixed camera, every cell of the field is the same shape on the screen, so a
// gem shows as many pixels in a border cell as the same kind does in the
// middle of the board, unless the frame hides part of it.
TEST_P(Opening, ShowsTheWholeField) {
    ui.screen = Screen::Playing;
    const Image empty = renderFrame();
    fillBoard();
    const Image board = renderFrame();
    int shown[BoardRows][BoardColumns] = {};
    int mostShown[GemKinds + 1] = {};
    for (int row = FirstFieldRow; row <= LastFieldRow; ++row) {
        for (int column = 0; column < BoardColumns; ++column) {
            double left, top, right, bottom;
            projectBoardPoint(column - 2.5f, 4.65f - row + 0.5f, -11.0f, &left, &top);
            projectBoardPoint(column - 1.5f, 4.65f - row - 0.5f, -11.0f, &right, &bottom);
            for (int y = static_cast<int>(bottom); y < static_cast<int>(top); ++y)
                for (int x = static_cast<int>(left); x < static_cast<int>(right); ++x)
                    shown[row][column] += maxChannelDifference(board.at(x, y), empty.at(x, y)) > 12;
            const bool inner = row > FirstFieldRow && row < LastFieldRow && column > 0 && column < BoardColumns - 1;
            const int kind = game.board[row][column];
            if (inner) mostShown[kind] = std::max(mostShown[kind], shown[row][column]);
        }
    }
    for (int row = FirstFieldRow; row <= LastFieldRow; ++row) {
        for (int column = 0; column < BoardColumns; ++column) {
            const int kind = game.board[row][column];
            ASSERT_GT(mostShown[kind], 50) << "gem kind " << kind << " is not seen in the middle of the board";
            EXPECT_GE(shown[row][column], mostShown[kind] * 9 / 10)
                << "the gem in cell " << column << ", " << row << " is partly hidden";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Frame, Opening, ::testing::Bool(), LayoutName());

}  // namespace
