// The gem meshes as the generator wrote them into the run directory.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct P { double x, y, z; };
P operator-(P a, P b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P cross(P a, P b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(P a, P b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(P a) { return std::sqrt(dot(a, a)); }

struct Mesh {
    std::vector<P> vertices;
    bool wellFormed = true;  // every line holds exactly three numbers
};

Mesh loadMesh(int kind) {
    Mesh mesh;
    std::ifstream in(std::string(VORTIQ_GAME_DIR) + "/base/s" + std::to_string(kind) + ".raw");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        P p;
        std::string extra;
        if (!(fields >> p.x >> p.y >> p.z) || (fields >> extra)) mesh.wellFormed = false;
        mesh.vertices.push_back(p);
    }
    return mesh;
}

// Positions are matched as the loader matches them, to a ten-thousandth.
std::tuple<long, long, long> key(P p) {
    return {std::lround(p.x * 10000), std::lround(p.y * 10000), std::lround(p.z * 10000)};
}

class GemMeshFile : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        mesh = loadMesh(GetParam());
        ASSERT_FALSE(mesh.vertices.empty()) << "base/s" << GetParam() << ".raw is missing or empty";
        ASSERT_TRUE(mesh.wellFormed);
        ASSERT_EQ(mesh.vertices.size() % 3, 0u);
    }
    P corner(size_t triangle, int k) const { return mesh.vertices[3 * triangle + k]; }
    size_t triangles() const { return mesh.vertices.size() / 3; }
    Mesh mesh;
};

TEST_P(GemMeshFile, FitsTheLoadersArrays) {
    EXPECT_LE(mesh.vertices.size(), 198u);
    EXPECT_GE(triangles(), 20u) << "too plain for a cut stone";
}

TEST_P(GemMeshFile, IsClosedAndConsistentlyWound) {
    // Each directed edge appears once, and its reverse exactly once in another triangle.
    std::map<std::pair<std::tuple<long, long, long>, std::tuple<long, long, long>>, int> edges;
    for (size_t t = 0; t < triangles(); ++t)
        for (int k = 0; k < 3; ++k) ++edges[{key(corner(t, k)), key(corner(t, (k + 1) % 3))}];
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1) << "an edge is used twice in one direction";
        const auto reverse = edges.find({edge.second, edge.first});
        ASSERT_NE(reverse, edges.end()) << "an edge has no neighbour: the mesh has a hole";
        EXPECT_EQ(reverse->second, 1);
    }
}

TEST_P(GemMeshFile, HasNoDegenerateTriangle) {
    for (size_t t = 0; t < triangles(); ++t) {
        const double area = length(cross(corner(t, 1) - corner(t, 0), corner(t, 2) - corner(t, 0))) / 2;
        EXPECT_GT(area, 0.01) << "triangle " << t;
    }
}

TEST_P(GemMeshFile, FacesOutward) {
    double volume = 0;
    P centre{0, 0, 0};
    for (const P& v : mesh.vertices) centre = {centre.x + v.x, centre.y + v.y, centre.z + v.z};
    centre = {centre.x / mesh.vertices.size(), centre.y / mesh.vertices.size(), centre.z / mesh.vertices.size()};
    for (size_t t = 0; t < triangles(); ++t) {
        const P a = corner(t, 0), b = corner(t, 1), c = corner(t, 2);
        volume += dot(a, cross(b, c)) / 6;
        const P normal = cross(b - a, c - a);  // the loader's face normal, unnormalised
        const P middle{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
        EXPECT_GT(dot(normal, middle - centre), 0) << "triangle " << t << " faces inward";
    }
    EXPECT_GT(volume, 20.0);
}

TEST_P(GemMeshFile, FillsItsCellWithoutReachingTheNeighbours) {
    double farthest = 0, front = -1e9, back = 1e9;
    for (const P& v : mesh.vertices) {
        farthest = std::max(farthest, length(v));
        front = std::max(front, v.z);
        back = std::min(back, v.z);
    }
    EXPECT_LE(farthest, 4.3);
    EXPECT_GE(farthest, 3.6);
    EXPECT_GT(front, 0.5) << "the crown rises toward the viewer";
    EXPECT_LT(back, -0.5) << "the pavilion lies behind";
}

TEST_P(GemMeshFile, ShowsAFlatTableToTheViewer) {
    double tableArea = 0;
    for (size_t t = 0; t < triangles(); ++t) {
        const P n = cross(corner(t, 1) - corner(t, 0), corner(t, 2) - corner(t, 0));
        if (n.z > 0.999 * length(n)) tableArea += length(n) / 2;
    }
    EXPECT_GT(tableArea, 3.0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, GemMeshFile, ::testing::Range(1, 8));

// The outline seen from the front, as a 48 x 48 coverage grid.
std::vector<bool> silhouette(const Mesh& mesh) {
    const int size = 48;
    std::vector<bool> grid(size * size, false);
    for (int gy = 0; gy < size; ++gy) {
        for (int gx = 0; gx < size; ++gx) {
            const double x = -4.5 + 9.0 * (gx + 0.5) / size, y = -4.5 + 9.0 * (gy + 0.5) / size;
            for (size_t t = 0; t + 2 < mesh.vertices.size() && !grid[gy * size + gx]; t += 3) {
                const P& a = mesh.vertices[t];
                const P& b = mesh.vertices[t + 1];
                const P& c = mesh.vertices[t + 2];
                const double d1 = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
                const double d2 = (c.x - b.x) * (y - b.y) - (c.y - b.y) * (x - b.x);
                const double d3 = (a.x - c.x) * (y - c.y) - (a.y - c.y) * (x - c.x);
                const bool negative = d1 < 0 || d2 < 0 || d3 < 0, positive = d1 > 0 || d2 > 0 || d3 > 0;
                if (!(negative && positive)) grid[gy * size + gx] = true;
            }
        }
    }
    return grid;
}

TEST(GemMeshes, OutlinesDifferSoKindsAreToldApartWithoutColour) {
    std::vector<std::vector<bool>> outlines;
    for (int kind = 1; kind <= 7; ++kind) outlines.push_back(silhouette(loadMesh(kind)));
    for (int i = 0; i < 7; ++i) {
        for (int j = i + 1; j < 7; ++j) {
            int both = 0, either = 0;
            for (size_t k = 0; k < outlines[i].size(); ++k) {
                both += outlines[i][k] && outlines[j][k];
                either += outlines[i][k] || outlines[j][k];
            }
            ASSERT_GT(either, 0);
            EXPECT_LT(static_cast<double>(both) / either, 0.88)
                << "kinds " << i + 1 << " and " << j + 1 << " look alike from the front";
        }
    }
}

}  // namespace
