// One frame as the rules' step left it: clear, board, overlay, bar.
#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render.h"
#include "render/render_local.h"

void drawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    drawBoard(frameView);
    glDisable(GL_LIGHTING);
    drawOverlay(frameView);
    drawBar();
    // Leave the colour opaque white for whatever draws next.
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
}

// The bar lives in a space of its own in both window sizes; its picture is
// stretched over the length shown.
void drawBar() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, BarSpaceWidth, 0.0, BarSpaceHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, textureOf(Picture::Bar));
    drawQuadAt(BarX, BarY, game.barLength, BarHeight);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
