// The frame over the whole window, the side panel's buttons and the hint
// lamp. The frame is drawn in the units of the 640 x 480 window; the game
// stretches it over 800 x 600 as well, and every place on it is relative.
#include <cmath>

#include "pictures_local.h"

namespace {

constexpr float W = 640, H = 480;
const Box Opening = {188, 21, 610, 443};       // the board's field
const Box SidePlate = {6, 6, 180, 474};
const Box ScoreWell = {80, 16, 176, 51};      // digits at x 90 .. 165, y 24 .. 43
const Box TimeTrough = {240, 457, 563, 475};  // the bar at x 245 .. 558, y 462 .. 470
const Box LevelTab = {570, 441, 630, 480};
const Box LevelWell = {577, 455, 623, 478};   // digits at x 580 .. 613, y 457 .. 476

Paint metalGold(Box box) {
    return linearStops({0, box.y0}, {0, box.y1},
                       {{0.0f, theme::PaleGold}, {0.35f, theme::Gold}, {0.7f, theme::DarkGold}, {1.0f, theme::Gold}});
}

// A dark hollow that numbers are printed into.
void drawWell(Canvas& canvas, Box box, float radius) {
    const Sdf shape = roundedBox(box, radius);
    fill(canvas, shape, grow(box, 3), solid(withAlpha(theme::PaleGold, 0.35f)), 1.2f);
    fill(canvas, shape, grow(box, 1), linear({0, box.y0}, {0, box.y1}, hex(0x010208), hex(0x0a0f2a)));
    bevel(canvas, shape, box, 3.0f, -0.6f);
    fill(canvas, outline(shape, 0.5f), grow(box, 1), solid(withAlpha(theme::Cyan, 0.35f)));
}

void drawSmallCaps(Canvas& canvas, const std::string& text, Vec centre, float size) {
    TextStyle style;
    style.size = size;
    style.tracking = size * 0.12f;
    drawLabel(canvas, style, text, centre,
              linear({0, centre.y - size / 2}, {0, centre.y + size / 2}, theme::PaleGold, theme::Gold), 0.9f);
}

void drawFrame(PictureList& pictures) {
    Canvas content = makeCanvas(512, 512, W, H);
    // The ground: deep navy to violet with a faint woven lattice.
    fillAll(content, [](float x, float y) {
        const Rgba base = mix(hex(0x0d1236), hex(0x1d0f3c), clamp01((x / W) * 0.6f + (y / H) * 0.4f));
        const float lattice = std::fabs(std::sin((x + y) * 0.16f) * std::sin((x - y) * 0.16f));
        return scaled(base, 0.9f + 0.22f * std::pow(lattice, 6.0f));
    });
    // A soft darkening toward the window's edges.
    const Sdf middle = roundedBox({30, 30, W - 30, H - 30}, 60);
    fill(content, [middle](float x, float y) { return -middle(x, y); }, {0, 0, W, H},
         solid(withAlpha(theme::Ink, 0.4f)), 30);

    // Side plate.
    const Sdf plate = roundedBox(SidePlate, 12);
    fill(content, plate, grow(SidePlate, 8), solid(withAlpha(theme::Ink, 0.6f)), 4);
    fill(content, plate, grow(SidePlate, 1), [](float x, float y) {
        const Rgba base = mix(hex(0x221a5c), hex(0x0f0d30), clamp01(y / H));
        const float sheen = 0.5f + 0.5f * std::cos((x - 40) / 140 * 3.14159f);
        return mix(base, hex(0x3a2e86), 0.25f * sheen * (1 - y / H));
    });
    bevel(content, shrunk(plate, 2), SidePlate, 5, 0.3f);
    fill(content, subtract(plate, shrunk(plate, 2)), grow(SidePlate, 1), metalGold(SidePlate));

    // Score: label and well.
    drawSmallCaps(content, "SCORE", {43, 34}, 12.5f);
    drawWell(content, ScoreWell, 6);

    // The title between the mode buttons and the hint lamp.
    {
        TextStyle style;
        style.size = 25;
        style.tracking = 2.5f;
        const Vec centre = {93, 198};
        const Coverage title = centredText(content, style, "VORTIQ", centre, 150);
        fillCoverage(content, blurred(title, 6), solid(hex(0x8a5cff)), 0.7f);
        fillCoverage(content, blurred(shifted(title, 0, 2), 2), solid(theme::Ink), 0.9f);
        fillCoverage(content, title,
                     linearStops({0, centre.y - 10}, {0, centre.y + 10},
                                 {{0.0f, hex(0xfffbe8)}, {0.45f, theme::Gold}, {0.55f, hex(0xb07a20)}, {1.0f, hex(0xffe7a0)}}));
    }
    // A jewelled rule between the hint lamp and the lower buttons.
    {
        const float y = 352;
        fill(content, capsule({24, y}, {162, y}, 0.6f), {20, y - 3, 166, y + 3}, solid(withAlpha(theme::Gold, 0.7f)));
        const Rgba stones[3] = {hex(0xff3048), hex(0x38e070), hex(0x40a0ff)};
        for (int i = 0; i < 3; ++i) {
            const float x = 75 + 18.0f * i;
            const Sdf stone = polygon({{x, y - 5}, {x + 5, y}, {x, y + 5}, {x - 5, y}});
            fill(content, stone, {x - 7, y - 7, x + 7, y + 7}, solid(theme::Night));
            fill(content, shrunk(stone, 1), {x - 7, y - 7, x + 7, y + 7},
                 linear({x - 3, y - 3}, {x + 3, y + 3}, mix(stones[i], hex(0xffffff), 0.5f), stones[i]));
        }
    }

    // The board's surround: a shadow, a gold moulding, a dark lip.
    const Sdf hole = roundedBox(Opening, 3);
    const Box ring = grow(Opening, 5);
    const Sdf ringShape = roundedBox(ring, 8);
    fill(content, ringShape, grow(ring, 8), solid(withAlpha(theme::Ink, 0.7f)), 4);
    fill(content, ringShape, grow(ring, 1), metalGold(ring));
    bevel(content, subtract(ringShape, hole), ring, 3, 0.45f);
    fill(content, outline(shrunk(ringShape, 3.2f), 0.4f), grow(ring, 1), solid(withAlpha(theme::DarkGold, 0.8f)));

    // Time trough and level tab along the bottom.
    {
        const Sdf trough = roundedBox(TimeTrough, 9);
        fill(content, trough, grow(TimeTrough, 2), metalGold(TimeTrough));
        const Box inner = grow(TimeTrough, -2);
        drawWell(content, inner, 7);
        // Quarter marks under the glass.
        for (int i = 1; i < 4; ++i) {
            const float x = 245 + (558 - 245) * i / 4.0f;
            fill(content, capsule({x, inner.y0 + 2}, {x, inner.y1 - 2}, 0.45f), {x - 2, inner.y0, x + 2, inner.y1},
                 solid(withAlpha(theme::Cyan, 0.25f)));
        }
        const Sdf tab = roundedBox(LevelTab, 7);
        fill(content, tab, grow(LevelTab, 5), solid(withAlpha(theme::Ink, 0.6f)), 3);
        fill(content, tab, grow(LevelTab, 1), metalGold(LevelTab));
        fill(content, shrunk(tab, 1.5f), LevelTab, linear({0, LevelTab.y0}, {0, LevelTab.y1}, hex(0x2a2070), hex(0x120d3a)));
        drawSmallCaps(content, "LEVEL", {600, 449.5f}, 7.5f);
        drawWell(content, LevelWell, 5);
    }

    // The cut: everything but the opening, whose edge casts a little shade
    // onto the board.
    Canvas frame = makeCanvas(512, 512, W, H);
    const Sdf outside = [hole](float x, float y) { return -hole(x, y); };
    fill(frame, shrunk(outside, -2.5f), grow(Opening, 1), solid(withAlpha(theme::Ink, 0.55f)), 2.5f);
    drawClipped(frame, content, coverageOf(frame, outside, {0, 0, W, H}));
    putMask(pictures, Picture::FrameMask, frame);
    putSprite(pictures, Picture::Frame, frame);
}

// Side buttons: 128 x 32 pictures shown at 120 x 40 (and 150 x 50). Their
// clickable part is the left and upper part of the quad, so the shapes sit there.
constexpr int ButtonW = 128, ButtonH = 32;
constexpr float ButtonDesignW = 120, ButtonDesignH = 40;

// Body, corner radius, label, text size (and the lamp with the label's shift).
ButtonArt wideButton(const std::string& label) { return ButtonArt{{1.5f, 1.5f, 112, 36.5f}, 10, label, 14.5f}; }
ButtonArt modeButton(const std::string& label) { return ButtonArt{{2, 1, 104, 29.5f}, 14.25f, label, 13, 9, true}; }

void drawSideButtons(PictureList& pictures) {
    // Each button's looks from its first picture on; the first button of
    // each shape also gives that shape's mask.
    struct Side {
        ButtonArt art;
        Picture first;
        bool givesMask;
        Picture mask;
    };
    const Side buttons[] = {
        {wideButton("NEW GAME"), Picture::NewGameButton, true, Picture::WideButtonMask},
        {wideButton("OPTIONS"), Picture::OptionsButton, false, Picture::WideButtonMask},
        {wideButton("QUIT"), Picture::QuitButton, false, Picture::WideButtonMask},
        {modeButton("TIMED"), Picture::TimedButton, true, Picture::ModeButtonMask},
        {modeButton("LEVELS"), Picture::LevelsButton, false, Picture::ModeButtonMask},
    };
    for (const Side& button : buttons)
        for (int look = 0; look < ButtonLookCount; ++look) {
            const Canvas canvas =
                drawButton(ButtonW, ButtonH, ButtonDesignW, ButtonDesignH, button.art, static_cast<Look>(look));
            putSprite(pictures, pictureAfter(button.first, look), canvas);
            if (button.givesMask && look == 0) putMask(pictures, button.mask, canvas);
        }
}

// The hint lamp: 64 x 128, shown at 80 x 120 (100 x 150); its clickable part
// is the upper seven eighths.
void drawHint(PictureList& pictures) {
    const Box card = {3, 2, 77, 102};
    for (int lit = 0; lit < 2; ++lit) {
        ButtonArt art;
        art.body = card;
        art.radius = 12;
        art.label = "";
        art.textSize = 14;
        Canvas canvas = drawButton(64, 128, 80, 120, art, lit ? Look::Lit : Look::Normal);
        Canvas content = makeCanvas(64, 128, 80, 120);
        const Vec bulb = {40, 38};
        const float r = 17;
        if (lit) {
            fill(content, circle(bulb, r), grow({bulb.x - r, bulb.y - r, bulb.x + r, bulb.y + r}, 30),
                 solid(withAlpha(hex(0xffe27a), 0.7f)), 14);
            for (int i = 0; i < 8; ++i) {
                const float angle = i * 3.14159265f / 4 + 3.14159265f / 8;
                const Vec a = {bulb.x + std::cos(angle) * (r + 5), bulb.y + std::sin(angle) * (r + 5)};
                const Vec b = {bulb.x + std::cos(angle) * (r + 12), bulb.y + std::sin(angle) * (r + 12)};
                if (b.y > bulb.y + r) continue;
                fill(content, capsule(a, b, 1.4f), {0, 0, 80, 120}, solid(hex(0xfff3b0)));
            }
        }
        // Glass, neck and screw base.
        const Sdf glass = unite(circle(bulb, r), polygon({{bulb.x - 10, bulb.y + 10},
                                                          {bulb.x + 10, bulb.y + 10},
                                                          {bulb.x + 7, bulb.y + 24},
                                                          {bulb.x - 7, bulb.y + 24}}));
        const Box glassBox = {bulb.x - r - 1, bulb.y - r - 1, bulb.x + r + 1, bulb.y + 25};
        fill(content, glass, glassBox,
             lit ? radial({bulb.x - 4, bulb.y - 6}, r * 1.6f, hex(0xffffff), hex(0xffc93a))
                 : radial({bulb.x - 5, bulb.y - 7}, r * 1.5f, hex(0x7d88c8), hex(0x23285e)));
        fill(content, outline(glass, 0.7f), glassBox, solid(lit ? hex(0xfff6c8) : hex(0xa8b4ff)));
        // Filament.
        fill(content, unite(capsule({bulb.x - 5, bulb.y + 16}, {bulb.x - 3, bulb.y + 2}, 0.8f),
                            unite(capsule({bulb.x + 5, bulb.y + 16}, {bulb.x + 3, bulb.y + 2}, 0.8f),
                                  capsule({bulb.x - 3, bulb.y + 2}, {bulb.x + 3, bulb.y + 2}, 1.1f))),
             glassBox, solid(lit ? hex(0xff8a00) : theme::Gold));
        if (!lit)
            fill(content, ellipse({bulb.x - 6, bulb.y - 8}, 5, 3.5f), glassBox, solid(withAlpha(hex(0xffffff), 0.45f)),
                 1.5f);
        const Box base = {bulb.x - 8, bulb.y + 24, bulb.x + 8, bulb.y + 36};
        fill(content, roundedBox(base, 2.5f), grow(base, 1), metalGold(base));
        for (int i = 1; i < 3; ++i) {
            const float y = base.y0 + i * 4.0f;
            fill(content, capsule({base.x0 + 1, y}, {base.x1 - 1, y}, 0.6f), base, solid(theme::DarkGold));
        }
        TextStyle style;
        style.size = 14;
        style.tracking = 1.5f;
        drawLabel(content, style, "HINT", {40, 88},
                  solid(lit ? hex(0xffffff) : hex(0xf7e3a4)), 0.9f);
        const Sdf body = roundedBox(grow(card, -1.5f), 10.5f);
        drawClipped(canvas, content, coverageOf(canvas, body, card));
        putSprite(pictures, lit ? Picture::HintPictureLit : Picture::HintPicture, canvas);
        if (!lit) putMask(pictures, Picture::HintMask, canvas);
    }
}

}  // namespace

void drawPanelPictures(PictureList& pictures) {
    drawFrame(pictures);
    drawSideButtons(pictures);
    drawHint(pictures);
}
