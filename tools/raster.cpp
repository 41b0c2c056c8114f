#include "raster.h"

#include <algorithm>
#include <cmath>

Box grow(Box box, float by) { return {box.x0 - by, box.y0 - by, box.x1 + by, box.y1 + by}; }

namespace {
int densityInForce = 1;
}  // namespace

int pixelDensity() { return densityInForce; }
PixelDensity::PixelDensity(int density) : previous_(densityInForce) { densityInForce = density; }
PixelDensity::~PixelDensity() { densityInForce = previous_; }

Canvas makeCanvas(int width, int height, float designWidth, float designHeight) {
    Canvas canvas;
    canvas.width = width * densityInForce;
    canvas.height = height * densityInForce;
    canvas.designWidth = designWidth;
    canvas.designHeight = designHeight;
    canvas.pixels.assign(static_cast<size_t>(canvas.width) * canvas.height, Rgba{});
    return canvas;
}

Coverage emptyCoverage(const Canvas& canvas) {
    Coverage coverage;
    coverage.width = canvas.width;
    coverage.height = canvas.height;
    coverage.values.assign(static_cast<size_t>(canvas.width) * canvas.height, 0.0f);
    return coverage;
}

// --- colours ---------------------------------------------------------------

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Rgba hex(uint32_t rgb, float alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, alpha};
}

Rgba mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba scaled(Rgba colour, float brightness) {
    return {colour.r * brightness, colour.g * brightness, colour.b * brightness, colour.a};
}

Rgba withAlpha(Rgba colour, float alpha) { return {colour.r, colour.g, colour.b, alpha}; }

// --- shapes ----------------------------------------------------------------

Sdf roundedBox(Box box, float radius) {
    const float cx = box.centreX(), cy = box.centreY();
    const float hx = box.width() / 2 - radius, hy = box.height() / 2 - radius;
    return [=](float x, float y) {
        const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Sdf circle(Vec centre, float radius) {
    return [=](float x, float y) { return std::hypot(x - centre.x, y - centre.y) - radius; };
}

Sdf ellipse(Vec centre, float radiusX, float radiusY) {
    const float smaller = std::min(radiusX, radiusY);
    return [=](float x, float y) {
        const float u = (x - centre.x) / radiusX, v = (y - centre.y) / radiusY;
        return (std::sqrt(u * u + v * v) - 1) * smaller;
    };
}

Sdf capsule(Vec a, Vec b, float radius) {
    return [=](float x, float y) {
        const float dx = b.x - a.x, dy = b.y - a.y;
        const float length2 = dx * dx + dy * dy;
        float t = length2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0;
        t = clamp01(t);
        return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)) - radius;
    };
}

Sdf polygon(std::vector<Vec> corners) {
    return [corners](float x, float y) {
        const size_t n = corners.size();
        float best = 1e30f;
        bool inside = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const Vec a = corners[j], b = corners[i];
            const float ex = b.x - a.x, ey = b.y - a.y;
            const float wx = x - a.x, wy = y - a.y;
            const float t = clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
            const float px = wx - ex * t, py = wy - ey * t;
            best = std::min(best, px * px + py * py);
            if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * ex / ey) inside = !inside;
        }
        const float distance = std::sqrt(best);
        return inside ? -distance : distance;
    };
}

Sdf unite(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
Sdf intersect(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}
Sdf subtract(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf shrunk(Sdf shape, float by) {
    return [=](float x, float y) { return shape(x, y) + by; };
}
Sdf outline(Sdf shape, float halfWidth) {
    return [=](float x, float y) { return std::fabs(shape(x, y)) - halfWidth; };
}

// --- paints ----------------------------------------------------------------

Paint solid(Rgba colour) {
    return [=](float, float) { return colour; };
}

Paint linear(Vec from, Vec to, Rgba a, Rgba b) { return linearStops(from, to, {{0.0f, a}, {1.0f, b}}); }

Paint linearStops(Vec from, Vec to, std::vector<std::pair<float, Rgba>> stops) {
    const float dx = to.x - from.x, dy = to.y - from.y;
    const float length2 = dx * dx + dy * dy;
    return [=](float x, float y) {
        const float t = clamp01(((x - from.x) * dx + (y - from.y) * dy) / length2);
        if (t <= stops.front().first) return stops.front().second;
        for (size_t i = 1; i < stops.size(); ++i) {
            if (t <= stops[i].first) {
                const float span = stops[i].first - stops[i - 1].first;
                return mix(stops[i - 1].second, stops[i].second, span > 0 ? (t - stops[i - 1].first) / span : 1);
            }
        }
        return stops.back().second;
    };
}

Paint radial(Vec centre, float radius, Rgba inner, Rgba outer) {
    return [=](float x, float y) {
        return mix(inner, outer, clamp01(std::hypot(x - centre.x, y - centre.y) / radius));
    };
}

// --- filling ---------------------------------------------------------------

namespace {

constexpr int Sub = 4;  // samples per pixel and axis near an edge

void blendOver(Rgba& dst, Rgba src, float coverage) {
    const float a = src.a * coverage;
    if (a <= 0) return;
    const float keep = 1 - a;
    dst.r = src.r * a + dst.r * keep;
    dst.g = src.g * a + dst.g * keep;
    dst.b = src.b * a + dst.b * keep;
    dst.a = a + dst.a * keep;
}

struct PixelSpan {
    int x0, y0, x1, y1;
};

PixelSpan spanOf(const Canvas& canvas, Box bounds) {
    const float sx = canvas.scaleX(), sy = canvas.scaleY();
    PixelSpan span;
    span.x0 = std::max(0, static_cast<int>(std::floor(bounds.x0 * sx)));
    span.y0 = std::max(0, static_cast<int>(std::floor(bounds.y0 * sy)));
    span.x1 = std::min(canvas.width, static_cast<int>(std::ceil(bounds.x1 * sx)));
    span.y1 = std::min(canvas.height, static_cast<int>(std::ceil(bounds.y1 * sy)));
    return span;
}

// Coverage of one pixel by a crisp shape: exact away from the edge, sampled
// near it.
float pixelCoverage(const Sdf& shape, int px, int py, float sx, float sy) {
    const float reach = 0.75f * std::hypot(1 / sx, 1 / sy);
    const float d = shape((px + 0.5f) / sx, (py + 0.5f) / sy);
    if (d >= reach) return 0;
    if (d <= -reach) return 1;
    const float subSize = 1 / (Sub * std::min(sx, sy));
    float sum = 0;
    for (int j = 0; j < Sub; ++j) {
        for (int i = 0; i < Sub; ++i) {
            const float ds = shape((px + (i + 0.5f) / Sub) / sx, (py + (j + 0.5f) / Sub) / sy);
            sum += clamp01(0.5f - ds / subSize);
        }
    }
    return sum / (Sub * Sub);
}

}  // namespace

void fill(Canvas& canvas, const Sdf& shape, Box bounds, const Paint& paint, float softness) {
    const float sx = canvas.scaleX(), sy = canvas.scaleY();
    const PixelSpan span = spanOf(canvas, bounds);
    for (int py = span.y0; py < span.y1; ++py) {
        for (int px = span.x0; px < span.x1; ++px) {
            float coverage;
            const float cx = (px + 0.5f) / sx, cy = (py + 0.5f) / sy;
            if (softness > 0) {
                coverage = 1 - smoothstep(-softness, softness, shape(cx, cy));
            } else {
                coverage = pixelCoverage(shape, px, py, sx, sy);
            }
            if (coverage <= 0) continue;
            blendOver(canvas.at(px, py), paint(cx, cy), coverage);
        }
    }
}

void fillAll(Canvas& canvas, const Paint& paint) {
    const float sx = canvas.scaleX(), sy = canvas.scaleY();
    for (int py = 0; py < canvas.height; ++py)
        for (int px = 0; px < canvas.width; ++px)
            blendOver(canvas.at(px, py), paint((px + 0.5f) / sx, (py + 0.5f) / sy), 1);
}

Coverage coverageOf(const Canvas& canvas, const Sdf& shape, Box bounds) {
    Coverage coverage = emptyCoverage(canvas);
    const float sx = canvas.scaleX(), sy = canvas.scaleY();
    const PixelSpan span = spanOf(canvas, bounds);
    for (int py = span.y0; py < span.y1; ++py)
        for (int px = span.x0; px < span.x1; ++px)
            coverage.values[static_cast<size_t>(py) * canvas.width + px] = pixelCoverage(shape, px, py, sx, sy);
    return coverage;
}

void fillCoverage(Canvas& canvas, const Coverage& coverage, const Paint& paint, float opacity) {
    const float sx = canvas.scaleX(), sy = canvas.scaleY();
    for (int py = 0; py < canvas.height; ++py) {
        for (int px = 0; px < canvas.width; ++px) {
            const float c = coverage.at(px, py) * opacity;
            if (c <= 0) continue;
            blendOver(canvas.at(px, py), paint((px + 0.5f) / sx, (py + 0.5f) / sy), std::min(c, 1.0f));
        }
    }
}

void addCoverage(Canvas& canvas, const Coverage& coverage, const Paint& paint, float opacity) {
    const float sx = canvas.scaleX(), sy = canvas.scaleY();
    for (int py = 0; py < canvas.height; ++py) {
        for (int px = 0; px < canvas.width; ++px) {
            const float c = coverage.at(px, py) * opacity;
            if (c <= 0) continue;
            const Rgba p = paint((px + 0.5f) / sx, (py + 0.5f) / sy);
            Rgba& dst = canvas.at(px, py);
            const float a = p.a * c;
            dst.r = std::min(1.0f, dst.r + p.r * a);
            dst.g = std::min(1.0f, dst.g + p.g * a);
            dst.b = std::min(1.0f, dst.b + p.b * a);
            dst.a = std::max(dst.a, std::min(1.0f, dst.a + a));
        }
    }
}

void bevel(Canvas& canvas, const Sdf& shape, Box bounds, float width, float strength) {
    const float sx = canvas.scaleX(), sy = canvas.scaleY();
    const PixelSpan span = spanOf(canvas, bounds);
    const bool inset = strength < 0;  // a hollow: lit at the bottom, shaded at the top
    strength = std::fabs(strength);
    const float lx = -0.45f, ly = -0.89f;  // towards the light: up and a little left
    const float h = 0.25f / std::min(sx, sy);
    for (int py = span.y0; py < span.y1; ++py) {
        for (int px = span.x0; px < span.x1; ++px) {
            const float cx = (px + 0.5f) / sx, cy = (py + 0.5f) / sy;
            const float d = shape(cx, cy);
            if (d > 0.5f / std::min(sx, sy) || d < -width) continue;
            float gx = shape(cx + h, cy) - shape(cx - h, cy);
            float gy = shape(cx, cy + h) - shape(cx, cy - h);
            const float g = std::hypot(gx, gy);
            if (g <= 0) continue;
            gx /= g;
            gy /= g;
            const float facing = gx * lx + gy * ly;
            const float depth = 1 - clamp01(-d / width);
            const float weight = depth * depth * strength * clamp01(0.5f - d * std::min(sx, sy));
            if ((facing > 0) != inset)
                blendOver(canvas.at(px, py), Rgba{1, 1, 1, 1}, clamp01(std::fabs(facing) * weight));
            else
                blendOver(canvas.at(px, py), Rgba{0, 0, 0, 1}, clamp01(std::fabs(facing) * weight));
        }
    }
}

// --- output ----------------------------------------------------------------

namespace {

const int Bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

uint8_t quantize(float v, int x, int y) {
    const float threshold = (Bayer[y & 3][x & 3] + 0.5f) / 16.0f;
    const float level = std::floor(clamp01(v) * 255.0f + threshold);
    return static_cast<uint8_t>(std::min(255.0f, level));
}

}  // namespace

namespace {

// An 8-bit picture of the canvas's size; pixel(x, y, out) fills each pixel's three bytes.
template <typename Pixel>
Rgb8Image eachPixel(const Canvas& canvas, Pixel pixel) {
    Rgb8Image image;
    image.width = canvas.width;
    image.height = canvas.height;
    image.rgb.resize(static_cast<size_t>(canvas.width) * canvas.height * 3);
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) pixel(x, y, &image.rgb[(static_cast<size_t>(y) * canvas.width + x) * 3]);
    return image;
}

}  // namespace

Rgb8Image toRgb8(const Canvas& canvas) {
    return eachPixel(canvas, [&](int x, int y, uint8_t* out) {
        const Rgba& p = canvas.at(x, y);
        // Premultiplied colour cannot exceed its alpha.
        out[0] = quantize(std::min(p.r, p.a), x, y);
        out[1] = quantize(std::min(p.g, p.a), x, y);
        out[2] = quantize(std::min(p.b, p.a), x, y);
    });
}

Rgb8Image maskOf(const Canvas& canvas) {
    return eachPixel(canvas, [&](int x, int y, uint8_t* out) {
        out[0] = out[1] = out[2] = quantize(1 - canvas.at(x, y).a, x, y);
    });
}

Rgb8Image resized(const Rgb8Image& image, int width, int height) {
    Rgb8Image result;
    result.width = width;
    result.height = height;
    result.rgb.resize(static_cast<size_t>(width) * height * 3);
    const double fx = double(image.width) / width, fy = double(image.height) / height;
    for (int y = 0; y < height; ++y) {
        const double y0 = y * fy, y1 = (y + 1) * fy;
        for (int x = 0; x < width; ++x) {
            const double x0 = x * fx, x1 = (x + 1) * fx;
            double sum[3] = {0, 0, 0}, weightSum = 0;
            for (int sy = int(y0); sy < std::min(image.height, int(std::ceil(y1))); ++sy) {
                const double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
                if (wy <= 0) continue;
                for (int sx = int(x0); sx < std::min(image.width, int(std::ceil(x1))); ++sx) {
                    const double wx = std::min<double>(sx + 1, x1) - std::max<double>(sx, x0);
                    if (wx <= 0) continue;
                    const uint8_t* p = &image.rgb[(static_cast<size_t>(sy) * image.width + sx) * 3];
                    for (int c = 0; c < 3; ++c) sum[c] += p[c] * wx * wy;
                    weightSum += wx * wy;
                }
            }
            uint8_t* out = &result.rgb[(static_cast<size_t>(y) * width + x) * 3];
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(weightSum > 0 ? std::lround(sum[c] / weightSum) : 0);
        }
    }
    return result;
}

void drawOver(Canvas& dst, const Canvas& src) {
    for (size_t i = 0; i < dst.pixels.size(); ++i) {
        const Rgba& s = src.pixels[i];
        Rgba& d = dst.pixels[i];
        const float keep = 1 - s.a;
        d = {s.r + d.r * keep, s.g + d.g * keep, s.b + d.b * keep, s.a + d.a * keep};
    }
}

void drawClipped(Canvas& dst, const Canvas& src, const Coverage& clip) {
    for (size_t i = 0; i < dst.pixels.size(); ++i) {
        const float c = clip.values[i];
        if (c <= 0) continue;
        const Rgba s = {src.pixels[i].r * c, src.pixels[i].g * c, src.pixels[i].b * c, src.pixels[i].a * c};
        Rgba& d = dst.pixels[i];
        const float keep = 1 - s.a;
        d = {s.r + d.r * keep, s.g + d.g * keep, s.b + d.b * keep, s.a + d.a * keep};
    }
}
