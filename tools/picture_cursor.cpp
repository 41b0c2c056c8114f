// The keyboard's cursor on the field: a ring around one cell, dark at both
// edges and bright in the middle, with a soft cyan glow outside, so it shows
// on every gem colour and on every backdrop. Drawn through its mask.
#include "pictures_local.h"

Canvas drawKeyCursor() {
    // 64 design units over a cell; the game stretches it over the cell.
    const float size = 64;
    Canvas canvas = makeCanvas(64, 64, size, size);
    const Box ring = {4, 4, size - 4, size - 4};
    const Sdf outer = roundedBox(ring, 10);
    const Sdf band = subtract(outer, shrunk(outer, 6));
    const Box all = {0, 0, size, size};
    // The glow outside, then the band: dark edges, a bright core.
    fill(canvas, subtract(outer, shrunk(outer, 2)), all, solid(withAlpha(theme::Cyan, 0.9f)), 3.5f);
    fill(canvas, band, all, solid(withAlpha(theme::Ink, 0.92f)));
    fill(canvas, outline(shrunk(outer, 3), 1.6f), all,
         linearStops({0, 0}, {size, size}, {{0.0f, theme::Ice}, {0.5f, theme::PaleGold}, {1.0f, theme::Gold}}));
    // Brackets at the corners, a little brighter, so the cell reads at a glance.
    for (const Vec corner : {Vec{4, 4}, Vec{size - 4, 4}, Vec{4, size - 4}, Vec{size - 4, size - 4}}) {
        const float dx = corner.x < size / 2 ? 1 : -1, dy = corner.y < size / 2 ? 1 : -1;
        const Vec tip = {corner.x + dx * 3, corner.y + dy * 3};
        const Sdf bracket = unite(capsule(tip, {tip.x + dx * 11, tip.y}, 1.3f), capsule(tip, {tip.x, tip.y + dy * 11}, 1.3f));
        fill(canvas, intersect(bracket, outer), all, solid(theme::Ice));
    }
    return canvas;
}

void drawCursorPictures(PictureList& pictures) {
    const Canvas cursor = drawKeyCursor();
    putSprite(pictures, Picture::KeyCursor, cursor);
    putMask(pictures, Picture::KeyCursorMask, cursor);
}
