// The game's own data, as the build generates it into the run directory,
// goes through these readers without a complaint.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "assets/assets.h"
#include "assets/gl_context.h"
#include "assets/support.h"

namespace {

class GeneratedData : public GlTest {
protected:
    std::filesystem::path previous;
    MessageCatcher messages;
    void SetUp() override {
        const std::filesystem::path base = std::filesystem::path(VORTIQ_GAME_DIR) / "base";
        ASSERT_TRUE(std::filesystem::exists(base / "tex00.bmp") && std::filesystem::exists(base / "s1.raw"))
            << "the build writes the game's data into " << base << " before the tests run";
        GlTest::SetUp();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(VORTIQ_GAME_DIR);
    }
    void TearDown() override {
        if (!previous.empty()) std::filesystem::current_path(previous);
        GlTest::TearDown();
    }
};

TEST_F(GeneratedData, EveryPictureLoads) {
    testing::internal::CaptureStderr();
    EXPECT_TRUE(createTextures());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (int nn = 0; nn < TextureCount; ++nn) {
        char path[32];
        std::snprintf(path, sizeof path, "base/tex%02d.bmp", nn);
        RgbImage* image = readBitmapFile(path);
        ASSERT_NE(image, nullptr) << path;
        // The pictures are made at power-of-two sizes, which the mipmap builder takes as they are.
        EXPECT_EQ(image->width & (image->width - 1), 0) << path;
        EXPECT_EQ(image->height & (image->height - 1), 0) << path;
        freeRgbImage(image);
    }
}

TEST_F(GeneratedData, EveryMeshLoadsWithUnitNormals) {
    testing::internal::CaptureStderr();
    for (int kind = 1; kind <= 7; ++kind) loadGemMesh(kind);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(messages.shown.empty());
    for (int kind = 1; kind <= 7; ++kind) {
        const GemMesh& mesh = gemMeshes[kind];
        EXPECT_GE(mesh.vertexCount, 12) << kind;
        EXPECT_EQ(mesh.vertexCount % 3, 0) << kind;
        for (int i = 0; i < mesh.vertexCount; ++i) {
            ASSERT_NEAR(length(mesh.faceNormals[i]), 1.0f, 1e-4f) << "kind " << kind << " vertex " << i;
            ASSERT_NEAR(length(mesh.vertexNormals[i]), 1.0f, 1e-4f) << "kind " << kind << " vertex " << i;
        }
        // The gems are convex: every face normal points away from the middle.
        Vec3 middle(0, 0, 0);
        for (int i = 0; i < mesh.vertexCount; ++i) middle = middle + mesh.vertices[i];
        middle = Vec3(middle.x / mesh.vertexCount, middle.y / mesh.vertexCount, middle.z / mesh.vertexCount);
        for (int t = 0; t < mesh.vertexCount; t += 3) {
            Vec3 centre = mesh.vertices[t] + mesh.vertices[t + 1] + mesh.vertices[t + 2];
            Vec3 out = Vec3(centre.x / 3, centre.y / 3, centre.z / 3) - middle;
            const Vec3& n = mesh.faceNormals[t];
            EXPECT_GT(n.x * out.x + n.y * out.y + n.z * out.z, 0.0f) << "kind " << kind << " triangle " << t / 3;
        }
    }
}

}  // namespace
