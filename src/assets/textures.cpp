// The texture table: all 81 pictures, made together or not at all.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "assets/assets.h"
#include "assets/assets_local.h"
#include "game/game.h"

uint32_t textures[TextureCount];
TexelRect frameOpening = {0, 0, -1, -1, 0, 0, 0, 0, -1, -1};

namespace {

// The power of two that gluBuild2DMipmaps would pick for a side: the nearest
// one, halfway rounding up (3 -> 4, 5 -> 4, 6 -> 8).
GLint nearestPowerOfTwo(GLint side) {
    GLint power = 1;
    while (power * 2 <= side) power *= 2;
    return side - power >= power / 2 && power != side ? power * 2 : power;
}

// Whether the GL takes a level 0 of this size; otherwise GLU shrinks the picture first.
bool fitsTexture(GLint width, GLint height) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (width > largest || height > largest) return false;
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    GLint granted = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &granted);
    return granted == width;
}

bool isPowerOfTwo(GLint side) { return side > 0 && (side & (side - 1)) == 0; }

// A picture whose every pixel has red = green = blue (the masks, the font) is
// kept as a luminance texture: one byte a texel in the GL instead of four. In
// the modulating texture environment a luminance texel L draws exactly as the
// texel (L, L, L, 1) would.
bool isGrey(const RgbImage& image) {
    const size_t count = static_cast<size_t>(image.width) * image.height;
    for (const uint8_t *pixel = image.pixels, *end = pixel + count * 3; pixel != end; pixel += 3)
        if (pixel[0] != pixel[1] || pixel[1] != pixel[2]) return false;
    return true;
}

// One mipmap level from the one above it, the way GLU's builder makes it: a
// 2 x 2 box with rounding, or a pair without rounding once one side is 1.
void halveLevel(const uint8_t* in, GLint width, GLint height, uint8_t* out) {
    if (width == 1 || height == 1) {
        const size_t count = static_cast<size_t>(width > height ? width : height) / 2 * 3;
        for (size_t i = 0; i < count; ++i) {
            const size_t pair = i / 3 * 6 + i % 3;
            out[i] = static_cast<uint8_t>((in[pair] + in[pair + 3]) / 2);
        }
        return;
    }
    const size_t row = static_cast<size_t>(width) * 3;
    for (GLint y = 0; y < height / 2; ++y) {
        const uint8_t* top = in + 2 * y * row;
        const uint8_t* bottom = top + row;
        for (GLint x = 0; x < width / 2; ++x, top += 6, bottom += 6, out += 3) {
            for (int k = 0; k < 3; ++k)
                out[k] = static_cast<uint8_t>((top[k] + top[k + 3] + bottom[k] + bottom[k + 3] + 2) / 4);
        }
    }
}

}  // namespace

// The full chain of a power-of-two picture into the bound texture, level by
// level down to 1 x 1, with the same box filter as gluBuild2DMipmaps; two
// scratch buffers serve every level. Rows packed tightly.
GLint buildPowerOfTwoMipmaps(GLint width, GLint height, const uint8_t* rgb, GLint internalFormat) {
    // Level 1 is the largest level made here; each later one is no larger.
    const size_t firstLevel = static_cast<size_t>(width > 1 ? width / 2 : 1) * (height > 1 ? height / 2 : 1) * 3;
    std::unique_ptr<uint8_t[]> scratch(new (std::nothrow) uint8_t[2 * firstLevel]);
    if (!scratch) return GLU_OUT_OF_MEMORY;
    uint8_t* buffers[2] = {scratch.get(), scratch.get() + firstLevel};
    const uint8_t* level = rgb;
    for (GLint n = 0;; ++n) {
        glTexImage2D(GL_TEXTURE_2D, n, internalFormat, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, level);
        if (width == 1 && height == 1) return 0;
        uint8_t* next = buffers[n % 2];
        halveLevel(level, width, height, next);
        level = next;
        if (width > 1) width /= 2;
        if (height > 1) height /= 2;
    }
}

namespace {

// Builds one picture into the bound texture and sets its filters; rows
// packed tightly (the unpack and pack alignments are 1 here). A power-of-two
// picture that the GL takes at its size gets its chain from
// buildPowerOfTwoMipmaps, without the generic conversions of GLU. A picture
// whose sides are not powers of two is first brought to the power-of-two
// size with gluScaleImage: the rescaling inside gluBuild2DMipmaps loses the
// top row when only the width changes. Without wholeChain a picture that the
// GL takes at that size gets level 0 alone, filtered linearly both ways.
GLint buildPicture(const RgbImage& image, bool wholeChain) {
    const GLint internalFormat = isGrey(image) ? GL_LUMINANCE : 3;
    GLint width = nearestPowerOfTwo(image.width), height = nearestPowerOfTwo(image.height);
    const bool taken = isPowerOfTwo(width) && isPowerOfTwo(height) && fitsTexture(width, height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, wholeChain || !taken ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
    const uint8_t* pixels = image.pixels;
    std::unique_ptr<uint8_t[]> scaled;
    if (width != image.width || height != image.height) {
        scaled.reset(new (std::nothrow) uint8_t[static_cast<size_t>(width) * height * 3]);
        if (!scaled) return GLU_OUT_OF_MEMORY;
        GLint error = gluScaleImage(GL_RGB, image.width, image.height, GL_UNSIGNED_BYTE, image.pixels, width, height,
                                    GL_UNSIGNED_BYTE, scaled.get());
        if (error != 0) return error;
        pixels = scaled.get();
    }
    if (taken && !wholeChain) {
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
        return 0;
    }
    if (taken && !scaled) return buildPowerOfTwoMipmaps(width, height, pixels, internalFormat);
    return gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}

// The gems and the backdrops are drawn in the board's perspective, shrunk
// with the distance; every other picture lies flat on the layout.
bool drawnInTheBoard(int number) {
    const int firstGem = pictureNumber(Picture::FirstGem);
    const int laterBackdrop = pictureNumber(Picture::LaterBackdrop);
    return (number >= firstGem && number < firstGem + GemKinds) || number == pictureNumber(Picture::FirstBackdrop) ||
           (number >= laterBackdrop && number < laterBackdrop + BackdropKinds - 1);
}

}  // namespace

int pictureDensityWanted = 1;
int pictureDensityLoaded = 0;
float pictureLayoutScale = 1.0f;

namespace {

uint8_t sharpSetUnreadable = 0;  // base/2x/ failed: base/ serves this context
uint8_t flatChainsLoaded = 0;    // the flat pictures of the table have their smaller levels

// Reads the 81 pictures of one set in order into images. The first file that
// gives no picture ends the reading (the reader names it on standard error).
bool readPictureSet(const char* pathFormat, RgbImage* images[TextureCount]) {
    for (int nn = 0; nn < TextureCount; ++nn) {
        char path[32];
        std::snprintf(path, sizeof path, pathFormat, nn);
        images[nn] = readBitmapFile(path);
        if (!images[nn]) return false;
    }
    return true;
}

void freePictureSet(RgbImage* images[TextureCount]) {
    for (int nn = 0; nn < TextureCount; ++nn) {
        freeRgbImage(images[nn]);
        images[nn] = nullptr;
    }
}

int densityToLoad() { return pictureDensityWanted == 2 && !sharpSetUnreadable ? 2 : 1; }

// A flat picture covers about one layout pixel a texel in the set of base/
// (the frame 1.07, the font's glyphs fewer), two in that of base/2x/. Shown
// at the scale of its set or larger, every flat picture is sampled at fewer
// than 1.1 texels a pixel, where the GL takes level 0 (it goes down a level
// from 1.41): their smaller levels are made only for a smaller scale.
bool flatChainsToLoad(int density) { return pictureLayoutScale < static_cast<float>(density); }

}  // namespace

void retrySharpPictures() { sharpSetUnreadable = 0; }

bool pictureSetOutdated() {
    if (pictureDensityLoaded == 0) return false;
    const int density = densityToLoad();
    return pictureDensityLoaded != density || (flatChainsLoaded != 0) != flatChainsToLoad(density);
}

// Reads base/tex00.bmp .. base/tex80.bmp (or the twice-as-large set of
// base/2x/ when it is wanted) in order. The 2x set that cannot be read in
// full gives way to base/. The first file of base/ that gives no picture ends
// the reading; then no texture is made and the table keeps its old names.
bool createTextures() {
    RgbImage* images[TextureCount] = {};
    int density = densityToLoad();
    bool ok = density == 2 && readPictureSet(SharpPicturePathFormat, images);
    if (density == 2 && !ok) {
        std::fprintf(stderr, "vortiq: the large pictures of %s cannot be read; the game shows those of base/\n",
                     SharpPictureFolder);
        sharpSetUnreadable = 1;
        freePictureSet(images);
        density = 1;
    }
    if (density == 1) ok = readPictureSet(PicturePathFormat, images);

    if (ok) {
        frameOpening = findSeeThrough(*images[pictureNumber(Picture::FrameMask)], *images[pictureNumber(Picture::Frame)]);
        GLuint names[TextureCount];
        glGenTextures(TextureCount, names);
        // The decoded rows are packed tightly, whatever the picture's width.
        GLint unpackAlignment = 4, packAlignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
        glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        const bool flatChains = flatChainsToLoad(density);
        for (int nn = 0; nn < TextureCount && ok; ++nn) {
            glBindTexture(GL_TEXTURE_2D, names[nn]);
            GLint error = buildPicture(*images[nn], flatChains || drawnInTheBoard(nn));
            if (error != 0) {
                std::fprintf(stderr, "vortiq: base/tex%02d.bmp: the texture could not be made (%s)\n", nn,
                             reinterpret_cast<const char*>(gluErrorString(error)));
                ok = false;
            }
            // The GL holds its own copy now: the picture goes at once, so the
            // decoded pictures and the textures are not both held in full.
            freeRgbImage(images[nn]);
            images[nn] = nullptr;
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
        glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
        if (ok) {
            std::memcpy(textures, names, sizeof textures);
            pictureDensityLoaded = density;
            flatChainsLoaded = flatChains;
        } else {
            glDeleteTextures(TextureCount, names);
        }
    }

    freePictureSet(images);
    return ok;
}
