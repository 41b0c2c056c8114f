// A GL context for tests: an off-screen GLX pbuffer on the X display.
#pragma once

#include <cstddef>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

class TestGlContext {
public:
    TestGlContext(int width = 640, int height = 480);
    ~TestGlContext();
    TestGlContext(const TestGlContext&) = delete;
    TestGlContext& operator=(const TestGlContext&) = delete;

    bool ok() const { return current_; }
    const char* problem() const { return problem_; }

    // The colour buffer as RGB bytes, bottom row first.
    std::vector<uint8_t> readPixels() const;
    const uint8_t* pixel(const std::vector<uint8_t>& pixels, int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * width_ + x) * 3];
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    void* display_ = nullptr;
    unsigned long pbuffer_ = 0;
    void* context_ = nullptr;
    bool current_ = false;
    const char* problem_ = "";
};

// A test with its own fresh GL context.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        gl = std::make_unique<TestGlContext>();
        ASSERT_TRUE(gl->ok()) << gl->problem();
    }
    void TearDown() override { gl.reset(); }
    std::unique_ptr<TestGlContext> gl;
};
