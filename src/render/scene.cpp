// One frame as the rules' step left it: clear, board, overlay, bar, whole or
// in the boxes that changed over the last frame's picture.
#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render.h"
#include "render/render_local.h"

namespace {

bool hasBorder(const ScreenFit& fit) {
    return fit.layoutWidth > 0 && (fit.pictureWidth < fit.drawableWidth || fit.pictureHeight < fit.drawableHeight);
}

// Clears the drawable's border around the picture, the strips on each side
// of it, to the theme's night blue.
void clearBorder() {
    const ScreenFit& fit = ui.fit;
    GLfloat black[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, black);
    glClearColor(0x07 / 255.0f, 0x0a / 255.0f, 0x1e / 255.0f, 1.0f);
    const int endX = fit.pictureX + fit.pictureWidth, endY = fit.pictureY + fit.pictureHeight;
    const int strips[4][4] = {{0, 0, fit.drawableWidth, fit.pictureY},
                              {0, endY, fit.drawableWidth, fit.drawableHeight - endY},
                              {0, fit.pictureY, fit.pictureX, fit.pictureHeight},
                              {endX, fit.pictureY, fit.drawableWidth - endX, fit.pictureHeight}};
    glEnable(GL_SCISSOR_TEST);
    for (const auto& strip : strips) {
        if (strip[2] <= 0 || strip[3] <= 0) continue;
        glScissor(strip[0], strip[1], strip[2], strip[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    glClearColor(black[0], black[1], black[2], black[3]);
}

// The picture is cleared to black; where it leaves the drawable uncovered,
// the border is the theme's night blue.
void clearDrawable() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (hasBorder(ui.fit)) clearBorder();
}

// A box about to be drawn again, cleared to the clear colour and depth. A
// scissored clear would cost the software renderer shaders of its own (and
// the depth buffer cleared whole costs more than the box's drawing at large
// sizes); with a black clear colour the frame's picture drawn in black,
// unblended, which it has ready, puts the same pixels there, and at the
// clear depth, passing always, the same depth.
void clearBox() {
    GLfloat clear[4], depth = 1.0f;
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    if (clear[0] != 0.0f || clear[1] != 0.0f || clear[2] != 0.0f) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    // The gems' material follows the colour: it is left as it is.
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_TEXTURE_BIT | GL_TRANSFORM_BIT |
                 GL_DEPTH_BUFFER_BIT);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, overlayWidth(), 0.0, overlayHeight(), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Under the flat projection a depth d lies at z = 1 - 2d.
    glTranslatef(0.0f, 0.0f, 1.0f - 2.0f * depth);
    glColor4f(0.0f, 0.0f, 0.0f, clear[3]);
    glBindTexture(GL_TEXTURE_2D, textureOf(Picture::Frame));
    drawQuadAt(0.0f, 0.0f, overlayWidth(), overlayHeight());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

// Every item, in order, over what was cleared.
void drawLayers(const FrameList& list) {
    glLoadIdentity();
    drawBoard(list);
    glDisable(GL_LIGHTING);
    drawOverlay(list);
    for (const DrawItem* bar = sectionBegin(list, Section::Bar); bar != sectionEnd(list, Section::Bar); ++bar)
        drawBar(*bar);
    // Leave the colour opaque white for whatever draws next.
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
}

FrameList frame;  // the frame being drawn

}  // namespace

void drawScene() {
    describeFrame(frameView, &frame);
    Box boxes[MostDamageBoxes];
    const int count = findDamage(frame, boxes);
    if (count == WholeFrame) {
        clearDrawable();
        drawLayers(frame);
    } else if (count > 0) {
        // Each box is cleared before it is drawn again. The border is as it was.
        for (int i = 0; i < count; ++i) {
            clipFrameTo(&boxes[i]);
            clearBox();
            drawLayers(frame);
        }
        clipFrameTo(nullptr);
    }
    frameDrawn(frame, boxes, count);
}

// The bar lives in a space of its own in both window sizes; its picture is
// stretched over the length shown.
void drawBar(const DrawItem& bar) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, BarSpaceWidth, 0.0, BarSpaceHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, textureOf(Picture::Bar));
    if (itemInFrameClip(bar)) {
        drawQuadAt(bar.place[0], bar.place[1], bar.place[2], bar.place[3]);
        if (bar.lit) {
            // The time running out: the bar glows red over its own shading.
            GLint source = GL_ONE, destination = GL_ZERO;
            glGetIntegerv(GL_BLEND_SRC, &source);
            glGetIntegerv(GL_BLEND_DST, &destination);
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glColor4f(1.0f, 0.18f, 0.1f, 0.7f);
            drawQuadAt(bar.place[0], bar.place[1], bar.place[2], bar.place[3]);
            glBlendFunc(source, destination);
            glDisable(GL_BLEND);
            glEnable(GL_TEXTURE_2D);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        }
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
