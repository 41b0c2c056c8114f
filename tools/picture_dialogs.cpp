// Dialog panels and their buttons, the options rows, the high-score and
// name-entry panels, the pause plate and the spare pictures. Each is drawn in
// the screen units it is shown at.
#include <cmath>

#include "pictures_local.h"

namespace {

Paint goldText(float centreY, float size) {
    return linearStops({0, centreY - size * 0.4f}, {0, centreY + size * 0.4f},
                       {{0.0f, hex(0xfffbe6)}, {0.5f, theme::Gold}, {1.0f, hex(0xffdf8a)}});
}

Paint whiteText(float centreY, float size) {
    return linear({0, centreY - size * 0.4f}, {0, centreY + size * 0.4f}, hex(0xffffff), hex(0xcfd8ff));
}

void drawTitle(Canvas& canvas, const std::string& text, Vec centre, float size, float maxWidth) {
    TextStyle style;
    style.size = size;
    style.tracking = size * 0.06f;
    const Coverage title = centredText(canvas, style, text, centre, maxWidth);
    fillCoverage(canvas, blurred(title, 5), solid(hex(0x8a5cff)), 0.6f);
    fillCoverage(canvas, blurred(shifted(title, 0, 2), 2), solid(theme::Ink), 0.9f);
    fillCoverage(canvas, title, goldText(centre.y, size));
}

// A gold rule with a diamond in the middle.
void drawRule(Canvas& canvas, float x0, float x1, float y) {
    const float mid = (x0 + x1) / 2;
    fill(canvas, capsule({x0, y}, {x1, y}, 0.55f), {x0 - 2, y - 2, x1 + 2, y + 2},
         linearStops({x0, y}, {x1, y},
                     {{0.0f, withAlpha(theme::Gold, 0)}, {0.5f, theme::Gold}, {1.0f, withAlpha(theme::Gold, 0)}}));
    const Sdf diamond = polygon({{mid, y - 4}, {mid + 4, y}, {mid, y + 4}, {mid - 4, y}});
    fill(canvas, diamond, {mid - 6, y - 6, mid + 6, y + 6}, linear({mid, y - 4}, {mid, y + 4}, theme::PaleGold, theme::DarkGold));
}

// A small cut gem, the game's emblem.
void drawEmblem(Canvas& canvas, Vec c, float r, Rgba colour) {
    const Sdf gem = polygon({{c.x - r, c.y - r * 0.35f}, {c.x - r * 0.55f, c.y - r * 0.8f}, {c.x + r * 0.55f, c.y - r * 0.8f},
                             {c.x + r, c.y - r * 0.35f}, {c.x, c.y + r}});
    const Box box = {c.x - r - 2, c.y - r - 2, c.x + r + 2, c.y + r + 2};
    fill(canvas, gem, grow(box, 6), solid(withAlpha(colour, 0.5f)), r * 0.5f);
    fill(canvas, gem, box, linear({c.x - r, c.y - r}, {c.x + r, c.y + r}, mix(colour, hex(0xffffff), 0.6f), scaled(colour, 0.6f)));
    const Sdf table = polygon({{c.x - r * 0.5f, c.y - r * 0.35f}, {c.x + r * 0.5f, c.y - r * 0.35f}, {c.x, c.y + r * 0.55f}});
    fill(canvas, table, box, solid(withAlpha(hex(0xffffff), 0.25f)));
    fill(canvas, outline(gem, 0.5f), box, solid(withAlpha(hex(0xffffff), 0.6f)));
}

// Confirmation panels: 300 x 150, the question above the two buttons, which
// lie over y 103 .. 135 of the panel.
void drawQuestionPanels(PictureList& pictures) {
    struct Question {
        Picture picture;
        const char* text;
        uint32_t gem;
    };
    for (const Question& q : {Question{Picture::NewGamePanel, "Start a new game?", 0x38e070},
                              Question{Picture::ContinuePanel, "Continue your last game?", 0x40a0ff},
                              Question{Picture::QuitPanel, "Quit Vortiq?", 0xff3048}}) {
        Canvas canvas = makeCanvas(256, 128, 300, 150);
        drawPanelBackground(canvas, 10);
        drawRule(canvas, 40, 130, 26);
        drawRule(canvas, 170, 260, 26);
        drawEmblem(canvas, {150, 25}, 10, hex(q.gem));
        TextStyle style;
        style.size = 20;
        drawLabel(canvas, style, q.text, {150, 64}, whiteText(64, 20), 0.9f, 262);
        putOpaque(pictures, q.picture, canvas);
    }
}

// Body, corner radius, label, text size.
ButtonArt dialogButton(const std::string& label) { return ButtonArt{{2, 2, 126, 29.5f}, 9, label, 15}; }

void drawDialogButtons(PictureList& pictures) {
    struct Pair {
        const char* label;
        Picture normal, lit;
    };
    for (const Pair& p : {Pair{"YES", Picture::YesButton, Picture::YesButtonLit},
                          Pair{"NO", Picture::NoButton, Picture::NoButtonLit},
                          Pair{"BACK", Picture::BackButton, Picture::BackButtonLit}}) {
        const ButtonArt art = dialogButton(p.label);
        const Canvas normal = drawButton(128, 32, 128, 32, art, Look::Normal);
        putSprite(pictures, p.normal, normal);
        putSprite(pictures, p.lit, drawButton(128, 32, 128, 32, art, Look::Lit));
        if (p.normal == Picture::YesButton) putMask(pictures, Picture::DialogButtonMask, normal);
    }
}

// The options panel (300 x 330 at 265, 150) and its rows (256 x 32 at x 287;
// tops 63, 98, 133, 168, 203 from the panel's top). The rows are opaque, so
// each is drawn on the panel's own ground where it lies.
constexpr float OptionsW = 300, OptionsH = 330;

Paint panelGround(float w, float h, float dx, float dy) {
    const Paint ground = radial({w * 0.5f, h * 0.2f}, std::max(w, h) * 0.9f, hex(0x2e2478), hex(0x0e0f34));
    return [=](float x, float y) { return ground(x + dx, y + dy); };
}

void drawOptionsPanel(PictureList& pictures) {
    Canvas canvas = makeCanvas(256, 256, OptionsW, OptionsH);
    drawPanelBackground(canvas, 12);
    drawTitle(canvas, "OPTIONS", {150, 33}, 22, 240);
    drawRule(canvas, 30, 270, 52);
    drawRule(canvas, 30, 270, 259);
    putOpaque(pictures, Picture::OptionsPanel, canvas);
}

enum class RowKind { Plain, Switch, Screen };

void drawOptionRow(PictureList& pictures, Picture picture, int rowIndex, const std::string& label, RowKind kind, bool on,
                   bool lit) {
    Canvas canvas = makeCanvas(256, 32, 256, 32);
    fillAll(canvas, panelGround(OptionsW, OptionsH, 22, 63 + 35.0f * rowIndex));
    const Box body = {1.5f, 1.5f, 254.5f, 30.5f};
    const Sdf shape = roundedBox(body, 9);
    fill(canvas, roundedBox({body.x0, body.y0 + 1, body.x1, body.y1 + 1}, 9), grow(body, 2),
         solid(withAlpha(theme::Ink, 0.5f)), 1.0f);
    fill(canvas, shape, grow(body, 1),
         lit ? linear({0, body.y0}, {0, body.y1}, hex(0x4a3cb8), hex(0x1e1870))
             : linear({0, body.y0}, {0, body.y1}, hex(0x241c62), hex(0x0e0c34)));
    bevel(canvas, shrunk(shape, 1.2f), body, 3, 0.3f);
    fill(canvas, outline(shrunk(shape, 0.6f), 0.6f), grow(body, 1),
         solid(lit ? withAlpha(theme::Cyan, 0.9f) : withAlpha(theme::Gold, 0.7f)));

    TextStyle style;
    style.size = 13.5f;
    style.tracking = 0.6f;
    const Paint textPaint = lit ? whiteText(16, 13.5f) : goldText(16, 13.5f);
    if (kind == RowKind::Plain) {
        const Coverage text = centredText(canvas, style, label, {128, 16}, 220);
        if (lit) fillCoverage(canvas, blurred(text, 4), solid(theme::Cyan), 0.6f);
        fillCoverage(canvas, blurred(shifted(text, 0, 1), 1), solid(theme::Ink), 0.85f);
        fillCoverage(canvas, text, textPaint);
    } else {
        // The label at the left, a switch or a screen sign at the right.
        Coverage text = emptyCoverage(canvas);
        const float room = 176;
        const TextMetrics m = measureText(style, label);
        if (m.inkRight - m.inkLeft > room) style.squeeze = room / (m.inkRight - m.inkLeft);
        renderText(text, canvas, style, label, 16, 16 + capHeight(style) / 2);
        fillCoverage(canvas, blurred(shifted(text, 0, 1), 1), solid(theme::Ink), 0.85f);
        fillCoverage(canvas, text, on ? whiteText(16, 13.5f) : goldText(16, 13.5f));
        if (kind == RowKind::Switch) {
            const Box track = {204, 8, 240, 24};
            const Sdf trackShape = roundedBox(track, 8);
            fill(canvas, trackShape, grow(track, 1),
                 on ? linear({0, track.y0}, {0, track.y1}, hex(0x1aa8c8), hex(0x5ef0ff))
                    : linear({0, track.y0}, {0, track.y1}, hex(0x05060f), hex(0x1a1c3a)));
            bevel(canvas, trackShape, track, 2.5f, -0.5f);
            const Vec knob = {on ? track.x1 - 8 : track.x0 + 8, 16};
            if (on)
                fill(canvas, circle(knob, 6.5f), {knob.x - 14, 0, knob.x + 14, 32}, solid(withAlpha(theme::Cyan, 0.6f)), 5);
            fill(canvas, circle(knob, 6.5f), {knob.x - 8, 8, knob.x + 8, 24},
                 radial({knob.x - 2, knob.y - 2}, 8, hex(0xffffff), on ? hex(0xbff6ff) : hex(0x8a8fb0)));
        } else {
            // A small screen: a window inside it, or filled edge to edge.
            const Box screen = {210, 8, 236, 23};
            fill(canvas, roundedBox(screen, 2), grow(screen, 1), solid(hex(0xc8d0ff)));
            const Box glass = grow(screen, -1.6f);
            fill(canvas, roundedBox(glass, 1), grow(glass, 1), solid(hex(0x0a0c26)));
            const Box shown = on ? glass : Box{glass.x0 + 5, glass.y0 + 3, glass.x1 - 5, glass.y1 - 3};
            fill(canvas, roundedBox(shown, 0.8f), grow(shown, 1), linear({0, shown.y0}, {0, shown.y1}, theme::Cyan, hex(0x3050ff)));
            fill(canvas, capsule({219, 25.5f}, {227, 25.5f}, 0.9f), {215, 23, 231, 28}, solid(hex(0xc8d0ff)));
        }
    }
    putOpaque(pictures, picture, canvas);
}

void drawOptionRows(PictureList& pictures) {
    drawOptionRow(pictures, Picture::HighScoresRow, 0, "HIGH SCORES", RowKind::Plain, false, false);
    drawOptionRow(pictures, Picture::HighScoresRowLit, 0, "HIGH SCORES", RowKind::Plain, false, true);
    // The window's own size is whatever the player made it: the rows name the way of showing alone.
    drawOptionRow(pictures, Picture::WindowedRow, 1, "WINDOW", RowKind::Screen, false, false);
    drawOptionRow(pictures, Picture::FullScreenRow, 1, "FULL SCREEN", RowKind::Screen, true, false);
    drawOptionRow(pictures, Picture::MusicOffRow, 2, "MUSIC: OFF", RowKind::Switch, false, false);
    drawOptionRow(pictures, Picture::MusicOnRow, 2, "MUSIC: ON", RowKind::Switch, true, false);
    drawOptionRow(pictures, Picture::SoundOffRow, 3, "SOUND: OFF", RowKind::Switch, false, false);
    drawOptionRow(pictures, Picture::SoundOnRow, 3, "SOUND: ON", RowKind::Switch, true, false);
    drawOptionRow(pictures, Picture::HelpRow, 4, "HELP", RowKind::Plain, false, false);
    drawOptionRow(pictures, Picture::HelpRowLit, 4, "HELP", RowKind::Plain, false, true);
}

// The high-score panel, drawn in the 345 x 420 units of the windowed layout
// (the full-screen layout has the same shape). The game prints five rows per
// table, 20 units apart: the levels table from y 98, the timed table from
// y 251 (tops, measured down from the panel's top); names from x 60, scores
// from x 230.
void drawHighScorePanel(PictureList& pictures) {
    const float w = 345, h = 420;
    Canvas canvas = makeCanvas(256, 512, w, h);
    drawPanelBackground(canvas, 14);
    drawTitle(canvas, "HIGH SCORES", {w / 2, 36}, 25, 280);
    struct Table {
        const char* heading;
        float firstRow;
    };
    for (const Table& t : {Table{"LEVELS", 97}, Table{"TIMED", 250}}) {
        TextStyle heading;
        heading.size = 13;
        heading.tracking = 2.5f;
        const float y = t.firstRow - 14;
        drawLabel(canvas, heading, t.heading, {w / 2, y}, goldText(y, 13), 0.9f);
        const float half = measureText(heading, t.heading).advance / 2 + 12;
        drawRule(canvas, 24, w / 2 - half, y);
        drawRule(canvas, w / 2 + half, w - 24, y);
        for (int i = 0; i < 5; ++i) {
            const float top = t.firstRow + 20.4f * i;
            const Box band = {22, top - 0.5f, w - 22, top + 20.5f};
            fill(canvas, roundedBox(band, 6), grow(band, 1),
                 solid(i % 2 == 0 ? withAlpha(hex(0x5a4cc8), 0.22f) : withAlpha(hex(0x000000), 0.18f)));
            // Rank badge.
            const Vec c = {41, top + 10};
            fill(canvas, circle(c, 7.5f), {c.x - 9, c.y - 9, c.x + 9, c.y + 9},
                 radial({c.x - 2, c.y - 3}, 10, i == 0 ? theme::PaleGold : hex(0x9aa4d8), i == 0 ? theme::DarkGold : hex(0x2a2f66)));
            TextStyle rank;
            rank.size = 10.5f;
            drawLabel(canvas, rank, std::to_string(i + 1), c, solid(i == 0 ? hex(0x2a1a00) : hex(0xffffff)), 0);
        }
    }
    fill(canvas, roundedBox({20, 362, w - 20, 410}, 10), {18, 360, w - 18, 412}, solid(withAlpha(theme::Ink, 0.25f)));
    putOpaque(pictures, Picture::HighScoresPanel, canvas);
}

// The name-entry panel, 300 x 300; the typed name is printed from 27% of the
// width at 32% of the height (from the bottom), nine letters long.
void drawNameEntryPanel(PictureList& pictures) {
    const float w = 300, h = 300;
    Canvas canvas = makeCanvas(256, 256, w, h);
    drawPanelBackground(canvas, 14);
    drawEmblem(canvas, {w / 2, 34}, 13, hex(0xffc83a));
    drawTitle(canvas, "New high score!", {w / 2, 74}, 23, 260);
    TextStyle style;
    style.face = Face::Sans;
    style.size = 14;
    drawLabel(canvas, style, "Type your name, then Enter", {w / 2, 110}, whiteText(110, 14), 0.9f, 260);
    drawRule(canvas, 40, 260, 138);
    const Box field = {62, 174, 248, 216};
    const Sdf shape = roundedBox(field, 8);
    fill(canvas, shape, grow(field, 6), solid(withAlpha(theme::Cyan, 0.35f)), 3);
    fill(canvas, shape, grow(field, 1), linear({0, field.y0}, {0, field.y1}, hex(0x010208), hex(0x0b1030)));
    bevel(canvas, shape, field, 3.5f, -0.6f);
    fill(canvas, outline(shape, 0.7f), grow(field, 1), solid(withAlpha(theme::Cyan, 0.8f)));
    // The free places of the name show as the font's faint dots, which keep
    // in step with the letters in both layouts; marks drawn here could not.
    drawRule(canvas, 40, 260, 250);
    putOpaque(pictures, Picture::NameEntryPanel, canvas);
}

// The pause plate: the word, the pause sign at both ends, and below them how
// the game goes on.
void drawPausePlate(PictureList& pictures) {
    Canvas canvas = makeCanvas(256, 64, 256, 64);
    drawPanelBackground(canvas, 10);
    drawTitle(canvas, "PAUSED", {128, 25}, 24, 200);
    for (float x : {38.0f, 218.0f}) {
        // Two bars: the pause sign.
        fill(canvas, roundedBox({x - 7, 16, x - 2, 34}, 1.5f), {x - 9, 14, x, 36}, solid(theme::Cyan));
        fill(canvas, roundedBox({x + 2, 16, x + 7, 34}, 1.5f), {x, 14, x + 9, 36}, solid(theme::Cyan));
    }
    TextStyle style;
    style.face = Face::Sans;
    style.size = 10.5f;
    drawLabel(canvas, style, "P or Esc, or a click here, to go on", {128, 48}, whiteText(48, 10.5f), 0.9f, 224);
    putOpaque(pictures, Picture::Paused, canvas);
}

// Pictures the game loads but never shows: small plain tiles.
void drawSpares(PictureList& pictures) {
    Canvas canvas = makeCanvas(32, 32, 32, 32);
    fillAll(canvas, linear({0, 0}, {32, 32}, theme::Navy, theme::DeepViolet));
    for (int number : SparePictureNumbers) putOpaque(pictures, static_cast<Picture>(number), canvas);
}

}  // namespace

void drawDialogPictures(PictureList& pictures) {
    drawQuestionPanels(pictures);
    drawDialogButtons(pictures);
    drawOptionsPanel(pictures);
    drawOptionRows(pictures);
    drawHighScorePanel(pictures);
    drawNameEntryPanel(pictures);
    drawPausePlate(pictures);
    drawSpares(pictures);
}
