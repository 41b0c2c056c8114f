// The texture table: all 81 pictures, made together or not at all.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>

#include "assets/assets.h"

uint32_t textures[TextureCount];

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
        GLint alignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (int nn = 0; nn < TextureCount && ok; ++nn) {
            const RgbImage& image = *images[nn];
            glBindTexture(GL_TEXTURE_2D, names[nn]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
            GLint error = gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                                            image.pixels);
            if (error != 0) {
                std::fprintf(stderr, "vortiq: base/tex%02d.bmp: the texture could not be made (%s)\n", nn,
                             reinterpret_cast<const char*>(gluErrorString(error)));
                ok = false;
            }
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        if (ok) {
            std::memcpy(textures, names, sizeof textures);
        } else {
            glDeleteTextures(TextureCount, names);
        }
    }

    for (RgbImage* image : images) freeRgbImage(image);
    return ok;
}
