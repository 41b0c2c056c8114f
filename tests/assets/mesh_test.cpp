// Gem mesh files: loading, normals, smoothing, and files that break the format.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "assets/assets.h"
#include "assets/support.h"

namespace {

struct Tri {
    Vec3 a, b, c;
};

std::string meshText(const std::vector<Tri>& triangles) {
    std::ostringstream out;
    out.precision(9);
    for (const Tri& t : triangles)
        for (const Vec3& v : {t.a, t.b, t.c}) out << v.x << ' ' << v.y << ' ' << v.z << '\n';
    return out.str();
}

void expectVec(const Vec3& v, const Vec3& w, float tolerance = 1e-6f) {
    EXPECT_NEAR(v.x, w.x, tolerance);
    EXPECT_NEAR(v.y, w.y, tolerance);
    EXPECT_NEAR(v.z, w.z, tolerance);
}

class MeshLoading : public ::testing::Test {
protected:
    ScratchDirectory dir;
    MessageCatcher messages;

    const GemMesh& load(const std::string& text, int kind = 3) {
        EXPECT_TRUE(writeText("base/s" + std::to_string(kind) + ".raw", text));
        loadGemMesh(kind);
        return gemMeshes[kind];
    }
    const GemMesh& load(const std::vector<Tri>& triangles, int kind = 3) { return load(meshText(triangles), kind); }
};

TEST_F(MeshLoading, OneTriangleKeepsItsOwnNormalEverywhere) {
    const GemMesh& m = load({{Vec3(0, 0, 0), Vec3(2, 0, 0), Vec3(0, 2, 0)}});
    ASSERT_EQ(m.vertexCount, 3);
    expectVec(m.vertices[1], Vec3(2, 0, 0));
    for (int i = 0; i < 3; ++i) {
        expectVec(m.faceNormals[i], Vec3(0, 0, 1));
        expectVec(m.vertexNormals[i], m.faceNormals[0]);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MeshLoading, EmptyFileGivesAnEmptyMesh) {
    const GemMesh& m = load("");
    EXPECT_EQ(m.vertexCount, 0);
    expectVec(m.vertexNormals[0], Vec3(0, 0, 0));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MeshLoading, AnyWhiteSpaceLayoutScans) {
    const GemMesh& m = load("  0 0 0\n\n1\t0 0 0 1\n   0\n\n");
    ASSERT_EQ(m.vertexCount, 3);
    expectVec(m.vertices[2], Vec3(0, 1, 0));
}

TEST_F(MeshLoading, SharedEdgeSmoothsOnlyTheSharedCorners) {
    // Two triangles folded along the y axis: one faces +z, the other +x.
    Tri flat = {Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(-1, 0, 0)};
    Tri wall = {Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1)};
    Vec3 p = faceNormal(flat.a, flat.b, flat.c), q = faceNormal(wall.a, wall.b, wall.c);
    ASSERT_NEAR(p.z, 1, 1e-6);
    ASSERT_NEAR(q.x, 1, 1e-6);
    const GemMesh& m = load({flat, wall});
    ASSERT_EQ(m.vertexCount, 6);
    Vec3 shared = normalize(p + q);
    expectVec(m.vertexNormals[0], shared);  // (0,0,0) in the first triangle
    expectVec(m.vertexNormals[1], shared);  // (0,1,0)
    expectVec(m.vertexNormals[3], shared);
    expectVec(m.vertexNormals[4], shared);
    expectVec(m.vertexNormals[2], p);  // unshared corners keep a hard edge
    expectVec(m.vertexNormals[5], q);
}

TEST_F(MeshLoading, ThreeTrianglesAtACornerGiveTheRunningSum) {
    // Three faces of a cube corner at the origin, in file order p, q, r.
    Tri t1 = {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)};   // (0,0,1)
    Tri t2 = {Vec3(0, 0, 0), Vec3(0, 0, 1), Vec3(1, 0, 0)};   // (0,1,0)
    Tri t3 = {Vec3(0, 0, 0), Vec3(0, 2, 0), Vec3(0, 0, 3)};   // (1,0,0)
    Vec3 p = faceNormal(t1.a, t1.b, t1.c), q = faceNormal(t2.a, t2.b, t2.c), r = faceNormal(t3.a, t3.b, t3.c);
    const GemMesh& m = load({t1, t2, t3});
    Vec3 running = normalize(r + normalize(p + q));
    for (int i : {0, 3, 6}) expectVec(m.vertexNormals[i], running);
    // Not the plain average: the last triangle weighs more.
    Vec3 average = normalize(p + q + r);
    EXPECT_GT(std::fabs(running.x - average.x), 0.1f);
    EXPECT_GT(m.vertexNormals[0].x, m.vertexNormals[0].z);
}

TEST_F(MeshLoading, TwoCornersOfOneTriangleNearAVertexCountOnce) {
    // The sliver has two corners within the threshold of vertex 0 of the first
    // triangle; counted twice, vertex 0 would lean further towards it.
    Tri base = {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)};
    Tri sliver = {Vec3(0, 0, 0), Vec3(0, 0, 0.00005f), Vec3(0, -1, 0.5f)};
    Vec3 p = faceNormal(base.a, base.b, base.c), s = faceNormal(sliver.a, sliver.b, sliver.c);
    const GemMesh& m = load({base, sliver});
    expectVec(m.vertexNormals[0], normalize(p + s));
}

TEST_F(MeshLoading, CornersCloserThanTheThresholdAreOne) {
    Tri a = {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)};
    Tri b = {Vec3(0.00009f, 0, 0), Vec3(0, 0, 1), Vec3(1, 0, 0)};
    Vec3 p = faceNormal(a.a, a.b, a.c), q = faceNormal(b.a, b.b, b.c);
    const GemMesh& m = load({a, b});
    expectVec(m.vertexNormals[0], normalize(p + q));
    expectVec(m.vertexNormals[3], normalize(q + p), 1e-5f);
}

TEST_F(MeshLoading, CornersAtTheThresholdOrBeyondStaySeparate) {
    for (float gap : {0.0001f, 0.00011f}) {
        Tri a = {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)};
        Tri b = {Vec3(0, 0, gap), Vec3(0, 0, 1), Vec3(0, -1, 0)};
        Vec3 p = faceNormal(a.a, a.b, a.c), q = faceNormal(b.a, b.b, b.c);
        const GemMesh& m = load({a, b});
        expectVec(m.vertexNormals[0], p);
        expectVec(m.vertexNormals[3], q);
    }
}

TEST_F(MeshLoading, LoadingAgainReplacesTheMesh) {
    load({{Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)}, {Vec3(5, 0, 0), Vec3(6, 0, 0), Vec3(5, 1, 0)}});
    const GemMesh& m = load({{Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(1, 0, 0)}});
    EXPECT_EQ(m.vertexCount, 3);
    expectVec(m.vertexNormals[0], Vec3(0, 0, -1));
    expectVec(m.vertexNormals[3], Vec3(0, 0, 0));
}

TEST_F(MeshLoading, MissingFileShowsTheMessageAndLeavesTheMeshEmpty) {
    load({{Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)}}, 6);
    std::remove("base/s6.raw");
    loadGemMesh(6);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Can't Open File");
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(gemMeshes[6].vertexCount, 0);
}

// ---------------------------------------------------------------------------
// Files that break the format

std::string records(int count) {
    std::ostringstream out;
    for (int i = 0; i < count; ++i) out << i % 3 << ' ' << (i % 3 == 1 ? i : 0) << ' ' << i / 3 << '\n';
    return out.str();
}

TEST_F(MeshLoading, TooManyRecordsKeepTheFirst66Triangles) {
    for (int count : {200, 201, 1000}) {
        const GemMesh& m = load(records(count));
        EXPECT_EQ(m.vertexCount, 198) << count;
        expectVec(m.vertices[197], Vec3(2, 0, 65));
    }
}

TEST_F(MeshLoading, FullFileOf198RecordsLoadsWhole) {
    testing::internal::CaptureStderr();
    const GemMesh& m = load(records(198));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(m.vertexCount, 198);
}

TEST_F(MeshLoading, PartTriangleAtTheEndIsDropped) {
    for (int count : {4, 5}) {
        testing::internal::CaptureStderr();
        const GemMesh& m = load(records(count));
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(m.vertexCount, 3);
        EXPECT_NE(said.find("base/s3.raw"), std::string::npos) << said;
    }
}

TEST_F(MeshLoading, TextThatIsNotANumberEndsTheFile) {
    // Without the stop, the counting pass would never get past the word.
    const GemMesh& m = load(records(7) + "1 2 gem\n" + records(6));
    EXPECT_EQ(m.vertexCount, 6);
    const GemMesh& n = load("0 0 0\n1 0 0\n0 1 0\nx y z\n");
    EXPECT_EQ(n.vertexCount, 3);
    const GemMesh& o = load("0 0 0\n1 0 0\n0 1 0\n0 0 1\n1 0");  // cut off in a record
    EXPECT_EQ(o.vertexCount, 3);
    const GemMesh& p = load(records(3) + "nan 0 0\n1 0 0\n0 1 0\n");  // not finite
    EXPECT_EQ(p.vertexCount, 3);
}

TEST_F(MeshLoading, DegenerateTriangleDoesNotPoisonItsNeighbours) {
    Tri good = {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)};
    Tri line = {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(2, 0, 0)};  // all corners on one line
    Tri point = {Vec3(0, 1, 0), Vec3(0, 1, 0), Vec3(0, 1, 0)};
    const GemMesh& m = load({line, good, point});
    for (int i = 0; i < m.vertexCount; ++i) {
        EXPECT_TRUE(std::isfinite(m.vertexNormals[i].x) && std::isfinite(m.vertexNormals[i].y) &&
                    std::isfinite(m.vertexNormals[i].z))
            << i;
    }
    // The good triangle's corners keep its normal, though they touch the others.
    for (int i = 3; i < 6; ++i) expectVec(m.vertexNormals[i], Vec3(0, 0, 1));
    // The line's corners that the good triangle touches take its normal; the
    // one it does not touch has none.
    expectVec(m.vertexNormals[0], Vec3(0, 0, 1));
    expectVec(m.vertexNormals[2], Vec3(0, 0, 0));
    expectVec(m.faceNormals[0], Vec3(0, 0, 0));
}

TEST_F(MeshLoading, OppositeFacesOnOneCornerKeepAUnitNormal) {
    Tri up = {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)};
    Tri down = {Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(1, 0, 0)};
    const GemMesh& m = load({up, down});
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(std::isfinite(m.vertexNormals[i].x)) << i;
        EXPECT_NEAR(length(m.vertexNormals[i]), 1.0f, 1e-6f) << i;
    }
}

}  // namespace
