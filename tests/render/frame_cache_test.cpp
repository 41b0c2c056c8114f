// A frame drawn over the picture the back buffer holds, with only the boxes
// that changed since drawn again, must be the frame drawn whole, to the
// pixel: through played moves (swaps, removals, falls, spins, popups, the
// counter and the bar), with the mouse's light moving, screens, buttons and
// cells changing between frames. Each runs over a simulated window system:
// one that does not tell the back buffer's age (the back buffer lost now and
// then), chains of buffers of age 0 to 3, and one that copies the changed
// boxes to the window (which must then show the whole frame too).
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "platform/platform_local.h"
#include "render/render.h"
#include "render/render_local.h"
#include "support/board.h"
#include "support/gl_harness.h"

using namespace harness;

namespace {

bool inLine(int column, int row) {
    const int32_t kind = game.board[row][column];
    auto same = [&](int c, int r) {
        return c >= 0 && c < BoardColumns && r >= FirstFieldRow && r <= LastFieldRow && game.board[r][c] == kind;
    };
    for (const auto& step : {std::make_pair(1, 0), std::make_pair(0, 1)}) {
        int run = 1;
        for (int k = 1; same(column + k * step.first, row + k * step.second); ++k) ++run;
        for (int k = 1; same(column - k * step.first, row - k * step.second); ++k) ++run;
        if (run >= 3) return true;
    }
    return false;
}

// Two neighbouring cells whose swap makes a line; false on a board without a move.
bool findSwap(Cell* first, Cell* second) {
    for (int row = FirstFieldRow; row <= LastFieldRow; ++row)
        for (int column = 0; column < BoardColumns; ++column)
            for (const auto& step : {std::make_pair(1, 0), std::make_pair(0, 1)}) {
                const int c = column + step.first, r = row + step.second;
                if (c >= BoardColumns || r > LastFieldRow) continue;
                std::swap(game.board[row][column], game.board[r][c]);
                const bool line = inLine(column, row) || inLine(c, r);
                std::swap(game.board[row][column], game.board[r][c]);
                if (line) {
                    *first = Cell{column, row};
                    *second = Cell{c, r};
                    return true;
                }
            }
    return false;
}

// Paints the back buffer over (or only the strip of it from the left edge
// `width` pixels wide), as a window system that does not keep it would leave it.
void loseBackBuffer(int width = 0) {
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    if (width > 0) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, width, 10000);
    }
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

// Writes a picture read with readFrame back into the back buffer.
void writeFrame(const Image& image) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_TEXTURE_2D), glDisable(GL_BLEND), glDisable(GL_DEPTH_TEST), glDisable(GL_SCISSOR_TEST);
    glDisable(GL_LIGHTING), glDisable(GL_DITHER), glDisable(GL_FOG), glDisable(GL_ALPHA_TEST);
    glViewport(0, 0, image.width, image.height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, image.width, 0.0, image.height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2i(0, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

// The simulated window systems.
enum class Presenting { NoAge, Age0, Age1, Age2, Age3, CopiedBoxes };

struct Chain {
    Presenting way;
    std::vector<Image> presented;  // the pictures swapped to the window, the last one last
    Image window;                  // what the window shows
};
Chain chain;

int chainAge() {
    if (chain.way == Presenting::NoAge) return BufferAgeUnknown;
    const int age = static_cast<int>(chain.way) - static_cast<int>(Presenting::Age0);
    return static_cast<int>(chain.presented.size()) >= age ? age : 0;
}

void copyBoxes(const WindowBox* boxes, int count) {
    const Image back = readFrame();
    if (chain.window.rgb.size() != back.rgb.size()) chain.window = back;
    for (int i = 0; i < count; ++i)
        for (int y = std::max(boxes[i].y, 0); y < std::min(boxes[i].y + boxes[i].h, back.height); ++y)
            for (int x = std::max(boxes[i].x, 0); x < std::min(boxes[i].x + boxes[i].w, back.width); ++x)
                for (int c = 0; c < 3; ++c) {
                    const size_t at = (static_cast<size_t>(y) * back.width + x) * 3 + c;
                    chain.window.rgb[at] = back.rgb[at];
                }
}

// The next buffer of the chain comes to the back: the picture swapped `age`
// frames ago, or one painted over (age 0). Without an age the back buffer is
// left as it was, as Xvfb leaves it.
void swapChain(const WindowBox*, int) {
    chain.presented.push_back(readFrame());
    chain.window = chain.presented.back();
    if (chain.way == Presenting::NoAge) return;
    const int age = chainAge();
    if (age == 0) loseBackBuffer();
    else writeFrame(chain.presented[chain.presented.size() - age]);
    if (chain.presented.size() > 4) chain.presented.erase(chain.presented.begin());
}

const PresentCalls ChainCalls = {chainAge, [] { return chain.way == Presenting::CopiedBoxes; }, copyBoxes, swapChain,
                                 [] { return true; }};

using Param = std::tuple<bool, Presenting>;

struct ParamName {
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        static const char* const ways[] = {"NoAge", "Age0", "Age1", "Age2", "Age3", "CopiedBoxes"};
        return std::string(std::get<0>(info.param) ? "FullScreen800" : "Windowed640") + "_" +
               ways[static_cast<int>(std::get<1>(info.param))];
    }
};

class FrameCache : public ::testing::TestWithParam<Param> {
protected:
    void SetUp() override { start(0); }
    bool full() const { return std::get<0>(GetParam()); }
    Presenting way() const { return std::get<1>(GetParam()); }
    // The layout of the parameter in a window `border` pixels wider than it,
    // fitted as the game fits it: centred, the border left and right.
    void start(int border) {
        const std::string data = realDataDir();
        if (data.empty()) GTEST_SKIP() << "the game data has not been generated yet (build the game_data target)";
        const ScreenGeometry& g = layoutGeometry(full() ? Layout::FullScreen : Layout::Windowed);
        std::string why;
        ASSERT_TRUE(openTestWindow(g.width + border, g.height, &why)) << why;
        ASSERT_TRUE(startUp(data));
        boards::settledBoard(7);
        ui.fullScreenActive = full();
        saved = presentCalls;
        presentCalls = ChainCalls;
        chain = Chain{way(), {}, {}};
        if (border > 0) {
            ui.fit = fitLayout(g.width, g.height, g.width + border, g.height, g.width + border, g.height);
            glViewport(ui.fit.pictureX, ui.fit.pictureY, ui.fit.pictureWidth, ui.fit.pictureHeight);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            gluPerspective(45.0, static_cast<double>(g.width) / g.height, static_cast<double>(0.1f), 100.0);
            glMatrixMode(GL_MODELVIEW);
        }
        renderFrame();
        presentScene();
    }
    // Plays moves of the board until it settles again, the mouse wandering over it.
    void playMoves(int moves) {
        for (int move = 0; move < moves; ++move) {
            Cell first, second;
            ASSERT_TRUE(findSwap(&first, &second)) << "move " << move;
            boardClickRules(first.column, first.row);
            boardClickRules(second.column, second.row);
            for (int step = 0; step < 150 && (step < 3 || turn.swapActive || turn.removing || !boards::fieldFull());
                 ++step) {
                if (step % 9 == 0) {
                    ui.cursorColumn = (move * 3 + step / 9) % BoardColumns;
                    ui.cursorRow = FirstFieldRow + (step / 9) % 8;
                }
                compareFrame("a played move");
            }
        }
    }
    void TearDown() override {
        frameCacheUsed = true;
        if (saved.bufferAge) presentCalls = saved;
        closeTestWindow();
    }

    // One frame of the rules, drawn over the last frame's picture, against
    // the same state drawn whole; returns how the first was drawn.
    // Presented as the game presents it; a window that is shown boxes must
    // show the whole frame.
    int compareFrame(const char* what, float speed = 1.5f) {
        if (frames % 13 == 12 && way() == Presenting::NoAge) loseBackBuffer();
        const Image kept = renderFrame(speed);
        const int drawing = lastFrameDrawing;
        frameCacheUsed = false;
        drawScene();
        const Image drawnWhole = readFrame();
        frameCacheUsed = true;
        writeFrame(kept);
        presentScene();
        int differing = countDifferences(kept, drawnWhole, 0);
        if (way() == Presenting::CopiedBoxes) differing += countDifferences(chain.window, drawnWhole, 0);
        if (differing > 0 && ++failures <= 3)
            ADD_FAILURE() << what << ", frame " << frames << ": " << differing << " pixels differ (drawn "
                          << (drawing == WholeFrame ? "whole" : std::to_string(drawing) + " boxes") << ")";
        ++frames;
        if (drawing == WholeFrame) ++whole;
        if (drawing > 0) ++redrawn;
        return drawing;
    }

    int frames = 0, whole = 0, redrawn = 0, failures = 0;
    PresentCalls saved = {};
};

TEST_P(FrameCache, PlayedMovesLookAsWholeFrames) {
    playMoves(3);
    EXPECT_EQ(failures, 0);
    if (way() == Presenting::Age0)
        EXPECT_EQ(whole, frames) << "a back buffer of age 0 is drawn whole";
    else
        EXPECT_GT(redrawn, frames / 2) << "most frames of a move draw boxes over the back buffer";
    EXPECT_GT(frames, 40);
}

// Changes made between frames, outside the rules' animations, each followed
// by a few frames.
TEST_P(FrameCache, ChangesBetweenFramesLookAsWholeFrames) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"a gem changes kind", [] { game.board[5][3] = game.board[5][3] % GemKinds + 1; }},
        {"a gem goes", [] { game.board[8][6] = 0; }},
        {"a popup starts", [] { startScorePopup(200, 300, 150); }},
        {"the score jumps", [] { game.score += 12345; }},
        {"the bar shrinks", [] { game.barLength *= 0.5f; }},
        {"a spin starts", [] {
             turn.spinning = 1;
             turn.spinCell = Cell{2, 3};
             turn.spinAngle = 40.0f;
         }},
        {"the key cursor shows", [] {
             ui.keyCursorShown = 1;
             moveKeyCursor(1, 1);
         }},
        {"a button lights", [] { ui.newGameButton = ButtonHighlighted; }},
        {"the options open", [] { ui.screen = Screen::Options; }},
        {"the options close", [] { ui.screen = Screen::Playing; }},
        {"the level goes up", [] { ++game.level; }},
        {"the game pauses", [] { ui.paused = 1; }},
        {"the game goes on", [] { ui.paused = 0; }},
        {"the backdrop changes", [] { game.backgroundKind = (game.backgroundKind + 1) % BackdropKinds; }},
    };
    for (const auto& change : changes) {
        change.second();
        for (int i = 0; i < 4; ++i) compareFrame(change.first);
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(whole, 4) << "the screens and the backdrop draw whole frames";
    if (way() != Presenting::Age0) {
        EXPECT_GT(redrawn, 6) << "gems, readouts, buttons and popups draw boxes";
    }
}

// A frame that finds the back buffer changed is drawn whole, and a context
// whose back buffer is never kept goes back to whole frames for good.
// Where the window system tells no age.
using FrameCacheWithoutAge = FrameCache;

TEST_P(FrameCacheWithoutAge, ABackBufferNotKeptDrawsWholeFrames) {
    // The second frame after start-up is the first with the depth test on.
    for (int i = 0; i < 2; ++i) {
        renderFrame(1.0f);
        presentScene();
    }
    ASSERT_NE(lastFrameDrawing, WholeFrame);
    auto lose = [&](int frames) {
        for (int i = 0; i < frames; ++i) {
            loseBackBuffer();
            EXPECT_EQ(compareFrame("the back buffer changed"), WholeFrame);
        }
    };
    lose(7);
    EXPECT_NE(compareFrame("the back buffer kept again"), WholeFrame)
        << "seven frames in a row without it are not enough to give up";
    lose(8);
    EXPECT_EQ(compareFrame("after giving up"), WholeFrame) << "eight frames in a row without it go back to whole frames";
    EXPECT_EQ(failures, 0);
}

// In a window wider than the layout the border around the picture is kept
// with it: frames drawn over it are whole frames, and a frame that finds
// only the border changed is drawn whole.
class FrameCacheWithBorder : public FrameCache {
protected:
    void SetUp() override { start(120); }
};

TEST_P(FrameCacheWithBorder, TheBorderIsKeptWithThePicture) {
    ASSERT_GT(ui.fit.pictureX, 0);
    playMoves(1);
    EXPECT_EQ(failures, 0);
    EXPECT_GT(redrawn, frames / 2);
    loseBackBuffer(ui.fit.pictureX);  // the left border strip alone
    EXPECT_EQ(compareFrame("the border painted over"), WholeFrame);
    EXPECT_EQ(failures, 0);
}

const auto Ways = ::testing::Combine(::testing::Bool(), ::testing::Values(Presenting::NoAge, Presenting::Age0,
                                                                           Presenting::Age1, Presenting::Age2,
                                                                           Presenting::Age3, Presenting::CopiedBoxes));
const auto WithoutAge = ::testing::Combine(::testing::Bool(), ::testing::Values(Presenting::NoAge));
INSTANTIATE_TEST_SUITE_P(BothLayouts, FrameCacheWithBorder, WithoutAge, ParamName());
INSTANTIATE_TEST_SUITE_P(BothLayouts, FrameCacheWithoutAge, WithoutAge, ParamName());
INSTANTIATE_TEST_SUITE_P(BothLayouts, FrameCache, Ways, ParamName());

}  // namespace
