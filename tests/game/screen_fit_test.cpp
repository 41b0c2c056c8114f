// The layout on screens of any size: the picture's place in the drawable,
// mouse points taken back to layout pixels, the window's opening size.
#include <gtest/gtest.h>

#include <string>

#include "game/game.h"
#include "support/screen_points.h"

namespace {

struct PictureRect {
    int x, y, width, height;
};

void expectPicture(const ScreenFit& fit, PictureRect expected) {
    EXPECT_EQ(fit.pictureX, expected.x);
    EXPECT_EQ(fit.pictureY, expected.y);
    EXPECT_EQ(fit.pictureWidth, expected.width);
    EXPECT_EQ(fit.pictureHeight, expected.height);
}

}  // namespace

// At whole factors the layout fills the window. Otherwise, too wide: bars
// left and right; too tall: bars above and below; the side that decides the
// scale is filled exactly, the other centred. Smaller than the layout: scaled
// down, never cut.
TEST(ScreenFit, ThePictureFillsTheSideThatDecidesTheScaleAndIsCentred) {
    const struct {
        int layoutWidth, layoutHeight, drawableWidth, drawableHeight;
        PictureRect picture;
        float scale;
    } cases[] = {
        {640, 480, 640, 480, {0, 0, 640, 480}, 1.0f},
        {640, 480, 1280, 960, {0, 0, 1280, 960}, 2.0f},
        {800, 600, 800, 600, {0, 0, 800, 600}, 1.0f},
        {800, 600, 1920, 1080, {240, 0, 1440, 1080}, 1.8f},
        {640, 480, 1000, 1200, {0, 225, 1000, 750}, 1000.0f / 640},
        // An odd scale with an odd remainder: the extra pixel goes to the right.
        {640, 480, 1001, 700, {34, 0, 933, 700}, 700.0f / 480},
        {800, 600, 640, 480, {0, 0, 640, 480}, 0.8f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.drawableWidth) + "x" + std::to_string(c.drawableHeight));
        const ScreenFit fit = fitLayout(c.layoutWidth, c.layoutHeight, c.drawableWidth, c.drawableHeight,
                                        c.drawableWidth, c.drawableHeight);
        expectPicture(fit, c.picture);
        EXPECT_FLOAT_EQ(fit.scale, c.scale);
    }
}

TEST(ScreenFit, AWindowWithNoRoomShowsNothingAndIsHitNowhere) {
    const ScreenFit fit = fitLayout(640, 480, 300, 0, 300, 0);
    EXPECT_EQ(fit.pictureHeight, 0);
    int32_t x = 0, y = 0;
    EXPECT_FALSE(windowToLayout(fit, 150, 0, &x, &y));
    EXPECT_EQ(x, MouseOutsidePicture);
}

TEST(ScreenFit, BeforeAnyWindowPointsAreLayoutPixels) {
    const ScreenFit none = {};
    int32_t x = 0, y = 0;
    EXPECT_TRUE(windowToLayout(none, 123, 456, &x, &y));
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 456);
}

// Every layout pixel, drawn at an odd scale, is pointed at again where it is drawn.
TEST(ScreenFit, PointsGoBackToTheLayoutPixelDrawnUnderThem) {
    const ScreenFit fits[] = {
        fitLayout(640, 480, 640, 480, 640, 480),      fitLayout(640, 480, 1001, 700, 1001, 700),
        fitLayout(800, 600, 1920, 1080, 1920, 1080),  fitLayout(640, 480, 1000, 1200, 1000, 1200),
        fitLayout(640, 480, 2560, 1920, 2560, 1920),  fitLayout(800, 600, 1366, 768, 1366, 768),
    };
    for (const ScreenFit& fit : fits) {
        SCOPED_TRACE(testing::Message() << fit.drawableWidth << "x" << fit.drawableHeight);
        int misses = 0;
        for (int y = 0; y < fit.layoutHeight; y += 7) {
            for (int x = 0; x < fit.layoutWidth; x += 3) {
                const WindowPoint at = drawnAt(fit, x, y);
                int32_t lx, ly;
                if (!windowToLayout(fit, at.x, at.y, &lx, &ly) || lx != x || ly != y) ++misses;
            }
        }
        EXPECT_EQ(misses, 0);
    }
}

TEST(ScreenFit, ButtonBordersStayOutsideAtOddScales) {
    // The windowed new-game button: 45 < x < 165, 60 < y < 100 in layout pixels.
    const ScreenFit fit = fitLayout(640, 480, 1001, 700, 1001, 700);
    int inside = 0, border = 0;
    for (int wx = fit.pictureX; wx < fit.pictureX + fit.pictureWidth; ++wx) {
        int32_t x, y;
        ASSERT_TRUE(windowToLayout(fit, wx, 350, &x, &y)) << wx;
        if (x == 45 || x == 165) ++border;
        if (x > 45 && x < 165) ++inside;
    }
    // 119 layout pixels inside, each about 1.46 window pixels wide.
    EXPECT_NEAR(inside, 119 * 933.0 / 640, 2);
    EXPECT_GE(border, 2);
}

TEST(ScreenFit, PointsInTheBordersAreOutsideThePicture) {
    const ScreenFit wide = fitLayout(800, 600, 1920, 1080, 1920, 1080);
    int32_t x, y;
    for (int wx : {0, 100, 239, 1680, 1919}) {
        EXPECT_FALSE(windowToLayout(wide, wx, 540, &x, &y)) << wx;
        EXPECT_EQ(x, MouseOutsidePicture);
        EXPECT_EQ(y, MouseOutsidePicture);
    }
    EXPECT_TRUE(windowToLayout(wide, 240, 540, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 300);
    EXPECT_TRUE(windowToLayout(wide, 1679, 1079, &x, &y));
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 599);

    const ScreenFit tall = fitLayout(640, 480, 1000, 1200, 1000, 1200);
    for (int wy : {0, 224, 975, 1199}) EXPECT_FALSE(windowToLayout(tall, 500, wy, &x, &y)) << wy;
    EXPECT_TRUE(windowToLayout(tall, 999, 225, &x, &y));
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 0);
    // Beyond the window altogether (a drag that left it).
    EXPECT_FALSE(windowToLayout(tall, -5, 600, &x, &y));
    EXPECT_FALSE(windowToLayout(tall, 1000, 600, &x, &y));
}

// A high-DPI screen: the mouse in points, the drawable in twice as many pixels.
TEST(ScreenFit, HighDpiDrawsAtThePixelsAndPointsAtThePoints) {
    const ScreenFit fit = fitLayout(640, 480, 640, 480, 1280, 960);
    expectPicture(fit, {0, 0, 1280, 960});
    EXPECT_FLOAT_EQ(fit.scale, 2.0f);
    int32_t x, y;
    for (int p : {0, 1, 100, 479}) {
        EXPECT_TRUE(windowToLayout(fit, p, p, &x, &y));
        EXPECT_EQ(x, p);
        EXPECT_EQ(y, p);
    }
    // Full screen at 1440 x 900 points on a 2880 x 1800 panel.
    const ScreenFit full = fitLayout(800, 600, 1440, 900, 2880, 1800);
    expectPicture(full, {240, 0, 2400, 1800});
    EXPECT_TRUE(windowToLayout(full, 720, 450, &x, &y));
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 300);
    EXPECT_FALSE(windowToLayout(full, 100, 450, &x, &y));
}

TEST(ScreenFit, TheWindowOpensAtTheLargestWholeFactorThatFits) {
    EXPECT_EQ(wholeWindowFactor(640, 480, 1920, 1050), 2);  // a 1080p desktop with a panel
    EXPECT_EQ(wholeWindowFactor(640, 480, 3840, 2100), 4);
    EXPECT_EQ(wholeWindowFactor(640, 480, 1280, 960), 2);   // exactly
    EXPECT_EQ(wholeWindowFactor(640, 480, 1279, 2000), 1);
    EXPECT_EQ(wholeWindowFactor(640, 480, 1024, 768), 1);
    EXPECT_EQ(wholeWindowFactor(640, 480, 600, 400), 1);    // smaller than the layout: still 1
    EXPECT_EQ(wholeWindowFactor(640, 480, 0, 0), 1);        // unknown
}
