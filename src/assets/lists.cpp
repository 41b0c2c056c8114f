// Display lists: the backdrop square and the 256 glyphs of the bitmap font,
// and the text routine that prints with them.
#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>

#include "assets/assets.h"

uint32_t backgroundList;
uint32_t fontBase;

namespace {
constexpr int GlyphCount = 256;
constexpr GLfloat CellSize = 0.0625f;  // one of 16 x 16 cells of the font picture
}  // namespace

// The square behind the board: 10.7 units a side around (0.2, 0.5), the
// texture tiled 5 x 5. The list undoes its own translation.
void buildDisplayLists() {
    backgroundList = glGenLists(1);
    glNewList(backgroundList, GL_COMPILE);
    glTranslatef(0.2f, 0.5f, 0.0f);
    glBegin(GL_TRIANGLE_STRIP);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2d(5, 5);
    glVertex3f(5.35f, 5.35f, 0.0f);
    glTexCoord2d(0, 5);
    glVertex3f(-5.35f, 5.35f, 0.0f);
    glTexCoord2d(5, 0);
    glVertex3f(5.35f, -5.35f, 0.0f);
    glTexCoord2d(0, 0);
    glVertex3f(-5.35f, -5.35f, 0.0f);
    glEnd();
    glTranslatef(-0.2f, -0.5f, 0.0f);
    glEndList();
}

// Glyph i is cell i of the font picture: column i mod 16 from the left, row
// i div 16 from the top.
void createFontLists() {
    fontBase = glGenLists(GlyphCount);
    glBindTexture(GL_TEXTURE_2D, textureOf(Picture::Font));
    for (int i = 0; i < GlyphCount; ++i) {
        GLfloat cx = static_cast<float>(i % 16) / 16.0f;
        GLfloat cy = static_cast<float>(i / 16) / 16.0f;
        glNewList(fontBase + i, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(cx, 1 - cy - CellSize);
        glVertex2i(0, 0);
        glTexCoord2f(cx + CellSize, 1 - cy - CellSize);
        glVertex2i(GlyphSize, 0);
        glTexCoord2f(cx + CellSize, 1 - cy);
        glVertex2i(GlyphSize, GlyphSize);
        glTexCoord2f(cx, 1 - cy);
        glVertex2i(0, GlyphSize);
        glEnd();
        glTranslated(GlyphAdvance, 0, 0);
        glEndList();
    }
}

void deleteFontLists() {
    if (fontBase != 0) glDeleteLists(fontBase, GlyphCount);
    fontBase = 0;
}

bool hasGlyph(char c) {
    const unsigned char code = static_cast<unsigned char>(c);
    return code >= 32 && code <= 127;
}

// Prints in the 640 x 480 text space, origin bottom left, in character set 0
// (cells 0..95) or 1 (cells 128..223). Characters outside 32..127 have no
// glyph and are left out. Leaves the depth test on.
void drawText(int x, int y, int set, const char* format, ...) {
    if (!format) return;
    char text[256];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written < 0) text[0] = '\0';

    int length = 0;
    for (const char* c = text; *c; ++c)
        if (hasGlyph(*c)) text[length++] = *c;
    if (set > 1) set = 1;
    if (set < 0) set = 0;

    glBindTexture(GL_TEXTURE_2D, textureOf(Picture::Font));
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, TextSpaceWidth, 0, TextSpaceHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, y, 0);
    glListBase(fontBase - 32 + 128 * set);
    if (length > 0) glCallLists(length, GL_BYTE, text);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}
