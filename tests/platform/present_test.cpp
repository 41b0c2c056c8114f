// What the back buffer holds after each way of presenting: boxes copied to
// the window leave it as drawn (age 1); a swap's age counts swaps only, so
// after copies it is trusted only as far as the swaps since.
#include <gtest/gtest.h>

#include "platform/platform_local.h"

namespace {

struct Window {
    bool copies = false;  // the window system copies boxes
    int age = 0;          // what it tells of a swapped buffer
    int copied = 0, swapped = 0, damageBoxes = 0;
};
Window window;

const PresentCalls Simulated = {
    [] { return window.age; }, [] { return window.copies; },
    [](const WindowBox*, int count) { window.copied += count; },
    [](const WindowBox* damage, int count) {
        ++window.swapped;
        window.damageBoxes = damage ? count : -1;
    },
    [] { return true; }};

struct Step {
    bool copies;
    int told;       // the age the window system tells
    int boxes;      // presented (below zero: the whole frame)
    bool lost;      // the window's picture was lost before
    int copied;     // boxes copied by the present
    int damage;     // boxes named to a swap, -1 for the whole frame, 0 for no swap
    int age;        // the age for the next frame
};

// One window system that copies boxes for a while, then swaps.
const Step Steps[] = {
    {false, 2, 3, false, 0, 3, 2},   // swapped with its damage; never copied: the age as told
    {true, 2, 2, false, 2, 0, 1},    // boxes copied: the back buffer as drawn
    {true, 2, -1, false, 1, 0, 1},   // a whole frame copied whole
    {true, 2, 1, true, 1, 0, 1},     // the window lost its picture: copied whole
    {false, 1, 2, false, 0, 2, 1},   // one swap since the copies: age 1 holds
    {false, 3, 2, false, 0, 2, 0},   // two swaps since: age 3 is older than they are
    {false, 3, 2, false, 0, 2, 3},   // three: it holds again
    {false, 3, 2, true, 0, -1, 3},   // the window lost its picture: swapped whole
};

TEST(Present, TheBackBufferAgeFollowsTheWayFramesArePresented) {
    const PresentCalls saved = presentCalls;
    presentCalls = Simulated;
    const WindowBox boxes[3] = {{0, 0, 8, 8}, {20, 0, 8, 8}, {40, 0, 8, 8}};
    int row = 0;
    for (const Step& step : Steps) {
        window.copies = step.copies, window.age = step.told;
        window.copied = window.swapped = window.damageBoxes = 0;
        if (step.lost) frontBufferLost();
        presentFrame(boxes, step.boxes);
        EXPECT_EQ(window.copied, step.copied) << "row " << row;
        EXPECT_EQ(window.swapped ? window.damageBoxes : 0, step.damage) << "row " << row;
        EXPECT_EQ(backBufferAge(), step.age) << "row " << row;
        ++row;
    }
    presentCalls = saved;
}

}  // namespace
