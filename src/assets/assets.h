// Assets: gem meshes, textures, display lists, the bitmap font, and the
// start-up initialisation that makes them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/pictures.h"

struct Vec3 {
    float x, y, z;
    Vec3() {}
    Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
};
Vec3 operator-(const Vec3& a, const Vec3& b);
Vec3 operator+(const Vec3& a, const Vec3& b);
Vec3 cross(const Vec3& a, const Vec3& b);
float length(const Vec3& a);
Vec3 normalize(const Vec3& a);
float distance(const Vec3& a, const Vec3& b);
Vec3 faceNormal(const Vec3& a, const Vec3& b, const Vec3& c);

constexpr int MeshVertexCapacity = 200;
struct GemMesh {
    int32_t vertexCount;
    Vec3* vertices;
    Vec3 faceNormals[MeshVertexCapacity];
    Vec3 vertexNormals[MeshVertexCapacity];
};
extern GemMesh gemMeshes[8];  // entries 1..7, after the gem kind

// Reads base/sN.raw for kind N (1..7), replacing what the mesh held. A missing
// file shows "Can't Open File" and leaves the mesh empty; a file that breaks
// the format keeps its whole triangles before the fault (at most 66) and says
// so on standard error.
void loadGemMesh(int kind);
void drawGemMesh(int kind);

constexpr int TextureCount = PictureCount;
// Where the pictures lie: the set drawn for the layouts' own pixels, and the
// same pictures drawn at twice the size for screens that show the layout at
// 1.5 times or more.
constexpr const char* PicturePathFormat = "base/tex%02d.bmp";
constexpr const char* SharpPictureFolder = "base/2x";
constexpr const char* SharpPicturePathFormat = "base/2x/tex%02d.bmp";
extern uint32_t textures[TextureCount];  // the GL texture of each picture
// The texture of a picture; 0 (no texture) for Picture::None.
inline uint32_t textureOf(Picture picture) {
    const int number = pictureNumber(picture);
    return number >= 0 && number < TextureCount ? textures[number] : 0;
}

struct RgbImage {
    int32_t width;
    int32_t height;
    uint8_t* pixels;  // width * height * 3 bytes, bottom row first
    uint8_t* alpha;   // width * height bytes, bottom row first; nullptr: the picture has no alpha
};
// Reads and decodes a BMP file. On failure returns nullptr and prints one
// line to standard error naming the file and what is wrong with it.
RgbImage* readBitmapFile(const char* path);
// Decodes a BMP held in memory. On failure returns nullptr and, when problem
// is given, writes a short description of what is wrong into it.
RgbImage* decodeBitmap(const uint8_t* data, size_t size, char* problem, size_t problemSize);
void freeRgbImage(RgbImage* image);  // the pixels and the record; nullptr is fine
// The largest picture the reader makes: each side at most MaxBitmapSide and
// at most MaxBitmapPixels pixels in all (a 4096 x 4096 picture).
constexpr int32_t MaxBitmapSide = 8192;
constexpr int64_t MaxBitmapPixels = 4096 * 4096;
// Which set createTextures reads: 1 (base/) or 2 (base/2x/, for a layout
// shown at 1.5 times its size or more).
extern int pictureDensityWanted;
extern int pictureDensityLoaded;  // of the textures in the table; 0 before any
// The scale at which the layout is shown (the shell's fit). The pictures
// drawn in the board get all their mipmap levels; the flat ones get level 0
// alone while the layout is shown at its set's own size or larger, the only
// level the GL samples there, and all of them below that.
extern float pictureLayoutScale;
bool createTextures();
// The table holds the other set than the one wanted (and readable), or the
// flat pictures lack the levels the scale needs (or have ones it does not).
bool pictureSetOutdated();
// Where the frame (mask picture 1, picture 2) leaves the screen as it is: a
// rectangle of level-0 texels, inclusive, in which the mask is white and the
// picture black; right < left when there is none. Outside the outer
// rectangle (the bounds of the mask's texels that are not black) the frame
// covers whatever lies below; outerRight < outerLeft when unknown. Made by
// createTextures.
struct TexelRect {
    int32_t left, bottom, right, top;
    int32_t textureWidth, textureHeight;
    int32_t outerLeft, outerBottom, outerRight, outerTop;
};
extern TexelRect frameOpening;

extern uint32_t backgroundList;
void buildDisplayLists();

extern uint32_t fontBase;
void createFontLists();
void deleteFontLists();
// Text is printed in a space of its own over the picture, origin bottom
// left, a glyph a square whose neighbours overlap.
constexpr int TextSpaceWidth = 640;
constexpr int TextSpaceHeight = 480;
constexpr int GlyphSize = 19;     // side of a glyph's square
constexpr int GlyphAdvance = 14;  // pen step from one glyph to the next
void drawText(int x, int y, int set, const char* format, ...);
// The characters of a text that have a glyph (32..127): the others are left out.
bool hasGlyph(char c);

// Gives the cursor's light (GL_LIGHT3) its colours, or black ones: a black
// light adds exactly nothing to what it shines on. The gems are drawn with it
// on throughout, so that all of them share one lighting program in the GL
// (each set of lights switched on is a program of its own, built and kept
// for the rest of the game); only the gem under the cursor gets the colours.
void setCursorLight(bool lit);

extern uint8_t firstStartUp;  // 1 until the first successful initAtStartUp
bool initAtStartUp();
