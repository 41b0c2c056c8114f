// One frame as the rules' step left it: clear, board, overlay, bar.
#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render.h"
#include "render/render_local.h"

namespace {

// The picture is cleared to black; where it leaves the drawable uncovered,
// the border is the theme's night blue.
void clearDrawable() {
    const ScreenFit& fit = ui.fit;
    const bool border = fit.layoutWidth > 0 && (fit.pictureWidth < fit.drawableWidth || fit.pictureHeight < fit.drawableHeight);
    if (!border) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    GLfloat black[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, black);
    glClearColor(0x07 / 255.0f, 0x0a / 255.0f, 0x1e / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(black[0], black[1], black[2], black[3]);
    glScissor(fit.pictureX, fit.pictureY, fit.pictureWidth, fit.pictureHeight);
    glEnable(GL_SCISSOR_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

void drawScene() {
    clearDrawable();
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
