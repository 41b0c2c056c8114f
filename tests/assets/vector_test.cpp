// Vector maths of the gem meshes.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/assets.h"

namespace {

void expectVec(const Vec3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(VectorMaths, SumAndDifferenceWorkComponentwise) {
    Vec3 a(1, 2, 3), b(0.5f, -4, 10);
    expectVec(a + b, 1.5f, -2, 13);
    expectVec(a - b, 0.5f, 6, -7);
    expectVec(b - a, -0.5f, -6, 7);
}

TEST(VectorMaths, CrossProductFollowsTheRightHand) {
    expectVec(cross(Vec3(1, 0, 0), Vec3(0, 1, 0)), 0, 0, 1);
    expectVec(cross(Vec3(0, 1, 0), Vec3(1, 0, 0)), 0, 0, -1);
    expectVec(cross(Vec3(2, 3, 4), Vec3(5, 6, 7)), 3 * 7 - 4 * 6, 4 * 5 - 2 * 7, 2 * 6 - 3 * 5);
}

TEST(VectorMaths, LengthNormalizeAndDistance) {
    EXPECT_FLOAT_EQ(length(Vec3(3, 0, 4)), 5);
    expectVec(normalize(Vec3(3, 0, 4)), 0.6f, 0, 0.8f);
    // Summed in double precision: no overflow or underflow of the squares.
    EXPECT_FLOAT_EQ(length(Vec3(3e20f, 4e20f, 0)), 5e20f);
    EXPECT_FLOAT_EQ(length(Vec3(3e-25f, 4e-25f, 0)), 5e-25f);
    Vec3 p(1.5f, -2, 7);
    EXPECT_EQ(distance(p, p), 0.0f);
    EXPECT_FLOAT_EQ(distance(Vec3(4, 5, 1), Vec3(1, 1, 1)), 5);
}

TEST(VectorMaths, FaceNormalFollowsCornerOrder) {
    Vec3 a(0, 0, 0), b(1, 0, 0), c(0, 1, 0);
    expectVec(faceNormal(a, b, c), 0, 0, 1);
    expectVec(faceNormal(a, c, b), 0, 0, -1);
    // The same triangle moved and enlarged still gives a unit normal.
    expectVec(faceNormal(Vec3(5, 5, 5), Vec3(5, 9, 5), Vec3(5, 5, 9)), 1, 0, 0);
}

}  // namespace
