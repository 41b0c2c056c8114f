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

// The gem's own motion in its cell: the swap, the shrinking of a removal and
// the spin.
void turnGem(const FrameView& view, int column, int row) {
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
}

// Visits every gem drawn, in drawing order, with its cell's and its own
// transforms current: visit(column, row, kind, lit), lit under the mouse
// while no swap or removal runs.
template <typename Visit>
void forEachGem(const FrameView& view, Visit visit) {
    for (int row = SpawnRow; row <= LastFieldRow; ++row) {
        for (int column = 0; column < BoardColumns; ++column) {
            // A gem waiting in the spawn row shows only while it can slide in.
            if (row == SpawnRow && view.board[FirstFieldRow][column] != 0) continue;
            const int32_t kind = view.board[row][column];
            if (kind < 1 || kind > GemKinds) continue;
            glPushMatrix();
            if (view.board[row + 1][column] == 0) glTranslatef(0.0f, game.fallOffset, 0.0f);
            glTranslatef(LeftColumnX + column, TopRowY - row, CellZ);
            const bool underCursor = column == ui.cursorColumn && row == ui.cursorRow;
            glPushMatrix();
            turnGem(view, column, row);
            visit(column, row, kind, underCursor && !turn.swapActive && !turn.removing);
            glPopMatrix();
            glPopMatrix();
        }
    }
}

}  // namespace

bool gemBackFacesCulled = true;
bool gemsBeforeBackdrop = true;
bool cursorLightKeptOn = true;

// The board is drawn only where the frame lets it show.
void drawBoard(const FrameList& list) {
    int box[4];
    const bool scissor = boardScissorBox(box);
    if (scissor) scissorWithin(box);
    // The gems first, the backdrop behind them after: the depth test then
    // spares shading the backdrop wherever a gem covers it. The gems are
    // opaque and in front of it, so the picture is the same either way.
    const DrawItem* gems = sectionBegin(list, Section::Gems);
    const DrawItem* gemsEnd = sectionEnd(list, Section::Gems);
    if (list.setting.gemsFirst) drawCells(gems, gemsEnd);
    for (const DrawItem* backdrop = sectionBegin(list, Section::Backdrop); backdrop != sectionEnd(list, Section::Backdrop);
         ++backdrop)
        drawBackground(*backdrop);
    if (!list.setting.gemsFirst) drawCells(gems, gemsEnd);
    if (scissor) scissorToFrameClip();
}

void drawBackground(const DrawItem& backdrop) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_LIGHTING);
    glTranslatef(1.4f, -0.32f, -11.7f);
    glBindTexture(GL_TEXTURE_2D, textureOf(backdrop.image));
    if (itemInFrameClip(backdrop)) glCallList(backgroundList);
    glTranslatef(-1.4f, 0.32f, 11.7f);
}

// Each gem is drawn with the matrix it was described with.
void drawCells(const DrawItem* begin, const DrawItem* end) {
    if (begin == end) return;
    // Lit white gems with a white highlight.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_LIGHTING);
    const float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    if (gemBackFacesCulled) glEnable(GL_CULL_FACE);
    if (cursorLightKeptOn) {
        setCursorLight(false);
        glEnable(GL_LIGHT3);
    }
    glPushMatrix();
    for (const DrawItem* gem = begin; gem != end; ++gem) {
        if (!itemInFrameClip(*gem)) continue;
        if (gem->lit) cursorLightKeptOn ? setCursorLight(true) : glEnable(GL_LIGHT3);
        glLoadMatrixf(gem->matrix);
        glBindTexture(GL_TEXTURE_2D, textureOf(gemPicture(gem->gem)));
        drawGemMesh(gem->gem);
        if (gem->lit) cursorLightKeptOn ? setCursorLight(false) : glDisable(GL_LIGHT3);
    }
    glPopMatrix();
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT3);
    setCursorLight(true);
}

void surveyGems(const FrameView& view, void (*note)(int column, int row, int kind, bool lit)) {
    glPushMatrix();
    glLoadIdentity();
    forEachGem(view, note);
    glPopMatrix();
}
