// The gem mesh loader on arbitrary text in base/s1.raw: whole triangles of
// finite corners within the mesh's room, and finite normals.
#include <cmath>
#include <cstdint>

#include "assets/assets.h"
#include "scratch.h"

namespace {

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    writeBaseFile("s1.raw", data, size);
    loadGemMesh(1);

    const GemMesh& mesh = gemMeshes[1];
    FUZZ_EXPECT(mesh.vertexCount >= 0 && mesh.vertexCount <= MeshVertexCapacity);
    FUZZ_EXPECT(mesh.vertexCount % 3 == 0);
    for (int i = 0; i < mesh.vertexCount; ++i) {
        FUZZ_EXPECT(finite(mesh.vertices[i]));
        FUZZ_EXPECT(finite(mesh.faceNormals[i]));
        FUZZ_EXPECT(finite(mesh.vertexNormals[i]));
        // A vertex normal is a unit vector or, where every face touching the
        // corner is degenerate, the zero vector.
        const float n = length(mesh.vertexNormals[i]);
        FUZZ_EXPECT(n == 0.0f || std::fabs(n - 1.0f) < 1e-3f);
    }
    return 0;
}
