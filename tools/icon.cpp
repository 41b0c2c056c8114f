// The gem icon: a violet brilliant-cut jewel seen from above, drawn sample by
// sample (6 x 6 samples a pixel, so every edge is smooth) at each size a
// desktop asks for, written as PNG, and once as a 32-bit BMP with alpha for
// the game window.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <zlib.h>

#include "files_local.h"
#include "generator.h"
#include "raster.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int Samples = 6;          // per pixel and axis
constexpr int Sides = 8;            // the girdle and the table are octagons
constexpr double CentreX = 0.5, CentreY = 0.5;
constexpr double GirdleRadius = 0.44;
constexpr double TableRadius = 0.245;
constexpr double FirstCorner = -Pi / 2 - Pi / Sides;  // a flat edge on top

struct Vec2 {
    double x, y;
};
struct Rgba {
    double r, g, b, a;
};

Vec2 corner(double radius, int k) {
    const double angle = FirstCorner + 2 * Pi * k / Sides;
    return {CentreX + radius * std::cos(angle), CentreY + radius * std::sin(angle)};
}

// Positive on the left of a -> b (y grows downward, so "left" is clockwise).
double side(Vec2 a, Vec2 b, Vec2 p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x); }

// Distance from p to the line through a and b, positive outside the polygon
// whose corners run in the order a, b.
double edgeDistance(Vec2 a, Vec2 b, Vec2 p) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    return -side(a, b, p) / length;
}

double segmentDistance(Vec2 a, Vec2 b, Vec2 p) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

struct Facet {
    double azimuth;  // direction the facet faces, in the picture plane
    double tilt;     // 0: facing the viewer
    double tint;     // darker or lighter than its neighbours
};

// The shade of a flat facet under one light from the upper left.
Rgba shadeFacet(const Facet& facet) {
    const double nx = std::sin(facet.tilt) * std::cos(facet.azimuth);
    const double ny = std::sin(facet.tilt) * std::sin(facet.azimuth);
    const double nz = std::cos(facet.tilt);
    double lx = -0.55, ly = -0.65, lz = 0.75;
    const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    lx /= ll, ly /= ll, lz /= ll;
    const double diffuse = std::fmax(0.0, nx * lx + ny * ly + nz * lz);
    double hx = lx, hy = ly, hz = lz + 1;
    const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    hx /= hl, hy /= hl, hz /= hl;
    const double specular = std::pow(std::fmax(0.0, nx * hx + ny * hy + nz * hz), 24);
    const double light = (0.22 + 0.78 * diffuse) * facet.tint;
    const Rgba gem{0.42, 0.22, 0.95, 1};
    return {clamp01(gem.r * light + specular * 0.9), clamp01(gem.g * light + specular * 0.9),
            clamp01(gem.b * light + specular * 0.9), 1};
}

Rgba mix(const Rgba& a, const Rgba& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// The colour of the icon at one point of the unit square; pixel is the size
// of one pixel in unit lengths (lines stay visible at every size).
Rgba gemAt(Vec2 p, double pixel, int size) {
    const double outline = std::fmax(1.0, size / 40.0) * pixel;
    const double facetLine = std::fmax(0.35, size / 110.0) * pixel;

    double angle = std::atan2(p.y - CentreY, p.x - CentreX) - FirstCorner;
    while (angle < 0) angle += 2 * Pi;
    int k = static_cast<int>(angle / (2 * Pi / Sides)) % Sides;
    const Vec2 g0 = corner(GirdleRadius, k), g1 = corner(GirdleRadius, k + 1);
    const Vec2 t0 = corner(TableRadius, k), t1 = corner(TableRadius, k + 1);
    const Vec2 m{(g0.x + g1.x) / 2, (g0.y + g1.y) / 2};

    const double outside = edgeDistance(g0, g1, p);
    if (outside > outline / 2) return {0, 0, 0, 0};
    const Rgba rim{0.10, 0.04, 0.26, 1};
    if (outside > -outline / 2) return rim;

    const double sectorMiddle = FirstCorner + 2 * Pi * (k + 0.5) / Sides;
    const double step = 2 * Pi / Sides;
    Rgba colour;
    double nearestEdge;
    if (edgeDistance(t0, t1, p) <= 0) {
        // The table: nearly flat, a little brighter toward the light.
        const double glow = clamp01(0.5 - ((p.x - CentreX) + (p.y - CentreY)) * 1.3);
        colour = mix(shadeFacet({0, 0.12, 0.95}), {0.80, 0.70, 1.0, 1}, glow * 0.45);
        nearestEdge = -edgeDistance(t0, t1, p);
    } else if (side(t0, m, p) >= 0 && side(m, t1, p) >= 0) {
        // The star facet between the table edge and the middle of the girdle edge.
        colour = shadeFacet({sectorMiddle, 0.42, 1.0});
        nearestEdge = std::fmin(segmentDistance(t0, t1, p),
                                std::fmin(segmentDistance(t0, m, p), segmentDistance(m, t1, p)));
    } else if (side(t0, m, p) < 0) {
        colour = shadeFacet({sectorMiddle - step * 0.3, 0.80, k % 2 ? 0.78 : 1.05});
        nearestEdge = std::fmin(segmentDistance(t0, m, p), segmentDistance(g0, t0, p));
    } else {
        colour = shadeFacet({sectorMiddle + step * 0.3, 0.80, k % 2 ? 1.05 : 0.78});
        nearestEdge = std::fmin(segmentDistance(m, t1, p), segmentDistance(t1, g1, p));
    }
    if (nearestEdge < facetLine / 2) colour = mix(colour, {0.85, 0.80, 1.0, 1}, 0.45);

    // A sparkle on the upper left of the table.
    const double sx = p.x - 0.37, sy = p.y - 0.35;
    const double distance = std::hypot(sx, sy);
    const double ray = std::fmax(std::exp(-std::fabs(sx) / 0.010), std::exp(-std::fabs(sy) / 0.010));
    const double sparkle = clamp01(ray * clamp01(1 - distance / 0.13) + std::exp(-distance * distance / 0.0006));
    return mix(colour, {1, 1, 1, 1}, sparkle * (size >= 24 ? 0.95 : 0.5));
}

// size x size pixels, 4 bytes each (red, green, blue, alpha), top row first.
std::vector<uint8_t> drawGem(int size) {
    std::vector<uint8_t> pixels(static_cast<size_t>(size) * size * 4);
    const double pixel = 1.0 / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < Samples; ++sy) {
                for (int sx = 0; sx < Samples; ++sx) {
                    const Vec2 p{(x + (sx + 0.5) / Samples) * pixel, (y + (sy + 0.5) / Samples) * pixel};
                    const Rgba c = gemAt(p, pixel, size);
                    r += c.r * c.a, g += c.g * c.a, b += c.b * c.a, a += c.a;
                }
            }
            uint8_t* out = &pixels[(static_cast<size_t>(y) * size + x) * 4];
            // Straight (not premultiplied) alpha, as PNG and the window icon expect.
            out[0] = a > 0 ? static_cast<uint8_t>(std::lround(255 * clamp01(r / a))) : 0;
            out[1] = a > 0 ? static_cast<uint8_t>(std::lround(255 * clamp01(g / a))) : 0;
            out[2] = a > 0 ? static_cast<uint8_t>(std::lround(255 * clamp01(b / a))) : 0;
            out[3] = static_cast<uint8_t>(std::lround(255 * a / (Samples * Samples)));
        }
    }
    return pixels;
}

// --- PNG: a zlib stream of stored blocks is all a reader needs -------------

void putBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::string encodeIconPng(const std::vector<uint8_t>& rgba, int width, int height) {
    std::string raw;  // each row: filter type 0, then the row's bytes
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.append(reinterpret_cast<const char*>(&rgba[static_cast<size_t>(y) * width * 4]),
                   static_cast<size_t>(width) * 4);
    }
    std::string zlib("\x78\x01", 2);
    size_t done = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - done, 65535);
        const bool last = done + length == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<char>(length & 0xFF));
        zlib.push_back(static_cast<char>(length >> 8));
        zlib.push_back(static_cast<char>(~length & 0xFF));
        zlib.push_back(static_cast<char>((~length >> 8) & 0xFF));
        zlib.append(raw, done, length);
        done += length;
    } while (done < raw.size());
    putBigEndian(zlib, static_cast<uint32_t>(
                           adler32(adler32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(raw.data()),
                                   static_cast<uInt>(raw.size()))));
    return pngAround(width, height, PngRgba, zlib);
}

// --- BMP: version 4 header, bit fields naming the alpha byte ---------------

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string encodeBmp(const std::vector<uint8_t>& rgba, int width, int height) {
    constexpr uint32_t FileHeader = 14, InfoHeader = 108;
    const uint32_t imageSize = static_cast<uint32_t>(width) * height * 4;
    std::string bmp = "BM";
    putLittleEndian(bmp, FileHeader + InfoHeader + imageSize, 4);
    putLittleEndian(bmp, 0, 4);
    putLittleEndian(bmp, FileHeader + InfoHeader, 4);
    putLittleEndian(bmp, InfoHeader, 4);
    putLittleEndian(bmp, static_cast<uint32_t>(width), 4);
    putLittleEndian(bmp, static_cast<uint32_t>(height), 4);  // positive: bottom row first
    putLittleEndian(bmp, 1, 2);
    putLittleEndian(bmp, 32, 2);
    putLittleEndian(bmp, 3, 4);  // bit fields
    putLittleEndian(bmp, imageSize, 4);
    putLittleEndian(bmp, 2835, 4);  // 72 dots per inch
    putLittleEndian(bmp, 2835, 4);
    putLittleEndian(bmp, 0, 4);
    putLittleEndian(bmp, 0, 4);
    putLittleEndian(bmp, 0x00FF0000, 4);  // red
    putLittleEndian(bmp, 0x0000FF00, 4);  // green
    putLittleEndian(bmp, 0x000000FF, 4);  // blue
    putLittleEndian(bmp, 0xFF000000, 4);  // alpha
    putLittleEndian(bmp, 0x73524742, 4);  // 'sRGB'
    bmp.append(48, '\0');                 // end points and gamma, unused with sRGB
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            bmp.push_back(static_cast<char>(p[2]));
            bmp.push_back(static_cast<char>(p[1]));
            bmp.push_back(static_cast<char>(p[0]));
            bmp.push_back(static_cast<char>(p[3]));
        }
    }
    return bmp;
}

}  // namespace

bool writeIcons(const std::string& gameDir) {
    const std::string folder = gameDir + "/icons";
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "vortiq-data: cannot make %s: %s\n", folder.c_str(), std::strerror(errno));
        return false;
    }
    bool ok = true;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const std::string path = folder + "/vortiq-" + std::to_string(size) + ".png";
        ok = writeFileSafely(path, encodeIconPng(drawGem(size), size, size)) && ok;
    }
    constexpr int WindowIconSize = 64;
    ok = writeFileSafely(gameDir + "/base/icon.bmp",
                         encodeBmp(drawGem(WindowIconSize), WindowIconSize, WindowIconSize)) && ok;
    return ok;
}
