// A long random game of the rules: clicks, drags, hints, pauses, mode changes
// and new games at random frame times, with the board's invariants checked
// after every frame and a check now and then that the game, left alone,
// comes to rest on a board that takes a move.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "game/driver.h"
#include "support/board.h"
#include "support/sound_log.h"
#include "game/game.h"

namespace {

constexpr long TargetFrames = 2000000;
constexpr int IdleFrameLimit = 40000;  // enough for a drain and a banner at the slowest frame time

struct Figures {
    long frames = 0;
    long moves = 0;        // swaps started by clicks and drags
    long passes = 0;       // scoring passes, the first of a chain included
    long cascades = 0;     // passes that were a chain's second or later
    long levels = 0;
    long gameOvers = 0;
    long hints = 0;
    long newGames = 0;
    long modeChanges = 0;
    long restChecks = 0;   // idle periods that ended on a board that took a move
};

class Soak {
public:
    explicit Soak(unsigned seed) : random_(seed) {}

    // Plays until the target; returns an empty string or what went wrong.
    std::string run();
    const Figures& figures() const { return figures_; }

private:
    std::mt19937 random_;
    Figures figures_;
    float clockMs_ = 0.0f;
    float frameMs_ = 10.0f;
    std::string fault_;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    void fail(const std::string& what);
    bool frame();
    bool frames(int count);
    void countSwap(bool before);
    bool hint();
    bool afterGameOver();
    bool restCheck();
    bool checkInvariants();
};

Soak* current = nullptr;


void Soak::fail(const std::string& what) {
    if (!fault_.empty()) return;
    std::ostringstream out;
    out << "frame " << figures_.frames << ": " << what << " (mode " << static_cast<int>(game.gameMode) << ", level "
        << game.level << ", score " << game.score << ", screen " << static_cast<int>(ui.screen) << ", speed "
        << scene.speedFactor << ")";
    fault_ = out.str();
}

bool inField(const Cell& cell) {
    return cell.column >= 0 && cell.column < BoardColumns && cell.row >= FirstFieldRow && cell.row <= LastFieldRow;
}

using boards::boardFull;

bool lineOnField() {
    const auto& b = game.board;
    for (int r = FirstFieldRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) {
            const int v = b[r][c];
            if (v == 0) continue;
            if (c + 2 < BoardColumns && b[r][c + 1] == v && b[r][c + 2] == v) return true;
            if (r + 2 <= LastFieldRow && b[r + 1][c] == v && b[r + 2][c] == v) return true;
        }
    return false;
}

// The neighbour of the hinted gem that completes the line, or the gem itself.
Cell partnerOfHint(const Cell& at) {
    static const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps) {
        const Cell to{at.column + step[0], at.row + step[1]};
        if (!inField(to) || !inField(at)) continue;
        int32_t& a = game.board[at.row][at.column];
        int32_t& b = game.board[to.row][to.column];
        std::swap(a, b);
        const bool line = lineOnField();
        std::swap(a, b);
        if (line) return to;
    }
    return at;
}

int comboRequests() {
    return countSampleRequests(Sample::Combo) + countSampleRequests(Sample::Combo2) +
           countSampleRequests(Sample::Combo3);
}

bool Soak::checkInvariants() {
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c)
            if (game.board[r][c] < 0 || game.board[r][c] > GemKinds) {
                fail("cell " + std::to_string(c) + "," + std::to_string(r) + " holds " + std::to_string(game.board[r][c]));
                return false;
            }
    for (int c = 0; c < BoardColumns; ++c)
        if (game.board[FloorRow][c] != 0 && game.board[FloorRow][c] != ClosedFloor) {
            fail("floor cell " + std::to_string(c) + " holds " + std::to_string(game.board[FloorRow][c]));
            return false;
        }
    if (turn.removalList[0].used) {
        fail("removal slot 0 used");
        return false;
    }
    for (int slot = 1; slot < RemovalSlots; ++slot) {
        const RemovalEntry& entry = turn.removalList[slot];
        if (entry.used && !inField(Cell{entry.column, entry.row})) {
            fail("removal slot " + std::to_string(slot) + " names a cell off the field");
            return false;
        }
        if (entry.used && !turn.removing) {
            fail("removal slot in use with no removal running");
            return false;
        }
    }
    for (const ScorePopup& popup : scene.scorePopups) {
        if (!popup.active) {
            if (popup.progress != 0.0f) {
                fail("idle popup with progress");
                return false;
            }
            continue;
        }
        if (!(popup.progress >= 0.0f && popup.progress < 1.0f + 0.005f * 5.0f) || popup.x < 200 ||
            popup.x > 52 * 7 + 260 || popup.y < 450 - 52 * 8 || popup.y > 480 - 52 || popup.points <= 0) {
            fail("popup outside its range");
            return false;
        }
    }
    if (turn.firstSelected && !inField(turn.firstCell)) {
        fail("selection off the field");
        return false;
    }
    if (turn.secondSelected) {
        const Cell& a = turn.firstCell;
        const Cell& b = turn.secondCell;
        if (!inField(b) || std::abs(a.column - b.column) + std::abs(a.row - b.row) != 1) {
            fail("swap partner off the field or not a neighbour");
            return false;
        }
    }
    if (!std::isfinite(game.timeLeft) || !std::isfinite(scene.shownScore) || !std::isfinite(game.barLength)) {
        fail("a readout is not a number");
        return false;
    }
    return true;
}

// One frame at the current frame time; the scene measures it as the game does.
bool Soak::frame() {
    if (!fault_.empty()) return false;
    clockMs_ += frameMs_ * std::uniform_real_distribution<float>(0.8f, 1.2f)(random_);
    const int32_t scoreBefore = game.score;
    const int32_t levelBefore = game.level;
    const Screen screenBefore = ui.screen;
    clearSoundLog();
    FrameInput input{};
    input.ticks = std::llround(static_cast<double>(clockMs_) * 1000.0);
    stepFrame(input);
    ++figures_.frames;

    const int passes = comboRequests();
    figures_.passes += passes;
    figures_.cascades += countSampleRequests(Sample::Combo2) + countSampleRequests(Sample::Combo3);
    if (game.level > levelBefore && game.score >= scoreBefore) ++figures_.levels;

    if (game.score > scoreBefore) {
        if (passes == 0) fail("the score rose without a scoring pass");
        if (passes == 1 && game.score - scoreBefore != game.lastPassPoints)
            fail("the score rose by " + std::to_string(game.score - scoreBefore) + ", the pass made " +
                 std::to_string(game.lastPassPoints));
    } else if (game.score < scoreBefore) {
        if (!(screenBefore == Screen::Playing && ui.screen == Screen::HighScores && game.score == 0))
            fail("the score fell without a hint or a new game");
    }
    if (!checkInvariants()) return false;
    if (ui.screen == Screen::NameEntry || ui.screen == Screen::HighScores) return afterGameOver();
    return fault_.empty();
}

bool Soak::frames(int count) {
    for (int i = 0; i < count; ++i)
        if (!frame()) return false;
    return true;
}

// What the player does on the high-score screens: a new game of the same mode.
bool Soak::afterGameOver() {
    ++figures_.gameOvers;
    ui.screen = Screen::Playing;
    newGame();
    if (game.score != 0) fail("a new game kept the score");
    return fault_.empty();
}

void Soak::countSwap(bool before) {
    if (!before && turn.swapActive && !turn.swapReturning) ++figures_.moves;
}

bool Soak::hint() {
    if (ui.screen != Screen::Playing) return true;
    const int32_t before = game.score;
    useHint();
    ++figures_.hints;
    if (game.gameMode == GameMode::Levels) {
        const int32_t expected = before - 50 < game.levelBase ? game.levelBase : before - 50;
        if (game.score != expected) fail("a hint charged the wrong amount");
        if (game.score < game.levelBase) fail("a hint left the score below the level's base");
    } else if (game.score != before) {
        fail("a hint in the timed mode charged points");
    }
    return fault_.empty();
}

// Left alone, the game comes to rest: a full field with no line waiting and
// a move on it, where a click selects a gem and a click on its neighbour
// starts the swap. A game that ends on the way is fine too.
bool Soak::restCheck() {
    ui.paused = 0;
    drive::release();
    for (int n = 0; n < IdleFrameLimit; ++n) {
        const bool atRest = ui.screen == Screen::Playing && boardFull() && !lineOnField() && !turn.swapActive &&
                            !turn.swapReturning && !turn.removing && game.boardEvent == BoardEvent::None &&
                            !game.gameOverDrain && !game.timedDrain;
        if (atRest && findMove()) {
            const Cell target{static_cast<int32_t>(game.hintCell[0]), static_cast<int32_t>(game.hintCell[1])};
            if (turn.firstSelected) drive::click(turn.firstCell.column, turn.firstCell.row);  // lets the gem go
            drive::click(target.column, target.row);
            if (!turn.firstSelected || turn.firstCell.column != target.column || turn.firstCell.row != target.row) {
                fail("a settled board with a move did not take a click");
                return false;
            }
            const Cell partner = target.column > 0 ? Cell{target.column - 1, target.row} : Cell{1, target.row};
            drive::click(partner.column, partner.row);
            if (!turn.swapActive) {
                fail("a settled board with a move did not start a swap");
                return false;
            }
            ++figures_.moves;
            ++figures_.restChecks;
            return true;
        }
        const long overs = figures_.gameOvers;
        if (!frame()) return false;
        if (figures_.gameOvers != overs) return true;
    }
    fail("the game did not come to rest on a board with a move in " + std::to_string(IdleFrameLimit) + " frames");
    return false;
}

std::string Soak::run() {
    current = this;
    resetGameState();
    clearSoundLog();
    setSoundBackend(nullptr);
    settings.soundOn = 1;
    settings.musicOn = 0;
    ui.screen = Screen::Playing;
    ui.mouseButtonUp = 1;
    ui.cursorColumn = NoCursorCell;
    ui.cursorRow = NoCursorCell;
    drive::newGameOf(GameMode::Levels);

    long nextRestCheck = 5000;
    while (fault_.empty() && figures_.frames < TargetFrames) {
        if (figures_.frames >= nextRestCheck) {
            restCheck();
            nextRestCheck = figures_.frames + 5000 + pick(20000);
            continue;
        }
        const int action = pick(100);
        const int column = pick(BoardColumns);
        const int row = FirstFieldRow + pick(8);
        const bool before = turn.swapActive;
        if (action < 25) {
            // A click, now and then off the field or on the spawn row.
            if (chance(0.1)) {
                drive::click(pick(3) == 0 ? NoCursorCell : pick(12) - 2, pick(12) - 1);
            } else {
                drive::click(column, row);
            }
        } else if (action < 40) {
            // A second click next to the selected gem (or anywhere near it).
            const Cell at = turn.firstSelected ? turn.firstCell : Cell{column, row};
            const int d = pick(4);
            drive::click(at.column + (d == 0) - (d == 1), at.row + (d == 2) - (d == 3));
        } else if (action < 55) {
            // A drag onto a neighbour, sometimes past it, sometimes held.
            drive::press(column, row);
            const int d = pick(4);
            const int reach = chance(0.1) ? 2 : 1;
            drive::moveTo(column + reach * ((d == 0) - (d == 1)), row + reach * ((d == 2) - (d == 3)));
            if (!chance(0.2)) drive::release();
        } else if (action < 58) {
            hint();
        } else if (action < 90) {
            // A move that makes a line, by clicks or by a drag.
            if (findMove()) {
                const Cell at{static_cast<int32_t>(game.hintCell[0]), static_cast<int32_t>(game.hintCell[1])};
                const Cell to = partnerOfHint(at);
                drive::press(at.column, at.row);
                if (chance(0.5)) {
                    drive::release();
                    drive::press(to.column, to.row);
                } else {
                    drive::moveTo(to.column, to.row);
                }
                drive::release();
            }
        } else if (action < 93) {
            if (game.gameMode == GameMode::Timed && ui.screen == Screen::Playing) ui.paused = ui.paused ? 0 : 1;
        } else if (action < 95) {
            // Another frame time: from a fast machine to a slow one.
            frameMs_ = std::uniform_real_distribution<float>(2.0f, 40.0f)(random_);
        } else if (action < 97) {
            // The hint finds no move while the game holds still.
            frames(pick(5));
        } else if (action < 98 || !chance(0.15)) {
            frames(pick(3));
        } else {
            if (chance(0.3)) {
                ++figures_.modeChanges;
                drive::newGameOf(game.gameMode == GameMode::Levels ? GameMode::Timed : GameMode::Levels);
            } else {
                ++figures_.newGames;
                newGame();
            }
            if (game.score != 0) fail("a new game kept the score");
        }
        countSwap(before);
        if (!checkInvariants()) break;
        frames(1 + pick(pick(4) == 0 ? 200 : 30));
    }
    current = nullptr;
    return fault_;
}

unsigned soakSeed() {
    const char* text = std::getenv("VORTIQ_SOAK_SEED");
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : 20240611u;
}

TEST(Soak, TwoMillionFramesOfRandomPlayKeepTheRules) {
    const unsigned seed = soakSeed();
    srand(seed);
    Soak soak(seed);
    const std::string fault = soak.run();
    const Figures& f = soak.figures();
    std::printf(
        "soak (seed %u): %ld frames, %ld moves, %ld scoring passes, %ld cascades, %ld levels, %ld game overs, "
        "%ld hints, %ld new games, %ld mode changes, %ld rest checks\n",
        seed, f.frames, f.moves, f.passes, f.cascades, f.levels, f.gameOvers, f.hints, f.newGames, f.modeChanges,
        f.restChecks);
    EXPECT_EQ(fault, "") << "seed " << seed;
    EXPECT_GE(f.frames, TargetFrames);
    // The random play reaches every part of the game, not just the first board.
    EXPECT_GT(f.moves, 5000);
    EXPECT_GT(f.cascades, 300);
    EXPECT_GT(f.levels, 10);
    EXPECT_GT(f.gameOvers, 10);
    EXPECT_GT(f.restChecks, 20);
}

}  // namespace
