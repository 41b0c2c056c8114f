// The texture table: all 81 pictures, made together or not at all.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "assets/assets.h"

uint32_t textures[TextureCount];

namespace {

// The power of two that gluBuild2DMipmaps would pick for a side: the nearest
// one, halfway rounding up (3 -> 4, 5 -> 4, 6 -> 8).
GLint nearestPowerOfTwo(GLint side) {
    GLint power = 1;
    while (power * 2 <= side) power *= 2;
    return side - power >= power / 2 && power != side ? power * 2 : power;
}

// Builds the mipmaps of one picture into the bound texture; rows packed
// tightly (the unpack and pack alignments are 1 here). A picture whose sides
// are not powers of two is first brought to the power-of-two size with
// gluScaleImage: the rescaling inside gluBuild2DMipmaps loses the top row
// when only the width changes.
GLint buildMipmaps(const RgbImage& image) {
    GLint width = nearestPowerOfTwo(image.width), height = nearestPowerOfTwo(image.height);
    if (width == image.width && height == image.height)
        return gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                                 image.pixels);
    std::unique_ptr<uint8_t[]> scaled(new (std::nothrow) uint8_t[static_cast<size_t>(width) * height * 3]);
    if (!scaled) return GLU_OUT_OF_MEMORY;
    GLint error = gluScaleImage(GL_RGB, image.width, image.height, GL_UNSIGNED_BYTE, image.pixels, width, height,
                                GL_UNSIGNED_BYTE, scaled.get());
    if (error != 0) return error;
    return gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, scaled.get());
}

}  // namespace

// Reads base/tex00.bmp .. base/tex80.bmp in order. The first file that gives
// no picture ends the reading (the reader names it on standard error); then
// no texture is made and the table keeps its old names.
bool createTextures() {
    RgbImage* images[TextureCount] = {};
    bool ok = true;
    for (int nn = 0; nn < TextureCount && ok; ++nn) {
        char path[32];
        std::snprintf(path, sizeof path, "base/tex%02d.bmp", nn);
        images[nn] = readBitmapFile(path);
        ok = images[nn] != nullptr;
    }

    if (ok) {
        GLuint names[TextureCount];
        glGenTextures(TextureCount, names);
        // The decoded rows are packed tightly, whatever the picture's width.
        GLint unpackAlignment = 4, packAlignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
        glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        for (int nn = 0; nn < TextureCount && ok; ++nn) {
            const RgbImage& image = *images[nn];
            glBindTexture(GL_TEXTURE_2D, names[nn]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
            GLint error = buildMipmaps(image);
            if (error != 0) {
                std::fprintf(stderr, "vortiq: base/tex%02d.bmp: the texture could not be made (%s)\n", nn,
                             reinterpret_cast<const char*>(gluErrorString(error)));
                ok = false;
            }
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
        glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
        if (ok) {
            std::memcpy(textures, names, sizeof textures);
        } else {
            glDeleteTextures(TextureCount, names);
        }
    }

    for (RgbImage* image : images) freeRgbImage(image);
    return ok;
}
