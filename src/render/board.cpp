// The 3D board: the backdrop behind the field and the lit gems in their
// cells, moved by the running animations, as the frame's rules step left them.
#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render_local.h"

namespace {

bool isCell(const Cell& cell, int column, int row) { return cell.column == column && cell.row == row; }

bool inRemoval(int column, int row) {
    for (int slot = 1; slot < RemovalSlots; ++slot) {
        const RemovalEntry& entry = turn.removalList[slot];
        if (entry.used && entry.column == column && entry.row == row) return true;
    }
    return false;
}

void drawGem(const FrameView& view, int column, int row, int kind) {
    glPushMatrix();
    if (turn.swapActive) {
        if (isCell(turn.firstCell, column, row))
            glTranslatef(turn.firstMotion.x, turn.firstMotion.y, turn.firstMotion.z);
        if (isCell(turn.secondCell, column, row))
            glTranslatef(turn.secondMotion.x, turn.secondMotion.y, turn.secondMotion.z);
    }
    if (turn.removing && inRemoval(column, row)) {
        const float scale = removalScale();
        glScalef(scale, scale, scale);
    }
    for (int i = 0; i < view.spinCount; ++i)
        if (isCell(view.spinCells[i], column, row)) glRotatef(view.spinDegrees[i], 0.0f, 1.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, textureOf(gemPicture(kind)));
    drawGemMesh(kind);
    glPopMatrix();
}

}  // namespace

bool gemBackFacesCulled = true;
bool gemsBeforeBackdrop = true;

// The board is drawn only where the frame lets it show.
void drawBoard(const FrameView& view) {
    int box[4];
    const bool scissor = boardScissorBox(box);
    GLint previous[4];
    if (scissor) {
        glGetIntegerv(GL_SCISSOR_BOX, previous);
        glScissor(box[0], box[1], box[2], box[3]);
        glEnable(GL_SCISSOR_TEST);
    }
    // The gems first, the backdrop behind them after: the depth test then
    // spares shading the backdrop wherever a gem covers it. The gems are
    // opaque and in front of it, so the picture is the same either way.
    if (view.gemsShown && gemsBeforeBackdrop) drawCells(view);
    drawBackground(view.backgroundKind);
    if (view.gemsShown && !gemsBeforeBackdrop) drawCells(view);
    if (scissor) {
        glDisable(GL_SCISSOR_TEST);
        glScissor(previous[0], previous[1], previous[2], previous[3]);
    }
}

void drawBackground(int32_t backgroundKind) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_LIGHTING);
    glTranslatef(1.4f, -0.32f, -11.7f);
    glBindTexture(GL_TEXTURE_2D, textureOf(backdropPicture(backgroundKind)));
    glCallList(backgroundList);
    glTranslatef(-1.4f, 0.32f, 11.7f);
}

void drawCells(const FrameView& view) {
    // Lit white gems with a white highlight.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_LIGHTING);
    const float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    if (gemBackFacesCulled) glEnable(GL_CULL_FACE);
    for (int row = SpawnRow; row <= LastFieldRow; ++row) {
        for (int column = 0; column < BoardColumns; ++column) {
            // A gem waiting in the spawn row shows only while it can slide in.
            if (row == SpawnRow && view.board[FirstFieldRow][column] != 0) continue;
            glPushMatrix();
            if (view.board[row + 1][column] == 0) glTranslatef(0.0f, game.fallOffset, 0.0f);
            glTranslatef(LeftColumnX + column, TopRowY - row, CellZ);
            const bool underCursor = column == ui.cursorColumn && row == ui.cursorRow;
            if (underCursor && !turn.swapActive && !turn.removing) glEnable(GL_LIGHT3);
            const int32_t kind = view.board[row][column];
            if (kind >= 1 && kind <= GemKinds) drawGem(view, column, row, kind);
            if (underCursor) glDisable(GL_LIGHT3);
            glPopMatrix();
        }
    }
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
}
