// Operations on coverage: blurs, shifts, products and widenings of the masks
// that shadows, glows and outlines are made from.
#include <algorithm>
#include <cmath>

#include "raster.h"

namespace {

// One pass of a running-sum box blur along rows (horizontal) or columns.
void boxPass(std::vector<float>& values, int width, int height, int radius, bool horizontal) {
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    std::vector<float> line(length), out(length);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < length; ++i)
            line[i] = horizontal ? values[static_cast<size_t>(l) * width + i] : values[static_cast<size_t>(i) * width + l];
        double sum = 0;
        for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < length) ? line[i] : 0;
        for (int i = 0; i < length; ++i) {
            out[i] = static_cast<float>(sum / (2 * radius + 1));
            const int leaving = i - radius, entering = i + radius + 1;
            if (leaving >= 0) sum -= line[leaving];
            if (entering < length) sum += line[entering];
        }
        for (int i = 0; i < length; ++i) {
            if (horizontal)
                values[static_cast<size_t>(l) * width + i] = out[i];
            else
                values[static_cast<size_t>(i) * width + l] = out[i];
        }
    }
}

}  // namespace

Coverage blurred(const Coverage& coverage, int radiusPixels) {
    Coverage result = coverage;
    if (radiusPixels <= 0) return result;
    // Three box passes come close to a Gaussian.
    const int r = std::max(1, radiusPixels / 2) * pixelDensity();
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(result.values, result.width, result.height, r, true);
        boxPass(result.values, result.width, result.height, r, false);
    }
    return result;
}

Coverage shifted(const Coverage& coverage, int dx, int dy) {
    dx *= pixelDensity();
    dy *= pixelDensity();
    Coverage result = coverage;
    std::fill(result.values.begin(), result.values.end(), 0.0f);
    for (int y = 0; y < coverage.height; ++y) {
        const int sy = y - dy;
        if (sy < 0 || sy >= coverage.height) continue;
        for (int x = 0; x < coverage.width; ++x) {
            const int sx = x - dx;
            if (sx < 0 || sx >= coverage.width) continue;
            result.values[static_cast<size_t>(y) * coverage.width + x] = coverage.at(sx, sy);
        }
    }
    return result;
}

Coverage multiplied(const Coverage& a, const Coverage& b) {
    Coverage result = a;
    for (size_t i = 0; i < result.values.size(); ++i) result.values[i] *= b.values[i];
    return result;
}

Coverage widened(const Coverage& coverage, int radiusPixels) {
    radiusPixels *= pixelDensity();
    Coverage result = coverage;
    for (int y = 0; y < coverage.height; ++y) {
        for (int x = 0; x < coverage.width; ++x) {
            float best = 0;
            for (int j = -radiusPixels; j <= radiusPixels; ++j) {
                const int yy = y + j;
                if (yy < 0 || yy >= coverage.height) continue;
                for (int i = -radiusPixels; i <= radiusPixels; ++i) {
                    const int xx = x + i;
                    if (xx < 0 || xx >= coverage.width) continue;
                    const float fall = clamp01(radiusPixels + 0.5f - std::sqrt(float(i * i + j * j)));
                    best = std::max(best, coverage.at(xx, yy) * fall);
                }
            }
            result.values[static_cast<size_t>(y) * coverage.width + x] = best;
        }
    }
    return result;
}
