// The part of a masked picture pair that changes nothing on the screen.
#include <vector>

#include "assets/assets.h"
#include "assets/assets_local.h"

namespace {

bool clearTexel(const RgbImage& mask, const RgbImage& picture, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * mask.width + x) * 3;
    return mask.pixels[i] == 255 && mask.pixels[i + 1] == 255 && mask.pixels[i + 2] == 255 &&
           picture.pixels[i] == 0 && picture.pixels[i + 1] == 0 && picture.pixels[i + 2] == 0;
}

}  // namespace

TexelRect findSeeThrough(const RgbImage& mask, const RgbImage& picture) {
    TexelRect none = {0, 0, -1, -1, mask.width, mask.height, 0, 0, -1, -1};
    // A texture holds the picture texel for texel only at a power-of-two size.
    auto powerOfTwo = [](int side) { return side > 0 && (side & (side - 1)) == 0; };
    if (mask.width != picture.width || mask.height != picture.height || !powerOfTwo(mask.width) ||
        !powerOfTwo(mask.height))
        return none;
    const int width = mask.width, height = mask.height;
    // The middle of the white part of the mask.
    int left = width, right = -1, bottom = height, top = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (clearTexel(mask, picture, x, y)) {
                if (x < left) left = x;
                if (x > right) right = x;
                if (y < bottom) bottom = y;
                if (y > top) top = y;
            }
    if (right < 0) return none;
    // The bounds of the mask's texels that are not black.
    int outerLeft = width, outerRight = -1, outerBottom = height, outerTop = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* m = mask.pixels + (static_cast<size_t>(y) * width + x) * 3;
            if (m[0] == 0 && m[1] == 0 && m[2] == 0) continue;
            if (x < outerLeft) outerLeft = x;
            if (x > outerRight) outerRight = x;
            if (y < outerBottom) outerBottom = y;
            if (y > outerTop) outerTop = y;
        }
    none.outerLeft = outerLeft;
    none.outerBottom = outerBottom;
    none.outerRight = outerRight;
    none.outerTop = outerTop;
    const int cx = (left + right) / 2, cy = (bottom + top) / 2;
    if (!clearTexel(mask, picture, cx, cy)) return none;

    // Each row's clear run through the middle column.
    std::vector<int> runLeft(height, 1), runRight(height, 0);
    for (int y = 0; y < height; ++y) {
        if (!clearTexel(mask, picture, cx, y)) continue;
        int l = cx, r = cx;
        while (l > 0 && clearTexel(mask, picture, l - 1, y)) --l;
        while (r + 1 < width && clearTexel(mask, picture, r + 1, y)) ++r;
        runLeft[y] = l;
        runRight[y] = r;
    }
    // The rectangle of the most texels among those spanning rows y0..y1 around cy.
    TexelRect best = none;
    long bestArea = 0;
    int lowLeft = runLeft[cy], lowRight = runRight[cy];
    for (int y0 = cy; y0 >= 0 && runLeft[y0] <= runRight[y0]; --y0) {
        if (runLeft[y0] > lowLeft) lowLeft = runLeft[y0];
        if (runRight[y0] < lowRight) lowRight = runRight[y0];
        int l = lowLeft, r = lowRight;
        for (int y1 = cy; y1 < height && runLeft[y1] <= runRight[y1]; ++y1) {
            if (runLeft[y1] > l) l = runLeft[y1];
            if (runRight[y1] < r) r = runRight[y1];
            const long area = static_cast<long>(r - l + 1) * (y1 - y0 + 1);
            if (r >= l && area > bestArea) {
                bestArea = area;
                best = TexelRect{l, y0, r, y1, width, height, outerLeft, outerBottom, outerRight, outerTop};
            }
        }
    }
    return best;
}
