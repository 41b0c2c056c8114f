// The gems' textures, the tiled backdrops, the bar, the event banners and the
// glyph grid of the font.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "game/game.h"
#include "pictures_local.h"

namespace {

constexpr float Pi = 3.14159265f;

// --- gems --------------------------------------------------------------------

// Each mesh triangle shows one half of the picture, so the texture is a rich
// colour with soft facet shading that reads well however it lands.
void drawGem(PictureList& pictures, int kind, Rgba colour, float sparkle) {
    Canvas canvas = makeCanvas(64, 64, 64, 64);
    const Vec c = {32, 32};
    fillAll(canvas, [=](float x, float y) {
        const float dx = x - c.x, dy = y - c.y;
        const float r = std::hypot(dx, dy) / 32;
        const float angle = std::atan2(dy, dx);
        // Eight crown facets around an octagonal table, each lit differently.
        const float sector = std::floor((angle + Pi) / (Pi / 4));
        const float facet = 0.82f + 0.2f * std::sin(sector * 2.4f + 0.7f);
        const float table = 1 - smoothstep(0.34f, 0.42f, r * (1 + 0.08f * std::cos(8 * angle)));
        const float shade = table * 1.08f + (1 - table) * facet * (1.05f - 0.3f * r);
        // Soft seams between the facets.
        const float seamAngle = std::fabs(std::fmod(angle + Pi + Pi / 8, Pi / 4) - Pi / 8);
        const float seam = (1 - table) * (1 - smoothstep(0.0f, 0.06f, seamAngle * r));
        Rgba base = scaled(colour, shade * (1 - 0.18f * seam));
        // A brighter band across, as if from a window light.
        const float band = std::exp(-std::pow((dx + dy) / 9 + 1.2f, 2.0f));
        base = mix(base, hex(0xffffff), 0.28f * band * sparkle);
        return withAlpha(base, 1);
    });
    for (const Vec spot : {Vec{22, 20}, Vec{44, 41}}) {
        fill(canvas, circle(spot, 1.5f), {spot.x - 8, spot.y - 8, spot.x + 8, spot.y + 8},
             solid(withAlpha(hex(0xffffff), 0.55f * sparkle)), 3.5f);
    }
    putOpaque(pictures, gemPicture(kind), canvas);
}

void drawGems(PictureList& pictures) {
    drawGem(pictures, 1, hex(0xd8082e), 0.8f);   // ruby
    drawGem(pictures, 2, hex(0xff7800), 0.7f);   // amber
    drawGem(pictures, 3, hex(0xffec30), 0.6f);   // citrine
    drawGem(pictures, 4, hex(0x1ed050), 1.0f);   // emerald
    drawGem(pictures, 5, hex(0x2088ff), 1.0f);   // sapphire
    drawGem(pictures, 6, hex(0xa840ff), 1.0f);   // amethyst
    drawGem(pictures, 7, hex(0xe6eef8), 0.6f);   // diamond
}

// --- backdrops ---------------------------------------------------------------

// Backdrops repeat 5 x 5 behind the board: every pattern is periodic over the
// 128-texel square, and all of them stay dark so the gems stand out.
constexpr float Tile = 128;

float wrapDistance(float a, float b) {
    float d = std::fabs(a - b);
    return std::min(d, Tile - d);
}

void drawBackdrop(PictureList& pictures, int kind, const Paint& paint) {
    Canvas canvas = makeCanvas(128, 128, Tile, Tile);
    fillAll(canvas, paint);
    putOpaque(pictures, backdropPicture(kind), canvas);
}

void drawBackdrops(PictureList& pictures) {
    // Level 1: navy with a fine diamond lattice.
    drawBackdrop(pictures, 0, [](float x, float y) {
        const float u = std::fabs(std::sin((x + y) * Pi / 32)), v = std::fabs(std::sin((x - y) * Pi / 32));
        const float line = std::pow(1 - std::min(u, v), 10.0f);
        const float glow = 0.5f + 0.5f * std::cos(x * 2 * Pi / Tile) * std::cos(y * 2 * Pi / Tile);
        return mix(mix(hex(0x070b24), hex(0x0e1640), glow), hex(0x2d5aa8), 0.45f * line);
    });
    // Level 2: violet scales.
    drawBackdrop(pictures, 1, [](float x, float y) {
        float best = 1e9f;
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 5; ++col) {
                const float cx = col * 32.0f + (row % 2) * 16.0f, cy = row * 32.0f;
                best = std::min(best, std::hypot(wrapDistance(x, std::fmod(cx, Tile)), wrapDistance(y, std::fmod(cy, Tile))));
            }
        }
        const float edge = smoothstep(17, 21, best) * (1 - smoothstep(21, 25, best));
        const float inner = 1 - clamp01(best / 24);
        return mix(mix(hex(0x12082c), hex(0x26104e), inner), hex(0x6a3cc0), 0.35f * edge);
    });
    // Level 3: deep teal waves.
    drawBackdrop(pictures, 2, [](float x, float y) {
        const float phase = (y / Tile) * 6 * Pi + 1.5f * std::sin(x * 2 * Pi / Tile);
        const float wave = 0.5f + 0.5f * std::sin(phase);
        const float crest = std::pow(wave, 14.0f);
        return mix(mix(hex(0x031418), hex(0x08303a), wave * 0.6f), hex(0x3ac8d0), 0.3f * crest);
    });
    // Level 4: wine red with scattered starlight.
    drawBackdrop(pictures, 3, [](float x, float y) {
        Rgba base = mix(hex(0x1a0410), hex(0x2c0818), 0.5f + 0.5f * std::sin(x * 2 * Pi / Tile + y * 4 * Pi / Tile));
        uint32_t seed = 12345;
        for (int i = 0; i < 22; ++i) {
            seed = seed * 1103515245u + 12345u;
            const float sx = (seed >> 8) % 128;
            seed = seed * 1103515245u + 12345u;
            const float sy = (seed >> 8) % 128;
            const float size = 0.6f + (i % 3) * 0.45f;
            const float d = std::hypot(wrapDistance(x, sx), wrapDistance(y, sy));
            base = mix(base, hex(0xffb0c8), 0.5f * std::exp(-d * d / (size * size)));
        }
        return base;
    });
    // Level 5: dark green interlocking rings.
    drawBackdrop(pictures, 4, [](float x, float y) {
        float ring = 0;
        for (const Vec c : {Vec{0, 0}, Vec{32, 32}, Vec{64, 0}, Vec{96, 32}, Vec{0, 64}, Vec{32, 96}, Vec{64, 64}, Vec{96, 96}}) {
            const float d = std::hypot(wrapDistance(x, c.x), wrapDistance(y, c.y));
            ring = std::max(ring, 1 - smoothstep(0.8f, 2.4f, std::fabs(d - 30)));
        }
        const float shade = 0.5f + 0.5f * std::cos(x * 2 * Pi / Tile) * std::sin(y * 2 * Pi / Tile);
        return mix(mix(hex(0x03140a), hex(0x0a2a16), shade), hex(0x38b070), 0.28f * ring);
    });
    // Level 6: midnight plasma.
    drawBackdrop(pictures, 5, [](float x, float y) {
        const float u = x * 2 * Pi / Tile, v = y * 2 * Pi / Tile;
        const float p = std::sin(u * 2 + std::sin(v)) + std::sin(v * 3 + std::cos(u * 2)) + std::sin(u + v * 2);
        const float t = 0.5f + p / 6;
        return mix(mix(hex(0x080620), hex(0x1c0a3c), t), hex(0x2a4cb0), 0.35f * std::pow(t, 5.0f));
    });
}

// --- bar ---------------------------------------------------------------------

void drawBar(PictureList& pictures) {
    Canvas canvas = makeCanvas(256, 8, 256, 8);
    fillAll(canvas, [](float x, float y) {
        const Rgba along = linearStops({0, 0}, {256, 0},
                                       {{0.0f, hex(0x0a70c8)}, {0.6f, hex(0x30d8ff)}, {1.0f, hex(0xfff0a0)}})(x, y);
        const float t = y / 8;
        const float light = 1.25f - 0.55f * t + 0.35f * std::exp(-std::pow((t - 0.25f) / 0.15f, 2.0f));
        Rgba c = scaled(along, light);
        c = {clamp01(c.r), clamp01(c.g), clamp01(c.b), 1};
        return c;
    });
    putOpaque(pictures, Picture::Bar, canvas);
}

// --- banners -----------------------------------------------------------------

// Added to the screen with the banner's alpha: light on black.
void drawBanner(PictureList& pictures, Picture picture, const std::string& text, Rgba top, Rgba bottom, Rgba glow) {
    Canvas canvas = makeCanvas(256, 64, 256, 64);
    fillAll(canvas, solid(theme::Ink));
    TextStyle style;
    style.size = 30;
    style.tracking = 1.2f;
    const Coverage letters = centredText(canvas, style, text, {128, 32}, 236);
    // A flare through the middle, a halo, then the letters.
    Canvas flare = makeCanvas(256, 64, 256, 64);
    Coverage streak = coverageOf(flare, ellipse({128, 32}, 124, 1.6f), {0, 26, 256, 38});
    addCoverage(canvas, blurred(streak, 2), solid(glow), 0.8f);
    addCoverage(canvas, blurred(letters, 10), solid(glow), 0.9f);
    addCoverage(canvas, blurred(letters, 4), solid(glow), 0.8f);
    addCoverage(canvas, letters, linearStops({0, 20}, {0, 44}, {{0.0f, hex(0xffffff)}, {0.45f, top}, {1.0f, bottom}}));
    putOpaque(pictures, picture, canvas);
}

void drawBanners(PictureList& pictures) {
    drawBanner(pictures, Picture::LevelCompleteBanner, "LEVEL COMPLETE", hex(0xffe070), hex(0xff9a20), hex(0xc07a10));
    drawBanner(pictures, Picture::GameOverBanner, "GAME OVER", hex(0xff6a50), hex(0xc01030), hex(0xa01020));
    drawBanner(pictures, Picture::ExcellentBanner, "EXCELLENT!", hex(0x70f0ff), hex(0xd070ff), hex(0x5030c0));
    drawBanner(pictures, Picture::NoMoreMovesBanner, "NO MORE MOVES", hex(0xffb050), hex(0xff4030), hex(0xa03010));
}

}  // namespace

void drawBoardPictures(PictureList& pictures) {
    drawGems(pictures);
    drawBackdrops(pictures);
    drawBar(pictures);
    drawBanners(pictures);
}

// --- font --------------------------------------------------------------------

// A 16 x 16 grid of 16-texel cells. The game draws a cell as a 19-unit square
// and moves on 14 units, so each glyph keeps to the left 14/19 of its cell,
// centred there, with its baseline 4 texels above the cell's bottom.
void drawFontPicture(PictureList& pictures) {
    constexpr float Cell = 16;
    constexpr float Room = Cell * 14 / 19;  // the advance, in texels
    constexpr float MaxInk = Room - 1.4f;
    constexpr float Baseline = 12;            // texels below the cell's top
    constexpr float MaxTall = Cell - 3.2f;
    constexpr float PlaceholderRadius = 1.3f;
    constexpr float NameLetterWidening = 1.2f;
    constexpr uint32_t PlaceholderGrey = 0x7a7a7a;  // the game tints and adds it: a faint dot
    Canvas canvas = makeCanvas(256, 256, 256, 256);
    fillAll(canvas, solid(theme::Ink));
    Coverage glyphs = emptyCoverage(canvas);
    std::vector<Vec> placeholders;
    for (int set = 0; set < 2; ++set) {
        for (int code = 33; code < 127; ++code) {
            const int cell = code - 32 + 128 * set;
            const float left = (cell % 16) * Cell, top = (cell / 16) * Cell;
            // The free places of a name: a small dot on the baseline, so
            // that a name reads as its letters alone.
            if (code == FreeNamePlace) {
                placeholders.push_back({left + Room / 2, top + Baseline - PlaceholderRadius});
                continue;
            }
            // Names are printed a glyph every advance: their letters come from
            // the monospaced face, drawn for that, each placed by its own
            // advance (a narrow letter keeps the arms that fill its place, a J
            // its bar). Digits and signs keep the proportional face, centred.
            const bool letter = (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
            TextStyle style;
            style.face = set == 0 && !letter ? Face::SansBold : Face::MonoBold;
            style.size = 14.5f;
            style.hinted = true;
            if (set == 0 && letter) style.squeeze = NameLetterWidening;
            const std::string text(1, static_cast<char>(code));
            TextMetrics m = measureText(style, text);
            // Tall glyphs (bars, brackets) are made smaller to stay clear of
            // the rows above and below.
            const float tall = m.inkBottom - m.inkTop;
            if (tall > MaxTall) {
                style.size *= MaxTall / tall;
                m = measureText(style, text);
            }
            const float ink = m.inkRight - m.inkLeft;
            if (ink > MaxInk) {
                style.squeeze *= MaxInk / ink;
                m = measureText(style, text);
            }
            // Keep marks below the baseline (underscore) and above the
            // capitals (accents) inside the cell.
            float baseline = top + Baseline;
            baseline -= std::max(0.0f, baseline + m.inkBottom - (top + Cell - 1.6f));
            baseline += std::max(0.0f, top + 1.4f - (baseline + m.inkTop));
            const float x = set == 0 && letter ? left + (Room - m.advance) / 2
                                               : left + Room / 2 - (m.inkLeft + m.inkRight) / 2;
            renderText(glyphs, canvas, style, text, x, std::round(baseline));
        }
    }
    fillCoverage(canvas, glyphs, solid(hex(0xffffff)));
    for (const Vec& centre : placeholders)
        fill(canvas, circle(centre, PlaceholderRadius), grow({centre.x, centre.y, centre.x, centre.y}, 2),
             solid(hex(PlaceholderGrey)));
    putOpaque(pictures, Picture::Font, canvas);
}
