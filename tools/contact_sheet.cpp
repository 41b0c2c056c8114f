// A contact sheet for reviewing the pictures: two screens put together the
// way the game stacks the pictures, then every picture scaled into a grid
// with its number and size. Read back from the written files.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "files_local.h"
#include "game/screen_geometry.h"
#include "generator.h"
#include "pictures_local.h"

namespace {

bool readPicture(const std::string& gameDir, int number, Rgb8Image& image) {
    char name[32];
    std::snprintf(name, sizeof name, "/base/tex%02d.bmp", number);
    std::ifstream in(gameDir + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return in && decodeBmp(bytes.str(), image);
}

void blit(Rgb8Image& dst, const Rgb8Image& src, int x, int y) {
    for (int j = 0; j < src.height; ++j) {
        if (y + j < 0 || y + j >= dst.height) continue;
        for (int i = 0; i < src.width; ++i) {
            if (x + i < 0 || x + i >= dst.width) continue;
            for (int c = 0; c < 3; ++c)
                dst.rgb[((size_t(y + j)) * dst.width + x + i) * 3 + c] = src.rgb[(size_t(j) * src.width + i) * 3 + c];
        }
    }
}

// The game's two ways of putting a picture on the screen, at overlay
// coordinates (origin bottom left) in a screen of height screenH.
struct Screen {
    Rgb8Image image;
    std::vector<Rgb8Image>* pictures;

    const Rgb8Image& picture(Picture p) const { return (*pictures)[pictureNumber(p)]; }
    void quad(Picture tex, int x, int y, int w, int h) {
        blit(image, resized(picture(tex), w, h), x, image.height - y - h);
    }
    void quad(Picture tex, const Placement& at) { quad(tex, at.x, at.y, at.w, at.h); }
    void sprite(Picture mask, Picture tex, const Placement& at) { sprite(mask, tex, at.x, at.y, at.w, at.h); }
    void sprite(Picture mask, Picture tex, int x, int y, int w, int h, bool additive = false) {
        const Rgb8Image m = resized(picture(mask), w, h), p = resized(picture(tex), w, h);
        const int top = image.height - y - h;
        for (int j = 0; j < h; ++j) {
            if (top + j < 0 || top + j >= image.height) continue;
            for (int i = 0; i < w; ++i) {
                if (x + i < 0 || x + i >= image.width) continue;
                for (int c = 0; c < 3; ++c) {
                    uint8_t& d = image.rgb[(size_t(top + j) * image.width + x + i) * 3 + c];
                    const int kept = additive ? d : d * m.rgb[(size_t(j) * w + i) * 3 + c] / 255;
                    d = static_cast<uint8_t>(std::min(255, kept + p.rgb[(size_t(j) * w + i) * 3 + c]));
                }
            }
        }
    }
    // Text as the game prints it: 19-unit glyph squares 14 apart, in a
    // 640 x 480 space, added to the screen.
    void text(int x, int y, const std::string& s) {
        const float scale = image.width / 640.0f;
        const Rgb8Image& font = picture(Picture::Font);
        for (size_t k = 0; k < s.size(); ++k) {
            const int cell = s[k] - 32;
            Rgb8Image glyph;
            glyph.width = glyph.height = 16;
            glyph.rgb.resize(16 * 16 * 3);
            for (int j = 0; j < 16; ++j)
                for (int i = 0; i < 16 * 3; ++i)
                    glyph.rgb[(j * 16) * 3 + i] = font.rgb[((cell / 16 * 16 + j) * font.width + cell % 16 * 16) * 3 + i];
            const int size = static_cast<int>(19 * scale + 0.5f);
            const Rgb8Image shown = resized(glyph, size, size);
            const int gx = static_cast<int>((x + 14 * k) * scale), gy = static_cast<int>(y * scale);
            const int top = image.height - gy - size;
            for (int j = 0; j < size; ++j)
                for (int i = 0; i < size; ++i)
                    for (int c = 0; c < 3; ++c) {
                        if (top + j < 0 || top + j >= image.height || gx + i >= image.width) continue;
                        uint8_t& d = image.rgb[(size_t(top + j) * image.width + gx + i) * 3 + c];
                        d = static_cast<uint8_t>(std::min(255, d + shown.rgb[(size_t(j) * size + i) * 3 + c]));
                    }
        }
    }
};

Screen playingScreen(std::vector<Rgb8Image>& pictures, int w, int h, Picture backdrop) {
    Screen s{Rgb8Image{}, &pictures};
    s.image.width = w;
    s.image.height = h;
    s.image.rgb.assign(size_t(w) * h * 3, 0);
    // The backdrop square: tiles about a sixth of the window wide, from x 0.21.
    const int tile = w * 106 / 640;
    const Rgb8Image t = resized(s.picture(backdrop), tile, tile);
    for (int y = -tile / 3; y < h; y += tile)
        for (int x = w * 134 / 640; x < w; x += tile) blit(s.image, t, x, y);
    s.sprite(Picture::FrameMask, Picture::Frame, 0, 0, w, h);
    return s;
}

// The side panel in a mix of looks (the first of each pair windowed, the
// second full screen), the bar and the counters.
void sidePanel(Screen& s, bool full) {
    const ScreenGeometry& g = layoutGeometry(full ? Layout::FullScreen : Layout::Windowed);
    auto look = [full](Picture first, int windowed, int fullScreen) {
        return pictureAfter(first, full ? fullScreen : windowed);
    };
    s.sprite(Picture::HintMask, look(Picture::HintPicture, 1, 0), g.hint.drawn);
    s.sprite(Picture::WideButtonMask, look(Picture::NewGameButton, 0, 1), g.newGame.drawn);
    s.sprite(Picture::ModeButtonMask, look(Picture::TimedButton, 0, 2), g.timedMode.drawn);
    s.sprite(Picture::ModeButtonMask, look(Picture::LevelsButton, 2, 1), g.levelsMode.drawn);
    s.sprite(Picture::WideButtonMask, look(Picture::OptionsButton, 1, 0), g.options.drawn);
    s.sprite(Picture::WideButtonMask, look(Picture::QuitButton, 0, 2), g.quit.drawn);
    // The bar in the window's pixels, a little short of full.
    const float k = static_cast<float>(g.width) / BarSpaceWidth;
    s.quad(Picture::Bar, int(BarX * k), int(BarY * k), int(250 * k), int(BarHeight * k));
    s.text(96, ScoreCounterY, "1250");
    s.text(LevelNumberX, LevelNumberY, " 3");
}

}  // namespace

bool writeContactSheet(const std::string& gameDir, const std::string& pngPath) {
    if (!fontsReady()) return false;
    std::vector<Rgb8Image> pictures(PictureCount);
    for (int n = 0; n < PictureCount; ++n) {
        if (!readPicture(gameDir, n, pictures[n])) {
            std::fprintf(stderr, "vortiq-data: cannot read picture %d back for the contact sheet\n", n);
            return false;
        }
    }
    constexpr int Columns = 9, CellW = 176, CellH = 150, BoxW = 160, BoxH = 116;
    const int rows = (PictureCount + Columns - 1) / Columns;
    const int previewH = 600 + 20;
    const int width = Columns * CellW, height = previewH + rows * CellH + 10;

    Canvas sheet = makeCanvas(width, height, float(width), float(height));
    fillAll(sheet, solid(hex(0x3c4150)));
    Coverage labels = emptyCoverage(sheet);
    TextStyle style;
    style.face = Face::Sans;
    style.size = 13;
    for (int n = 0; n < PictureCount; ++n) {
        const int x = (n % Columns) * CellW, y = previewH + (n / Columns) * CellH;
        char caption[48];
        std::snprintf(caption, sizeof caption, "%02d   %d x %d", n, pictures[n].width, pictures[n].height);
        renderText(labels, sheet, style, caption, x + 10.0f, y + BoxH + 24.0f);
    }
    fillCoverage(sheet, labels, solid(hex(0xffffff)));
    Rgb8Image out = toRgb8(sheet);

    // Screens: windowed with the start-up prompt, full screen with options.
    const ScreenGeometry& windowed = layoutGeometry(Layout::Windowed);
    Screen a = playingScreen(pictures, windowed.width, windowed.height, backdropPicture(0));
    sidePanel(a, false);
    a.quad(Picture::ContinuePanel, windowed.confirmationPanel);
    a.sprite(Picture::DialogButtonMask, Picture::YesButtonLit, windowed.dialogFirst.drawn);
    a.sprite(Picture::DialogButtonMask, Picture::NoButton, windowed.dialogSecond.drawn);
    blit(out, a.image, 10, 10);
    const ScreenGeometry& full = layoutGeometry(Layout::FullScreen);
    Screen b = playingScreen(pictures, full.width, full.height, backdropPicture(3));
    sidePanel(b, true);
    b.quad(Picture::HighScoresPanel, full.highScoresPanel);
    b.sprite(Picture::DialogButtonMask, Picture::BackButtonLit, full.highScoresBack.drawn);
    const char* names[5] = {"ALEXANDRA", "BEN", "CHLOE", "DMITRI", "EVA"};
    for (int i = 0; i < 5; ++i) {
        const int levelsRow = full.levelsTableTop - full.tableRowStep * i;
        const int timedRow = full.timedTableTop - full.tableRowStep * i;
        b.text(full.tableNameX, levelsRow, names[i]);
        b.text(full.tableScoreX, levelsRow, std::to_string(98000 - 17000 * i));
        b.text(full.tableNameX, timedRow, names[4 - i]);
        b.text(full.tableScoreX, timedRow, std::to_string(4200 - 700 * i));
    }
    blit(out, b.image, 660, 10);

    for (int n = 0; n < PictureCount; ++n) {
        const Rgb8Image& p = pictures[n];
        const float scale = std::min(float(BoxW) / p.width, float(BoxH) / p.height);
        const int w = std::max(1, int(p.width * scale)), h = std::max(1, int(p.height * scale));
        const int x = (n % Columns) * CellW + 8 + (BoxW - w) / 2, y = previewH + (n / Columns) * CellH + (BoxH - h) / 2;
        blit(out, resized(p, w, h), x, y);
    }
    const std::string png = encodePng(out);
    if (png.empty()) {
        std::fprintf(stderr, "vortiq-data: cannot compress the contact sheet\n");
        return false;
    }
    return writeFileSafely(pngPath, png);
}
