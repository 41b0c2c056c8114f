// The 81 pictures of base/: drawn here and in the picture_*.cpp files,
// written as 24-bit BMPs.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "assets/assets.h"
#include "files_local.h"
#include "generator.h"
#include "pictures_local.h"

void putSprite(PictureList& pictures, Picture picture, const Canvas& canvas) { pictures[picture] = toRgb8(canvas); }

void putMask(PictureList& pictures, Picture picture, const Canvas& canvas) { pictures[picture] = maskOf(canvas); }

void putOpaque(PictureList& pictures, Picture picture, const Canvas& canvas) { pictures[picture] = toRgb8(canvas); }

// --- buttons -----------------------------------------------------------------

namespace {

Box offsetBox(Box box, float dx, float dy) { return {box.x0 + dx, box.y0 + dy, box.x1 + dx, box.y1 + dy}; }

struct ButtonColours {
    Rgba top, bottom, rimLight, rimDark, text, textGlow;
    float gloss, glow;
};

ButtonColours coloursFor(Look look) {
    switch (look) {
        case Look::Lit:
            return {hex(0x5b4bd0), hex(0x241a78), hex(0xfff4c8), hex(0xb08a30), hex(0xffffff), theme::Cyan, 0.30f, 0.65f};
        case Look::Pressed:
            return {hex(0x0c1030), hex(0x23306e), theme::Ice, hex(0x1a8aa8), hex(0xbff6ff), theme::Cyan, 0.06f, 0.45f};
        case Look::Normal:
        default:
            return {hex(0x3a2c86), hex(0x150f44), theme::Gold, theme::DarkGold, hex(0xf7e3a4), theme::Gold, 0.18f, 0};
    }
}

}  // namespace

Canvas buttonShadow(int width, int height, float designWidth, float designHeight, const ButtonArt& art) {
    Canvas canvas = makeCanvas(width, height, designWidth, designHeight);
    const Box below = offsetBox(art.body, 0, 1.2f);
    fill(canvas, roundedBox(below, art.radius), grow(below, 3), solid(withAlpha(theme::Ink, 0.55f)), 1.3f);
    return canvas;
}

Canvas drawButton(int width, int height, float designWidth, float designHeight, const ButtonArt& art, Look look) {
    Canvas canvas = buttonShadow(width, height, designWidth, designHeight, art);
    const ButtonColours colours = coloursFor(look);
    const Box b = art.body;
    const Sdf body = roundedBox(b, art.radius);
    const float rim = 1.5f;
    const Sdf inner = shrunk(body, rim);

    Canvas content = makeCanvas(width, height, designWidth, designHeight);
    fillAll(content, linear({0, b.y0}, {0, b.y1}, colours.top, colours.bottom));
    // A soft light pooled where the label sits.
    fill(content, ellipse({b.centreX() + art.textShift, b.y1}, b.width() * 0.45f, b.height() * 0.55f), grow(b, 2),
         solid(withAlpha(look == Look::Pressed ? theme::Cyan : hex(0x7a6cff), look == Look::Normal ? 0.12f : 0.22f)),
         b.height() * 0.35f);
    // Gloss over the upper half.
    const Box glossBox = {b.x0 + rim + 1, b.y0 + rim, b.x1 - rim - 1, b.centreY()};
    fill(content, intersect(roundedBox(glossBox, art.radius * 0.8f), inner), grow(glossBox, 1),
         linear({0, glossBox.y0}, {0, glossBox.y1}, withAlpha(hex(0xffffff), colours.gloss),
                withAlpha(hex(0xffffff), colours.gloss * 0.15f)));
    bevel(content, inner, b, 3.0f, look == Look::Pressed ? 0.15f : 0.4f);
    // The rim: metal, lit from above.
    fill(content, subtract(body, inner), grow(b, 1),
         linearStops({0, b.y0}, {0, b.y1}, {{0.0f, colours.rimLight}, {0.5f, colours.rimDark}, {1.0f, colours.rimLight}}));

    float textX = b.centreX() + art.textShift;
    if (art.lamp) {
        const Vec c = {b.x0 + b.height() * 0.5f + 1, b.centreY()};
        const float r = b.height() * 0.2f;
        const Rgba lampColour = look == Look::Pressed ? hex(0x7dffc0) : (look == Look::Lit ? hex(0x2e8a70) : hex(0x14302c));
        if (look == Look::Pressed)
            fill(content, circle(c, r), grow({c.x - r, c.y - r, c.x + r, c.y + r}, 8), solid(withAlpha(lampColour, 0.55f)),
                 r * 1.2f);
        fill(content, circle(c, r + 0.8f), grow({c.x - r, c.y - r, c.x + r, c.y + r}, 2), solid(hex(0x05060f)));
        fill(content, circle(c, r), grow({c.x - r, c.y - r, c.x + r, c.y + r}, 1),
             radial({c.x - r * 0.3f, c.y - r * 0.35f}, r * 1.2f, mix(lampColour, hex(0xffffff), 0.5f), lampColour));
    }
    TextStyle style;
    style.face = Face::SansBold;
    style.size = art.textSize;
    style.tracking = art.textSize * 0.04f;
    const Vec centre = {textX, b.centreY() + (look == Look::Pressed ? 0.7f : 0.0f)};
    const float room = b.width() - 2 * art.radius - (art.lamp ? b.height() * 0.8f : 0) - 4;
    const Coverage text = centredText(content, style, art.label, centre, room);
    if (colours.glow > 0) fillCoverage(content, blurred(text, 4), solid(colours.textGlow), colours.glow);
    fillCoverage(content, blurred(shifted(text, 0, 1), 1), solid(theme::Ink), 0.85f);
    fillCoverage(content, text,
                 linear({0, centre.y - art.textSize * 0.4f}, {0, centre.y + art.textSize * 0.4f}, colours.text,
                        mix(colours.text, look == Look::Normal ? theme::Gold : theme::Cyan, 0.35f)));

    drawClipped(canvas, content, coverageOf(canvas, body, grow(b, 1)));
    return canvas;
}

void drawLabel(Canvas& canvas, const TextStyle& style, const std::string& text, Vec centre, const Paint& paint,
               float shadowOpacity, float maxWidth) {
    const Coverage coverage = centredText(canvas, style, text, centre, maxWidth);
    const int drop = std::max(1, static_cast<int>(canvas.scaleY() / pixelDensity() * style.size / 14));
    if (shadowOpacity > 0) fillCoverage(canvas, blurred(shifted(coverage, 0, drop), 2), solid(theme::Ink), shadowOpacity);
    fillCoverage(canvas, coverage, paint);
}

void drawPanelBackground(Canvas& canvas, float cornerRadius) {
    const float w = canvas.designWidth, h = canvas.designHeight;
    fillAll(canvas, linear({0, 0}, {0, h}, hex(0x1c1650), hex(0x0a0c26)));
    const Box whole = {0, 0, w, h};
    // Outer gold rule on the very edge, then a dark gap, then the field.
    const Sdf edge = roundedBox(whole, 0.01f);
    fill(canvas, subtract(edge, shrunk(edge, 2.2f)), whole,
         linearStops({0, 0}, {0, h}, {{0.0f, theme::PaleGold}, {0.5f, theme::DarkGold}, {1.0f, theme::Gold}}));
    const Box field = {6, 6, w - 6, h - 6};
    const Sdf fieldShape = roundedBox(field, cornerRadius);
    fill(canvas, fieldShape, grow(field, 3), solid(withAlpha(theme::Ink, 0.6f)), 2.0f);
    fill(canvas, fieldShape, grow(field, 1),
         radial({w * 0.5f, h * 0.2f}, std::max(w, h) * 0.9f, hex(0x2e2478), hex(0x0e0f34)));
    fill(canvas, outline(shrunk(fieldShape, 0.8f), 0.55f), grow(field, 1), solid(withAlpha(theme::Gold, 0.75f)));
    bevel(canvas, shrunk(fieldShape, 1.6f), field, 4.0f, 0.25f);
    // Small diamonds in the corners of the gold rule.
    for (const Vec corner : {Vec{3, 3}, Vec{w - 3, 3}, Vec{3, h - 3}, Vec{w - 3, h - 3}}) {
        const float r = 3.2f;
        const Sdf diamond = polygon({{corner.x, corner.y - r}, {corner.x + r, corner.y}, {corner.x, corner.y + r},
                                     {corner.x - r, corner.y}});
        fill(canvas, diamond, {corner.x - r - 1, corner.y - r - 1, corner.x + r + 1, corner.y + r + 1},
             linear({corner.x, corner.y - r}, {corner.x, corner.y + r}, theme::PaleGold, theme::DarkGold));
    }
}

// --- writing -----------------------------------------------------------------

namespace {

// Every picture drawn at the pixel density in force.
PictureList drawPictureSet(int density) {
    const PixelDensity inForce(density);
    PictureList pictures;
    drawPanelPictures(pictures);
    drawDialogPictures(pictures);
    drawBoardPictures(pictures);
    drawFontPicture(pictures);
    drawCursorPictures(pictures);
    return pictures;
}

bool writePictureSet(const std::string& gameDir, const char* pathFormat, int density) {
    const PictureList pictures = drawPictureSet(density);
    bool ok = true;
    for (int number = 0; number < PictureCount; ++number) {
        char name[48];
        std::snprintf(name, sizeof name, pathFormat, number);
        const auto found = pictures.find(static_cast<Picture>(number));
        if (found == pictures.end() || found->second.width % 4 != 0) {
            std::fprintf(stderr, "vortiq-data: picture %d was not drawn properly\n", number);
            ok = false;
            continue;
        }
        ok = writeFileSafely(gameDir + "/" + name, encodeBmp(found->second)) && ok;
    }
    return ok;
}

}  // namespace

bool writePictures(const std::string& gameDir) {
    if (!fontsReady()) return false;
    std::error_code error;
    std::filesystem::create_directories(gameDir + "/" + SharpPictureFolder, error);
    if (error) {
        std::fprintf(stderr, "vortiq-data: cannot make %s/%s: %s\n", gameDir.c_str(), SharpPictureFolder,
                     error.message().c_str());
        return false;
    }
    const bool ok = writePictureSet(gameDir, PicturePathFormat, 1);
    return writePictureSet(gameDir, SharpPicturePathFormat, 2) && ok;
}
