// The seven gem meshes, base/s1.raw .. base/s7.raw: faceted stones with a flat
// table and crown toward the viewer (+z) and a pavilion running to a point
// behind (-z). Each kind has its own outline seen from the front, so the kinds
// differ by shape as well as by colour.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "files_local.h"
#include "generator.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int MaxMeshTriangles = 66;  // 198 vertices; the loader holds 200

struct Point2 { double x, y; };
struct Point3 { double x, y, z; };
using Triangle = std::array<Point3, 3>;

// One horizontal ring of the stone: the outline scaled about the axis, at a depth.
struct Ring { double scale, z; };

struct GemShape {
    std::vector<Point2> outline;  // counter-clockwise seen from the front
    std::vector<Ring> rings;      // from the table down to the last pavilion ring
    double culetZ;                // the point the pavilion runs to
};

double signedArea(const std::vector<Point2>& outline) {
    double area = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        const Point2& a = outline[i];
        const Point2& b = outline[(i + 1) % outline.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area / 2;
}

// Counter-clockwise, and scaled so that the farthest corner lies at radius.
std::vector<Point2> fitOutline(std::vector<Point2> outline, double radius) {
    if (signedArea(outline) < 0) {
        std::vector<Point2> reversed(outline.rbegin(), outline.rend());
        outline = reversed;
    }
    double farthest = 0;
    for (const Point2& p : outline) farthest = std::max(farthest, std::hypot(p.x, p.y));
    for (Point2& p : outline) {
        p.x *= radius / farthest;
        p.y *= radius / farthest;
    }
    return outline;
}

std::vector<Point2> regularOutline(int corners, double startDegrees) {
    std::vector<Point2> outline;
    for (int i = 0; i < corners; ++i) {
        const double a = (startDegrees + 360.0 * i / corners) * Pi / 180;
        outline.push_back({std::cos(a), std::sin(a)});
    }
    return outline;
}

// Each side of the polygon split into pieces, the new points pushed out by bulge
// (a fraction of the side's length) so that the sides curve gently outward.
std::vector<Point2> subdivide(const std::vector<Point2>& corners, int pieces, double bulge) {
    std::vector<Point2> outline;
    for (size_t i = 0; i < corners.size(); ++i) {
        const Point2& a = corners[i];
        const Point2& b = corners[(i + 1) % corners.size()];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = std::hypot(dx, dy);
        for (int k = 0; k < pieces; ++k) {
            const double t = static_cast<double>(k) / pieces;
            const double push = bulge * length * std::sin(Pi * t);
            // The outward side of a counter-clockwise polygon is to the right of a→b.
            outline.push_back({a.x + dx * t + push * dy / length, a.y + dy * t - push * dx / length});
        }
    }
    return outline;
}

std::vector<Point2> heartOutline() {
    std::vector<Point2> outline;
    const int samples = 16;
    for (int k = 0; k < samples; ++k) {
        const double t = 2 * Pi * k / samples;
        const double s = std::sin(t);
        outline.push_back({16 * s * s * s,
                           13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t)});
    }
    double top = -1e9, bottom = 1e9;
    for (const Point2& p : outline) {
        top = std::max(top, p.y);
        bottom = std::min(bottom, p.y);
    }
    for (Point2& p : outline) p.y -= (top + bottom) / 2;
    return outline;
}

std::vector<Point2> starOutline(int points, double innerRatio) {
    std::vector<Point2> outline;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = (90.0 + 180.0 * i / points) * Pi / 180;
        const double r = i % 2 == 0 ? 1.0 : innerRatio;
        outline.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return outline;
}

std::vector<GemShape> gemShapes() {
    std::vector<GemShape> shapes;
    // 1: round brilliant.
    shapes.push_back({fitOutline(regularOutline(16, 0), 3.9), {{0.56, 1.45}, {1.0, 0.0}}, -2.9});
    // 2: square step cut with clipped corners.
    shapes.push_back({fitOutline({{3.1, -2.2}, {3.1, 2.2}, {2.2, 3.1}, {-2.2, 3.1},
                                  {-3.1, 2.2}, {-3.1, -2.2}, {-2.2, -3.1}, {2.2, -3.1}}, 4.0),
                      {{0.64, 1.3}, {1.0, 0.25}, {1.0, -0.25}, {0.62, -1.45}}, -2.4});
    // 3: trillion, a triangle with softly curved sides, point up.
    shapes.push_back({fitOutline(subdivide(regularOutline(3, 90), 3, 0.06), 4.2),
                      {{0.52, 1.3}, {1.0, 0.2}, {1.0, -0.2}}, -2.5});
    // 4: rhombus, taller than wide.
    shapes.push_back({fitOutline(subdivide({{0, -4.2}, {2.9, 0}, {0, 4.2}, {-2.9, 0}}, 2, 0.0), 4.2),
                      {{0.5, 1.35}, {1.0, 0.2}, {1.0, -0.2}}, -2.6});
    // 5: hexagon, step cut.
    shapes.push_back({fitOutline(regularOutline(6, 0), 4.0),
                      {{0.6, 1.35}, {0.84, 0.85}, {1.0, 0.2}, {1.0, -0.2}, {0.6, -1.35}}, -2.4});
    // 6: heart.
    shapes.push_back({fitOutline(heartOutline(), 4.1), {{0.55, 1.4}, {1.0, 0.0}}, -2.6});
    // 7: five-pointed star.
    shapes.push_back({fitOutline(starOutline(5, 0.48), 4.2), {{0.5, 1.2}, {1.0, 0.2}, {1.0, -0.2}}, -2.3});
    return shapes;
}

std::vector<Triangle> buildGem(const GemShape& shape) {
    const size_t n = shape.outline.size();
    std::vector<std::vector<Point3>> rings;
    for (const Ring& ring : shape.rings) {
        std::vector<Point3> points;
        for (const Point2& p : shape.outline) points.push_back({p.x * ring.scale, p.y * ring.scale, ring.z});
        rings.push_back(points);
    }
    std::vector<Triangle> triangles;
    // The table: a fan about its centre, facing +z.
    const Point3 tableCentre{0, 0, shape.rings.front().z};
    for (size_t i = 0; i < n; ++i) triangles.push_back({tableCentre, rings[0][i], rings[0][(i + 1) % n]});
    // Crown, girdle and pavilion steps: each band between two rings, facing outward.
    for (size_t r = 0; r + 1 < rings.size(); ++r) {
        const std::vector<Point3>& upper = rings[r];
        const std::vector<Point3>& lower = rings[r + 1];
        for (size_t i = 0; i < n; ++i) {
            const size_t j = (i + 1) % n;
            triangles.push_back({upper[i], lower[i], lower[j]});
            triangles.push_back({upper[i], lower[j], upper[j]});
        }
    }
    // The pavilion's last facets meet at the culet.
    const Point3 culet{0, 0, shape.culetZ};
    const std::vector<Point3>& last = rings.back();
    for (size_t i = 0; i < n; ++i) triangles.push_back({last[i], culet, last[(i + 1) % n]});
    return triangles;
}

void appendNumber(std::string& text, double value) {
    if (std::fabs(value) < 0.00005) value = 0;  // no "-0.0000"
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    text += buffer;
}

std::string meshText(const std::vector<Triangle>& triangles) {
    std::string text;
    for (const Triangle& triangle : triangles) {
        for (const Point3& p : triangle) {
            appendNumber(text, p.x);
            text += ' ';
            appendNumber(text, p.y);
            text += ' ';
            appendNumber(text, p.z);
            text += '\n';
        }
    }
    return text;
}

}  // namespace

bool writeMeshes(const std::string& gameDir) {
    bool ok = true;
    const std::vector<GemShape> shapes = gemShapes();
    for (size_t kind = 1; kind <= shapes.size(); ++kind) {
        const std::vector<Triangle> triangles = buildGem(shapes[kind - 1]);
        const std::string path = gameDir + "/base/s" + std::to_string(kind) + ".raw";
        if (triangles.size() > MaxMeshTriangles) {
            std::fprintf(stderr, "vortiq-data: %s would have %zu triangles, more than %d\n", path.c_str(),
                         triangles.size(), MaxMeshTriangles);
            ok = false;
            continue;
        }
        ok = writeFileSafely(path, meshText(triangles)) && ok;
    }
    return ok;
}
