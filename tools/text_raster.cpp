// Text for the pictures: DejaVu outlines through FreeType, antialiased, at
// any size and horizontal squeeze, placed to a fraction of a pixel.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "raster.h"

namespace {

const char* const FontFiles[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono-Bold.ttf"};

struct Fonts {
    bool tried = false;
    bool ready = false;
    FT_Library library = nullptr;
    FT_Face faces[3] = {nullptr, nullptr, nullptr};
};

Fonts fonts;

// The usual places first, then a search of the font folders.
std::string findFontFile(const std::string& name) {
    namespace fs = std::filesystem;
    std::vector<std::string> folders;
    if (const char* own = std::getenv("VORTIQ_FONT_DIR")) folders.push_back(own);
    for (const char* folder : {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/TTF", "/usr/share/fonts/dejavu",
                               "/usr/share/fonts/truetype/ttf-dejavu", "/usr/local/share/fonts"})
        folders.push_back(folder);
    std::error_code error;
    for (const std::string& folder : folders) {
        const fs::path candidate = fs::path(folder) / name;
        if (fs::is_regular_file(candidate, error)) return candidate.string();
    }
    for (const char* root : {"/usr/share/fonts", "/usr/local/share/fonts"}) {
        std::vector<std::string> found;
        for (fs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error))
            if (it->path().filename() == name) found.push_back(it->path().string());
        if (!found.empty()) return *std::min_element(found.begin(), found.end());
    }
    return std::string();
}

FT_Face face(Face which) { return fonts.faces[static_cast<int>(which)]; }

float unitsToDesign(const TextStyle& style) {
    return style.size / static_cast<float>(face(style.face)->units_per_EM);
}

struct Placed {
    FT_UInt glyph;
    float penX;  // design units from the text's origin
};

std::vector<Placed> layOut(const TextStyle& style, const std::string& text, float& advance) {
    FT_Face f = face(style.face);
    const float scale = unitsToDesign(style) * style.squeeze;
    std::vector<Placed> placed;
    float pen = 0;
    FT_UInt previous = 0;
    for (unsigned char c : text) {
        const FT_UInt glyph = FT_Get_Char_Index(f, c);
        if (previous && FT_HAS_KERNING(f)) {
            FT_Vector kern;
            if (FT_Get_Kerning(f, previous, glyph, FT_KERNING_UNSCALED, &kern) == 0) pen += kern.x * scale;
        }
        placed.push_back({glyph, pen});
        if (FT_Load_Glyph(f, glyph, FT_LOAD_NO_SCALE) == 0) pen += f->glyph->metrics.horiAdvance * scale;
        pen += style.tracking;
        previous = glyph;
    }
    advance = text.empty() ? 0 : pen - style.tracking;
    return placed;
}

}  // namespace

bool fontsReady() {
    if (fonts.tried) return fonts.ready;
    fonts.tried = true;
    if (FT_Init_FreeType(&fonts.library) != 0) {
        std::fprintf(stderr, "vortiq-data: FreeType could not start\n");
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        const std::string path = findFontFile(FontFiles[i]);
        if (path.empty()) {
            std::fprintf(stderr, "vortiq-data: cannot find the font %s (install fonts-dejavu-core)\n", FontFiles[i]);
            return false;
        }
        if (FT_New_Face(fonts.library, path.c_str(), 0, &fonts.faces[i]) != 0) {
            std::fprintf(stderr, "vortiq-data: cannot load the font %s\n", path.c_str());
            return false;
        }
    }
    fonts.ready = true;
    return true;
}

TextMetrics measureText(const TextStyle& style, const std::string& text) {
    TextMetrics metrics{0, 1e9f, -1e9f, 1e9f, -1e9f};
    const std::vector<Placed> placed = layOut(style, text, metrics.advance);
    FT_Face f = face(style.face);
    const float scale = unitsToDesign(style);
    for (const Placed& p : placed) {
        if (FT_Load_Glyph(f, p.glyph, FT_LOAD_NO_SCALE) != 0 || f->glyph->format != FT_GLYPH_FORMAT_OUTLINE) continue;
        if (f->glyph->outline.n_points == 0) continue;
        FT_BBox box;
        FT_Outline_Get_CBox(&f->glyph->outline, &box);
        metrics.inkLeft = std::min(metrics.inkLeft, p.penX + box.xMin * scale * style.squeeze);
        metrics.inkRight = std::max(metrics.inkRight, p.penX + box.xMax * scale * style.squeeze);
        metrics.inkTop = std::min(metrics.inkTop, -box.yMax * scale);
        metrics.inkBottom = std::max(metrics.inkBottom, -box.yMin * scale);
    }
    if (metrics.inkLeft > metrics.inkRight) metrics.inkLeft = metrics.inkRight = metrics.inkTop = metrics.inkBottom = 0;
    return metrics;
}

float capHeight(const TextStyle& style) { return -measureText(style, "H").inkTop; }

void renderText(Coverage& into, const Canvas& canvas, const TextStyle& style, const std::string& text, float x,
                float baseline) {
    float advance;
    const std::vector<Placed> placed = layOut(style, text, advance);
    FT_Face f = face(style.face);
    const float sx = canvas.scaleX(), sy = canvas.scaleY();
    FT_Set_Char_Size(f, std::max(1L, std::lround(style.size * sx * style.squeeze * 64)),
                     std::max(1L, std::lround(style.size * sy * 64)), 72, 72);
    float py = baseline * sy;
    if (style.hinted) py = std::round(py);
    const int iy = static_cast<int>(std::floor(py));
    const float fy = py - iy;
    const FT_Int32 flags = FT_LOAD_NO_BITMAP | (style.hinted ? FT_LOAD_TARGET_LIGHT : FT_LOAD_NO_HINTING);
    for (const Placed& p : placed) {
        const float px = (x + p.penX) * sx;
        const int ix = static_cast<int>(std::floor(px));
        const float fx = px - ix;
        if (FT_Load_Glyph(f, p.glyph, flags) != 0 || f->glyph->format != FT_GLYPH_FORMAT_OUTLINE) continue;
        FT_Outline_Translate(&f->glyph->outline, std::lround(fx * 64), -std::lround(fy * 64));
        if (FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_Bitmap& bitmap = f->glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = iy - f->glyph->bitmap_top + static_cast<int>(row);
            if (y < 0 || y >= into.height) continue;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int xx = ix + f->glyph->bitmap_left + static_cast<int>(col);
                if (xx < 0 || xx >= into.width) continue;
                float& v = into.values[static_cast<size_t>(y) * into.width + xx];
                v = std::min(1.0f, v + bitmap.buffer[row * bitmap.pitch + col] / 255.0f);
            }
        }
    }
}

Coverage centredText(const Canvas& canvas, TextStyle style, const std::string& text, Vec centre, float maxWidth) {
    TextMetrics metrics = measureText(style, text);
    const float width = metrics.inkRight - metrics.inkLeft;
    if (width > maxWidth) {
        // Narrow the letters a little, then make them smaller.
        const float ratio = maxWidth / width;
        style.squeeze *= std::max(ratio, 0.88f);
        if (ratio < 0.88f) style.size *= ratio / 0.88f;
        style.tracking *= ratio;
        metrics = measureText(style, text);
    }
    const float x = centre.x - (metrics.inkLeft + metrics.inkRight) / 2;
    const float baseline = centre.y + capHeight(style) / 2;
    Coverage coverage = emptyCoverage(canvas);
    renderText(coverage, canvas, style, text, x, baseline);
    return coverage;
}
