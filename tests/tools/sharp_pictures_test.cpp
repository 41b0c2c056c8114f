// The large pictures of base/2x/: the same art as base/, drawn at twice the
// size from the same drawing code, with more detail than an enlargement.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tools/picture_files.h"

namespace {

// Channel value of an image at (x, y), with the edges repeated.
int valueAt(const Bitmap& bmp, int x, int y, int c) {
    x = x < 0 ? 0 : (x >= bmp.width ? bmp.width - 1 : x);
    y = y < 0 ? 0 : (y >= bmp.height ? bmp.height - 1 : y);
    return bmp.at(x, y)[c];
}

// The large picture shrunk back: each 2 x 2 block averaged.
Bitmap halved(const Bitmap& large) {
    Bitmap small;
    small.ok = true;
    small.width = large.width / 2;
    small.height = large.height / 2;
    small.rgb.resize(static_cast<size_t>(small.width) * small.height * 3);
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x)
            for (int c = 0; c < 3; ++c)
                small.rgb[(static_cast<size_t>(y) * small.width + x) * 3 + c] = static_cast<uint8_t>(
                    (valueAt(large, 2 * x, 2 * y, c) + valueAt(large, 2 * x + 1, 2 * y, c) +
                     valueAt(large, 2 * x, 2 * y + 1, c) + valueAt(large, 2 * x + 1, 2 * y + 1, c) + 2) / 4);
    return small;
}

// The ordinary picture enlarged twice, bilinearly (as a texture shown at
// twice its size is filtered).
Bitmap enlarged(const Bitmap& small) {
    Bitmap large;
    large.ok = true;
    large.width = small.width * 2;
    large.height = small.height * 2;
    large.rgb.resize(static_cast<size_t>(large.width) * large.height * 3);
    for (int y = 0; y < large.height; ++y) {
        const double sy = (y + 0.5) / 2 - 0.5;
        const int y0 = static_cast<int>(std::floor(sy));
        const double fy = sy - y0;
        for (int x = 0; x < large.width; ++x) {
            const double sx = (x + 0.5) / 2 - 0.5;
            const int x0 = static_cast<int>(std::floor(sx));
            const double fx = sx - x0;
            for (int c = 0; c < 3; ++c) {
                const double top = valueAt(small, x0, y0, c) * (1 - fx) + valueAt(small, x0 + 1, y0, c) * fx;
                const double bottom = valueAt(small, x0, y0 + 1, c) * (1 - fx) + valueAt(small, x0 + 1, y0 + 1, c) * fx;
                large.rgb[(static_cast<size_t>(y) * large.width + x) * 3 + c] =
                    static_cast<uint8_t>(std::lround(top * (1 - fy) + bottom * fy));
            }
        }
    }
    return large;
}

double meanDifference(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(a.rgb[i] - b.rgb[i]);
    return sum / a.rgb.size();
}

// How crisp a picture is: the mean square of the steps between neighbouring
// pixels. An edge spread over two pixels has half the square of the same
// edge taken in one step (the mean step itself would not tell them apart).
double crispness(const Bitmap& bmp) {
    double sum = 0;
    for (int y = 0; y + 1 < bmp.height; ++y)
        for (int x = 0; x + 1 < bmp.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const int across = valueAt(bmp, x + 1, y, c) - valueAt(bmp, x, y, c);
                const int down = valueAt(bmp, x, y + 1, c) - valueAt(bmp, x, y, c);
                sum += across * across + down * down;
            }
    return sum / (static_cast<double>(bmp.width) * bmp.height);
}

}  // namespace

TEST(SharpPictures, EveryPictureIsTwiceTheOrdinarySize) {
    for (int n = 0; n <= 80; ++n) {
        const Bitmap& bmp = picture(n, 2);
        ASSERT_TRUE(bmp.ok) << "2x/tex" << n << ": " << bmp.problem;
        EXPECT_EQ(bmp.width, 2 * expectedSize(n).width) << "tex" << n;
        EXPECT_EQ(bmp.height, 2 * expectedSize(n).height) << "tex" << n;
        EXPECT_EQ(bmp.fileSize, 54u + size_t(bmp.width) * 3 * bmp.height) << "tex" << n;
    }
}

// Shrunk back to the ordinary size, a large picture is the ordinary one but
// for the antialiasing of its edges and the dither.
TEST(SharpPictures, ShowTheSameArtAsTheOrdinaryOnes) {
    for (int n = 0; n <= 80; ++n) {
        const Bitmap& small = picture(n, 1);
        const Bitmap& large = picture(n, 2);
        ASSERT_TRUE(small.ok && large.ok) << n;
        const double difference = meanDifference(halved(large), small);
        EXPECT_LT(difference, n == 0 ? 8.0 : 4.0) << "tex" << n;
    }
}

// Drawn again at twice the size, edges and letters stay one pixel soft: a
// large picture is crisper than the ordinary one enlarged.
TEST(SharpPictures, AreCrisperThanAnEnlargement) {
    // Text and shapes: the font, a side button, a dialog with its question,
    // a dialog button, an options row, a banner, the frame.
    for (int n : {0, 7, 30, 32, 42, 58, 2}) {
        const double sharp = crispness(picture(n, 2));
        const double soft = crispness(enlarged(picture(n, 1)));
        EXPECT_GT(sharp, 1.3 * soft) << "tex" << n << ": " << sharp << " against " << soft;
    }
}
