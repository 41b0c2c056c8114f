// Game controllers: the stick's thresholds, the repeat of a held direction,
// and SDL's virtual controller plugged in and out while the queue runs.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform_local.h"

namespace {

uint32_t fakeNow = 0;
uint32_t fakeClock() { return fakeNow; }

// The pad messages waiting, as "+Right" (down), "-Right" (up), "*Up" (repeat).
std::string padMessages() {
    static const char* const names[] = {"A", "B", "X", "Y", "Back", "Start", "Up", "Down", "Left", "Right"};
    std::string out;
    WindowMessage m;
    while (nextPadMessage(&m))
        out += std::string(m.repeat ? "*" : m.kind == MessageKind::PadButtonDown ? "+" : "-") + names[m.key] + " ";
    return out;
}

std::string stick(SDL_GameControllerAxis axis, int16_t value) {
    SDL_Event event = {};
    event.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.axis = axis;
    event.caxis.value = value;
    EXPECT_TRUE(padEvent(event));
    return padMessages();
}

class Pads : public testing::Test {
protected:
    void SetUp() override {
        stopControllers();
        fakeNow = 1000;
        setPadClock(fakeClock);
    }
    void TearDown() override {
        platformQuit();
        setPadClock(nullptr);
    }
    // SDL's virtual controller; its device index, below 0 when SDL made none.
    static int attach() {
        return SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                         SDL_CONTROLLER_BUTTON_MAX, 0);
    }
    static void press(int device, SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device)), button,
                                     down ? 1 : 0);
    }
    static void pump() {
        WindowMessage message;
        while (peekMessage(&message)) dispatchMessage(message);
    }
};

}  // namespace

TEST_F(Pads, TheStickPushesBeyondHalfAndLetsGoBelowAQuarterAndRepeats) {
    EXPECT_EQ(stick(SDL_CONTROLLER_AXIS_LEFTX, 12000), "");
    EXPECT_EQ(stick(SDL_CONTROLLER_AXIS_LEFTX, 20000), "+Right ");
    EXPECT_EQ(stick(SDL_CONTROLLER_AXIS_LEFTX, 12000), "") << "between the thresholds it stays pushed";
    EXPECT_EQ(stick(SDL_CONTROLLER_AXIS_LEFTX, -30000), "-Right +Left ");
    EXPECT_EQ(stick(SDL_CONTROLLER_AXIS_LEFTX, 3000), "-Left ");
    EXPECT_EQ(stick(SDL_CONTROLLER_AXIS_RIGHTX, 32767), "") << "the right stick moves nothing";
    EXPECT_EQ(stick(SDL_CONTROLLER_AXIS_LEFTY, -32768), "+Up ");
    fakeNow += PadRepeatDelayMs - 1;
    EXPECT_EQ(padMessages(), "");
    fakeNow += 1;
    EXPECT_EQ(padMessages(), "*Up ");
    fakeNow += PadRepeatIntervalMs;
    EXPECT_EQ(padMessages(), "*Up ");
    EXPECT_EQ(stick(SDL_CONTROLLER_AXIS_LEFTY, 0), "-Up ");
    fakeNow += 10 * PadRepeatDelayMs;
    EXPECT_EQ(padMessages(), "");
}

// Each pad's d-pad and each stick hold a direction of their own: letting go
// of one, or pulling another pad out, leaves the other's repeat running.
TEST_F(Pads, EachPadAndStickHoldsItsOwnDirection) {
    auto send = [](uint32_t type, SDL_JoystickID pad, int input, int16_t value) {
        SDL_Event event = {};
        event.type = type;
        if (type == SDL_CONTROLLERAXISMOTION) event.caxis.which = pad, event.caxis.axis = input, event.caxis.value = value;
        else if (type == SDL_CONTROLLERDEVICEREMOVED) event.cdevice.which = pad;
        else event.cbutton.which = pad, event.cbutton.button = input;
        padEvent(event);
        return padMessages();
    };
    EXPECT_EQ(send(SDL_CONTROLLERBUTTONDOWN, 1, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0), "+Right ");
    EXPECT_EQ(send(SDL_CONTROLLERAXISMOTION, 1, SDL_CONTROLLER_AXIS_LEFTY, 30000), "+Down ");
    EXPECT_EQ(send(SDL_CONTROLLERBUTTONDOWN, 2, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0), "+Left ");
    EXPECT_EQ(send(SDL_CONTROLLERAXISMOTION, 1, SDL_CONTROLLER_AXIS_LEFTY, 31000), "") << "a jitter changes nothing";
    EXPECT_EQ(send(SDL_CONTROLLERBUTTONUP, 1, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0), "-Right ");
    EXPECT_EQ(send(SDL_CONTROLLERDEVICEREMOVED, 2, 0, 0), "");
    fakeNow += PadRepeatDelayMs;
    EXPECT_EQ(padMessages(), "*Down ") << "pad 1's stick still held";
}

std::vector<WindowMessage> received;
void keep(const WindowMessage& message) {
    if (message.kind == MessageKind::PadButtonDown || message.kind == MessageKind::PadButtonUp)
        received.push_back(message);
}

TEST_F(Pads, AVirtualControllerPluggedInAndOutWhilePlaying) {
    ASSERT_TRUE(startVideo(keep));
    const int device = attach();
    ASSERT_GE(device, 0) << SDL_GetError();
    pump();
    EXPECT_EQ(openControllerCount(), 1);
    press(device, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    received.clear();
    pump();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].key, static_cast<int32_t>(PadButton::Left));

    // Pulled out with the direction held: closed, and nothing repeats.
    ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0);
    pump();
    EXPECT_EQ(openControllerCount(), 0);
    fakeNow += 10 * PadRepeatDelayMs;
    received.clear();
    pump();
    EXPECT_TRUE(received.empty());

    const int again = attach();
    pump();
    EXPECT_EQ(openControllerCount(), 1) << "plugged in again, it works at once";
    SDL_JoystickDetachVirtual(again);
    pump();
}

// The loop resting between frames waits for messages; a held direction
// repeats on time, with no event to wake it, so the wait must end for it.
TEST_F(Pads, AWaitForMessagesEndsWhenAHeldDirectionRepeats) {
    setPadClock(nullptr);
    ASSERT_TRUE(startVideo(keep));
    const int device = attach();
    ASSERT_GE(device, 0) << SDL_GetError();
    pump();
    press(device, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    received.clear();
    pump();
    ASSERT_EQ(received.size(), 1u);

    // Two repeats, each within the wait: far sooner than its 5 s timeout.
    const uint32_t start = SDL_GetTicks();
    int repeats = 0;
    while (repeats < 2 && SDL_GetTicks() - start < 4000) {
        if (!waitForMessage(5000)) break;
        WindowMessage message;
        while (peekMessage(&message))
            if (message.kind == MessageKind::PadButtonDown && message.repeat) ++repeats;
    }
    EXPECT_EQ(repeats, 2);
    EXPECT_LT(SDL_GetTicks() - start, 2000u) << "the waits ran into their timeout";

    // Let go, nothing repeats: the wait runs to its timeout.
    press(device, SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    pump();
    EXPECT_FALSE(waitForMessage(PadRepeatDelayMs + 100));
    SDL_JoystickDetachVirtual(device);
    pump();
}
