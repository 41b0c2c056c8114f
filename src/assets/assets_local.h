// What only the assets folder (and its tests) uses.
#pragma once

#include <GL/gl.h>

#include <cstdint>

// The whole mipmap chain of a power-of-two RGB picture (rows packed tightly,
// unpack alignment 1) into the bound 2D texture, the same levels that
// gluBuild2DMipmaps makes of it, stored in internalFormat (3 or
// GL_LUMINANCE). Returns 0, or a GLU error code.
GLint buildPowerOfTwoMipmaps(GLint width, GLint height, const uint8_t* rgb, GLint internalFormat);

struct RgbImage;
struct TexelRect;
// The largest rectangle around the middle of the white part of the mask in
// which the mask is white and the picture black (pictures of one size).
TexelRect findSeeThrough(const RgbImage& mask, const RgbImage& picture);

// A new context tries the large pictures again, even if they failed before.
void retrySharpPictures();
