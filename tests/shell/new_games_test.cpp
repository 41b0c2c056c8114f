// A new game leaves the old one behind entirely (its pause, its banner), and
// a finished game's score gets its chance at the table however the player
// goes on: a new game asked for during the game-over banner, or quitting at
// the name entry or under the banner.
#include <functional>

#include "shell/shell_fixture.h"

namespace {

class NewGames : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        presetBoardScreen();
    }

    static void startTimedGame() {
        game.gameMode = GameMode::Timed;
        ui.modeAButton = ButtonNormal;
        ui.modeBButton = ButtonPressed;
        newGame();
    }

    // Frames of the rules at 100 frames per second.
    static void frames(int count) {
        static FrameInput input{};
        for (int i = 0; i < count; ++i) {
            input.ticks += 10000;
            stepFrame(input);
        }
    }
    static bool framesUntil(const std::function<bool()>& done, int most = 3000) {
        for (int i = 0; i < most; ++i) {
            if (done()) return true;
            frames(1);
        }
        return done();
    }

    static void tap(int key) {
        keyDown(key);
        keyUp(key);
    }

    // The timed game runs out of time with `score` points: the game-over banner starts.
    static void timeRunsOut(int32_t score) {
        startTimedGame();
        game.score = score;
        game.timeLeft = -1.0f;
        frames(1);
    }

    static HighScoreEntry tableTop(GameMode mode) {
        resetGameState();
        loadHighScores();
        return scoreBook.highScores[static_cast<int>(mode)].entries[0];
    }

    // The game the next start would offer to continue.
    static void restoreSaved() {
        resetGameState();
        ASSERT_TRUE(restoreGame());
    }
};

}  // namespace

// Every way of starting a game, tried from a paused timed game whose
// level-complete banner is half way: the new game is not paused, shows no
// banner, stays on its first level, and P pauses it when it is a timed one.
TEST_F(NewGames, StartUnpausedAndWithoutTheOldBanner) {
    struct Way {
        const char* name;
        std::function<void()> start;
        GameMode mode;
    };
    const Way ways[] = {
        {"levels button", [] { click(100, 125); }, GameMode::Levels},
        {"timed button", [] { click(100, 160); }, GameMode::Timed},
        {"new game, yes",
         [] {
             click(100, 80);
             click(350, 210);
         },
         GameMode::Timed},
        {"prompt, new game",
         [] {
             ui.screen = Screen::ContinuePrompt;
             click(450, 210);
         },
         GameMode::Timed},
        {"high-score button",
         [] {
             noteEndedGame();
             ui.screen = Screen::HighScores;
             click(400, 400);
         },
         GameMode::Timed},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        startTimedGame();
        tap('P');
        ASSERT_EQ(ui.paused, 1);
        game.boardEvent = BoardEvent::LevelComplete;
        scene.bannerProgress = 0.5f;

        way.start();
        EXPECT_EQ(ui.screen, Screen::Playing);
        EXPECT_EQ(game.gameMode, way.mode);
        EXPECT_EQ(ui.paused, 0);
        EXPECT_EQ(game.boardEvent, BoardEvent::None);
        EXPECT_EQ(scene.bannerProgress, 0.0f);

        frames(400);  // longer than a banner
        EXPECT_EQ(game.level, 0);
        if (way.mode == GameMode::Timed) {
            tap('P');
            EXPECT_EQ(ui.paused, 1);
        }
    }
}

// While the game-over banner runs, the mode buttons, the new-game button, the
// yes of a new-game question asked before it and the high-score button start
// nothing; when the banner ends the name entry comes, and after it the table
// holds the score.
TEST_F(NewGames, DuringTheGameOverBannerTheScoreGoesToTheTableFirst) {
    timeRunsOut(4321);
    ASSERT_EQ(game.gameOverDrain, 1);

    click(100, 125);  // levels button
    click(100, 160);  // timed button
    EXPECT_EQ(game.gameMode, GameMode::Timed);
    click(100, 80);  // new game: not even asked
    EXPECT_EQ(ui.screen, Screen::Playing);
    ui.screen = Screen::ConfirmNewGame;  // asked before the banner began ...
    click(350, 210);  // ... yes
    EXPECT_EQ(game.score, 4321);
    ui.screen = Screen::HighScores;  // the table seen from the options
    click(400, 400);
    EXPECT_EQ(game.score, 4321);
    ui.screen = Screen::ConfirmNewGame;

    ASSERT_TRUE(framesUntil([] { return ui.screen == Screen::NameEntry; }));
    tap('Z');
    tap(VkReturn);
    EXPECT_EQ(ui.screen, Screen::HighScores);
    click(400, 400);  // now the new game comes
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(game.score, 0);

    const HighScoreEntry top = tableTop(GameMode::Timed);
    EXPECT_EQ(top.score, 4321);
    EXPECT_EQ(std::string(top.name, 9), "Z$$$$$$$$");
}

// Quitting where a finished game waits: a score that qualifies is recorded
// with the name typed so far, and the saved game is the new game that would
// have followed, never the finished one.
TEST_F(NewGames, QuittingAfterTheGameEndedRecordsTheScoreAndSavesNoEndedGame) {
    struct Place {
        const char* name;
        std::function<void()> reach;
        int32_t score;
        const char* storedName;  // nullptr: the score does not reach the table
    };
    const Place places[] = {
        {"name entry, three letters typed",
         [] {
             ui.screen = Screen::NameEntry;
             std::memcpy(scoreBook.entryName, "Ann$$$$$$", 10);
             scoreBook.entryCursor = 4;
         },
         700, "Ann$$$$$$"},
        {"game-over banner, nothing typed", [] {}, 800, "$$$$$$$$$"},
        {"game-over banner, no high score", [] {}, 0, nullptr},
        {"table after the name entry",
         [] {
             ASSERT_TRUE(framesUntil([] { return ui.screen == Screen::NameEntry; }));
             tap(VkReturn);
             ASSERT_EQ(ui.screen, Screen::HighScores);
         },
         900, "$$$$$$$$$"},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        std::remove("base/hiscores");
        resetGameState();
        presetBoardScreen();
        timeRunsOut(place.score);
        place.reach();
        shutdownGame();

        const HighScoreEntry top = tableTop(GameMode::Timed);
        if (place.storedName) {
            EXPECT_EQ(top.score, place.score);
            EXPECT_EQ(std::string(top.name, 9), place.storedName);
        } else {
            EXPECT_EQ(top.score, 0);
        }
        restoreSaved();
        EXPECT_EQ(game.gameMode, GameMode::Timed);
        EXPECT_EQ(game.score, 0);
        EXPECT_EQ(game.timeLeft, 50.0f);
    }
}
