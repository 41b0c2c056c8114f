// A GL context for the asset tests: the test window of tests/support, made
// afresh for each test, with the matrices a new context starts with.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/gl_harness.h"

class GlTest : public ::testing::Test {
protected:
    static constexpr int Width = 640, Height = 480;

    void SetUp() override { openContext(); }
    void TearDown() override { harness::closeTestWindow(); }

    // A new window and context (after closeTestWindow(), or the first).
    static void openContext();

    // The colour buffer as RGB bytes, bottom row first.
    static std::vector<uint8_t> readPixels() { return harness::readFrame().rgb; }
    static const uint8_t* pixel(const std::vector<uint8_t>& pixels, int x, int y) {
        return &pixels[(static_cast<size_t>(y) * Width + x) * 3];
    }
};
