// Drawing a frame changes no state: the rules' step has run before it, and
// the draw only reads what the step left, on every kind of frame.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "game/game.h"
#include "support/gl_harness.h"
#include "platform/platform.h"
#include "render/render.h"

using namespace harness;

namespace {

// Every byte of the state the rules and the drawing share.
std::vector<uint8_t> stateBytes() {
    std::vector<uint8_t> bytes;
    auto add = [&bytes](const void* data, size_t size) {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
    };
    add(&game, sizeof game);
    add(&turn, sizeof turn);
    add(&scene, sizeof scene);
    add(&ui, sizeof ui);
    add(&scoreBook, sizeof scoreBook);
    add(&settings, sizeof settings);
    add(&frameView, sizeof frameView);
    return bytes;
}

TEST(DrawScene, ReadsTheStateWithoutChangingIt) {
    std::string why;
    ASSERT_TRUE(openTestWindow(640, 480, &why)) << why;
    ASSERT_TRUE(startUp(syntheticDataDir()));
    const std::vector<std::function<void()>> frames = {
        [] { fillBoard(); },
        [] {
            turn.spinning = 1;  // a spinning gem and a running swap
            turn.spinCell = Cell{2, 3};
            turn.swapActive = 1;
            turn.firstCell = Cell{4, 4};
            turn.secondCell = Cell{5, 4};
            turn.firstMotion.vx = 0.02f;
            turn.secondMotion.vx = -0.02f;
        },
        [] { startScorePopup(300, 200, 120); },
        [] {
            game.boardEvent = BoardEvent::LevelComplete;
            scene.bannerProgress = 0.4f;
        },
        [] { ui.screen = Screen::Options; },
        [] { ui.screen = Screen::HighScores; },
        [] {
            ui.screen = Screen::Playing;
            ui.paused = 1;
        },
    };
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i]();
        scene.speedFactor = 1.05f;
        scene.measureCount = 1;
        stepFrame(FrameInput{});
        const std::vector<uint8_t> before = stateBytes();
        drawScene();
        EXPECT_TRUE(stateBytes() == before) << "frame " << i;
    }
    closeTestWindow();
}

}  // namespace
