// The frame is drawn only around the part of it that changes nothing (white
// mask, black picture), and the board only where the frame lets it show: the
// window must come out exactly as when the whole frame and the whole board
// are drawn, in both window sizes and with both sets of pictures.
#include <gtest/gtest.h>

#include <string>

#include "assets/assets.h"
#include "game/game.h"
#include "support/gl_harness.h"

using namespace harness;

namespace {

class FrameStrips : public ::testing::TestWithParam<std::tuple<bool, bool>> {
protected:
    void TearDown() override { closeTestWindow(); }
};

TEST_P(FrameStrips, SamePixelsAsTheWholeFrame) {
    const bool full = std::get<0>(GetParam()), realArt = std::get<1>(GetParam());
    const std::string data = realArt ? realDataDir() : syntheticDataDir();
    if (data.empty()) GTEST_SKIP() << "the game data has not been generated yet (build the game_data target)";
    const ScreenGeometry& g = layoutGeometry(full ? Layout::FullScreen : Layout::Windowed);
    const int width = g.width, height = g.height;
    std::string why;
    ASSERT_TRUE(openTestWindow(width, height, &why)) << why;
    ASSERT_TRUE(startUp(data));
    ui.fullScreenActive = full;
    renderFrame();
    game.fallOffset = 0.0f;
    ui.screen = Screen::Playing;
    fillBoard();
    scene.shownScore = 1734.0f;

    const TexelRect opening = frameOpening;
    ASSERT_LT(opening.left, opening.right) << "the frame's pictures leave the board uncovered";
    ASSERT_LT(opening.bottom, opening.top);
    const Image strips = renderFrame();
    frameOpening.right = opening.left - 1;      // no see-through part: the whole frame
    frameOpening.outerRight = opening.outerLeft - 1;  // and the whole board below it
    const Image whole = renderFrame();
    frameOpening = opening;
    EXPECT_EQ(countDifferences(strips, whole, 0, outputPath(full ? "strips800.png" : "strips640.png")), 0);
    // The strips skip a good part of the window.
    const double skipped = static_cast<double>(opening.right - opening.left) * (opening.top - opening.bottom) /
                           (static_cast<double>(opening.textureWidth) * opening.textureHeight);
    EXPECT_GT(skipped, 0.25);
    EXPECT_LT(opening.outerRight - opening.outerLeft + 1, opening.textureWidth) << "the board is drawn narrower";
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, FrameStrips,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<bool, bool>>& info) {
                             return std::string(std::get<0>(info.param) ? "FullScreen800" : "Windowed640") +
                                    (std::get<1>(info.param) ? "RealArt" : "MadeUpArt");
                         });

}  // namespace
