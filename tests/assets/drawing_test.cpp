// What the gem meshes and the backdrop list send to GL, caught in feedback mode.
#include <GL/gl.h>

#include <array>
#include <cmath>
#include <sstream>

#include "assets/assets.h"
#include "assets/gl_context.h"
#include "assets/support.h"

namespace {

struct FedVertex {
    float x, y;  // window coordinates
    float s, t;  // texture coordinate
};

// Runs draw in feedback mode and returns the vertices of every polygon, in order.
template <typename Draw>
std::vector<FedVertex> feedback(Draw draw, int* polygons = nullptr) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    std::vector<FedVertex> out;
    if (polygons) *polygons = 0;
    // Each vertex: x, y, z, red, green, blue, alpha, s, t, r, q.
    for (GLint i = 0; i < used;) {
        GLint token = static_cast<GLint>(buffer[i++]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        GLint count = static_cast<GLint>(buffer[i++]);
        if (polygons) ++*polygons;
        for (GLint v = 0; v < count; ++v, i += 11) out.push_back({buffer[i], buffer[i + 1], buffer[i + 7], buffer[i + 8]});
    }
    return out;
}

std::array<GLfloat, 16> modelview() {
    std::array<GLfloat, 16> m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

void expectSameMatrix(const std::array<GLfloat, 16>& a, const std::array<GLfloat, 16>& b) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], 1e-5f) << i;
}

class Drawing : public GlTest {
protected:
    ScratchDirectory dir;
    MessageCatcher messages;
    void SetUp() override {
        GlTest::SetUp();
        // 40 pixels per unit, origin in the middle of the 640 x 480 view.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-8, 8, -6, 6, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    static float windowX(float x) { return (x + 8) * 40; }
    static float windowY(float y) { return (y + 6) * 40; }
};

TEST_F(Drawing, GemTrianglesShowAlternateHalvesOfTheTexture) {
    std::ostringstream mesh;
    for (int k = 0; k < 3; ++k) mesh << "0 0 0\n10 0 0\n0 20 0\n";
    ASSERT_TRUE(writeText("base/s2.raw", mesh.str()));
    loadGemMesh(2);
    glRotatef(30, 1, 1, 0);
    auto before = modelview();
    int polygons = 0;
    auto vertices = feedback([] { drawGemMesh(2); }, &polygons);
    expectSameMatrix(modelview(), before);
    ASSERT_EQ(polygons, 3);
    ASSERT_EQ(vertices.size(), 9u);
    const float want[9][2] = {{0, 1}, {0, 0}, {1, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 1}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_FLOAT_EQ(vertices[i].s, want[i][0]) << i;
        EXPECT_FLOAT_EQ(vertices[i].t, want[i][1]) << i;
    }
    // Model units are shrunk tenfold.
    glLoadIdentity();
    vertices = feedback([] { drawGemMesh(2); });
    EXPECT_NEAR(vertices[1].x, windowX(1), 0.01);
    EXPECT_NEAR(vertices[2].y, windowY(2), 0.01);
}

TEST_F(Drawing, EmptyOrUnknownMeshDrawsNothingAndKeepsTheMatrix) {
    ASSERT_TRUE(writeText("base/s5.raw", ""));
    loadGemMesh(5);
    glTranslatef(1, 2, 3);
    auto before = modelview();
    int polygons = -1;
    feedback(
        [] {
            drawGemMesh(5);
            drawGemMesh(0);
            drawGemMesh(8);
        },
        &polygons);
    EXPECT_EQ(polygons, 0);
    expectSameMatrix(modelview(), before);
}

TEST_F(Drawing, BackdropIsATiledSquareThatUndoesItsTranslation) {
    buildDisplayLists();
    ASSERT_TRUE(glIsList(backgroundList));
    glRotatef(10, 0, 0, 1);
    glRotatef(-10, 0, 0, 1);
    auto before = modelview();
    int polygons = 0;
    auto vertices = feedback([] { glCallList(backgroundList); }, &polygons);
    expectSameMatrix(modelview(), before);
    EXPECT_EQ(polygons, 2);
    ASSERT_EQ(vertices.size(), 6u);
    // Every corner carries its own texture coordinate: (0, 0) bottom left,
    // (5, 5) top right, around the centre (0.2, 0.5).
    for (const FedVertex& v : vertices) {
        float x = v.s == 0 ? -5.35f : 5.35f;
        float y = v.t == 0 ? -5.35f : 5.35f;
        EXPECT_TRUE(v.s == 0 || v.s == 5) << v.s;
        EXPECT_TRUE(v.t == 0 || v.t == 5) << v.t;
        EXPECT_NEAR(v.x, windowX(x + 0.2f), 0.01) << v.s << "," << v.t;
        EXPECT_NEAR(v.y, windowY(y + 0.5f), 0.01) << v.s << "," << v.t;
    }
}

}  // namespace
