// Gem meshes: loading base/sN.raw with flat and smoothed normals, and drawing.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "assets/assets.h"
#include "game/game.h"
#include "platform/platform.h"

GemMesh gemMeshes[8];

namespace {

// Corners closer than this are one corner.
const float SameCorner = 0.0001f;

enum class Scan { Record, End, Junk };

// One record: three numbers, then all white space after them. A number that
// does not scan, or scans to an infinity or a NaN, is junk.
Scan scanRecord(FILE* file, Vec3* out) {
    float x = 0, y = 0, z = 0;
    int got = std::fscanf(file, "%f %f %f\n", &x, &y, &z);
    if (got == EOF) return Scan::End;
    if (got != 3 || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return Scan::Junk;
    *out = Vec3(x, y, z);
    return Scan::Record;
}

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void resetMesh(GemMesh& mesh) {
    delete[] mesh.vertices;
    mesh.vertices = nullptr;
    mesh.vertexCount = 0;
    for (int i = 0; i < MeshVertexCapacity; ++i) {
        mesh.faceNormals[i] = Vec3(0, 0, 0);
        mesh.vertexNormals[i] = Vec3(0, 0, 0);
    }
}

// The number of records to keep. A file that breaks the format keeps what can
// be trusted: the records before the first text that is not three finite
// numbers, at most MeshVertexCapacity of them, cut down to whole triangles
// (so never more than 198). Each cut is reported on standard error.
int countRecords(FILE* file, const char* path) {
    Vec3 scratch;
    int scanned = 0;
    Scan last = Scan::End;
    while (scanned < MeshVertexCapacity && (last = scanRecord(file, &scratch)) == Scan::Record) ++scanned;
    if (scanned == MeshVertexCapacity) last = scanRecord(file, &scratch);

    int kept = scanned - scanned % 3;
    if (last == Scan::Junk) {
        std::fprintf(stderr, "vortiq: %s: record %d is not three numbers; keeping the %d vertices before it\n",
                     path, scanned + 1, kept);
    } else if (last == Scan::Record) {
        std::fprintf(stderr, "vortiq: %s: more than %d vertices; keeping the first %d\n", path,
                     MeshVertexCapacity, kept);
    } else if (kept != scanned) {
        std::fprintf(stderr, "vortiq: %s: %d vertices do not make whole triangles; keeping the first %d\n",
                     path, scanned, kept);
    }
    return kept;
}

// The face normal of a degenerate triangle (corners on one line, or so large
// that the cross product overflows) is the zero vector, so that it adds
// nothing to the corners it shares with good triangles.
Vec3 safeFaceNormal(const Vec3& a, const Vec3& b, const Vec3& c) {
    Vec3 n = faceNormal(a, b, c);
    return finite(n) ? n : Vec3(0, 0, 0);
}

// Every triangle with a corner on vertex h adds its face normal to h's normal,
// which is renormalised after each addition, in file order. A sum of zero
// length (a zero face normal onto a zero normal, or two opposite faces) leaves
// the normal as it was instead of dividing by zero.
void smoothNormals(GemMesh& mesh) {
    const int count = mesh.vertexCount;
    for (int h = 0; h < count; ++h) {
        const Vec3& corner = mesh.vertices[h];
        Vec3& normal = mesh.vertexNormals[h];
        for (int t = 0; t < count; t += 3) {
            bool touches = distance(corner, mesh.vertices[t]) < SameCorner ||
                           distance(corner, mesh.vertices[t + 1]) < SameCorner ||
                           distance(corner, mesh.vertices[t + 2]) < SameCorner;
            if (!touches) continue;
            Vec3 sum = normal + mesh.faceNormals[t];
            if (length(sum) > 0.0f) normal = normalize(sum);
        }
    }
}

}  // namespace

// Loading a mesh again replaces what was loaded before.
void loadGemMesh(int kind) {
    if (kind < 1 || kind > GemKinds) return;
    GemMesh& mesh = gemMeshes[kind];
    resetMesh(mesh);

    char path[32];
    std::snprintf(path, sizeof path, "base/s%d.raw", kind);
    FILE* file = std::fopen(path, "r");
    if (!file) {
        // The mesh stays empty and draws nothing.
        messageBox("Can't Open File", "Error", MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }

    int count = countRecords(file, path);
    mesh.vertices = new Vec3[count];
    std::rewind(file);
    int read = 0;
    while (read < count && scanRecord(file, &mesh.vertices[read]) == Scan::Record) ++read;
    std::fclose(file);
    mesh.vertexCount = read - read % 3;  // the file changed under us: whole triangles only

    for (int i = 0; i < mesh.vertexCount; i += 3) {
        Vec3 n = safeFaceNormal(mesh.vertices[i], mesh.vertices[i + 1], mesh.vertices[i + 2]);
        mesh.faceNormals[i] = n;
        mesh.faceNormals[i + 1] = n;
        mesh.faceNormals[i + 2] = n;
    }
    smoothNormals(mesh);
}

// Each triangle shows one half of the texture, the halves alternating.
void drawGemMesh(int kind) {
    if (kind < 1 || kind > GemKinds) return;
    static const GLfloat halves[2][3][2] = {{{0, 1}, {0, 0}, {1, 1}}, {{0, 0}, {1, 0}, {1, 1}}};
    const GemMesh& mesh = gemMeshes[kind];

    glScalef(0.1f, 0.1f, 0.1f);
    for (int i = 0; i + 2 < mesh.vertexCount; i += 3) {
        const GLfloat(*corners)[2] = halves[i % 2];
        glBegin(GL_TRIANGLES);
        for (int j = 0; j < 3; ++j) {
            const Vec3& n = mesh.vertexNormals[i + j];
            const Vec3& v = mesh.vertices[i + j];
            glNormal3f(n.x, n.y, n.z);
            glTexCoord2f(corners[j][0], corners[j][1]);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
    // Undone by multiplication, not by a push and pop.
    glScalef(10.0f, 10.0f, 10.0f);
}
