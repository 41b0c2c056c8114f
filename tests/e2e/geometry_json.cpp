// Writes the screen geometry table as JSON for the end-to-end harness, so
// that its clicks land where the game's own table puts the buttons.
#include <cstdio>

#include "game/screen_geometry.h"

namespace {

struct NamedButton {
    const char* name;
    ButtonGeometry ScreenGeometry::*button;
};

const NamedButton Buttons[] = {
    {"hint", &ScreenGeometry::hint},
    {"newGame", &ScreenGeometry::newGame},
    {"timedMode", &ScreenGeometry::timedMode},
    {"levelsMode", &ScreenGeometry::levelsMode},
    {"options", &ScreenGeometry::options},
    {"quit", &ScreenGeometry::quit},
    {"dialogFirst", &ScreenGeometry::dialogFirst},
    {"dialogSecond", &ScreenGeometry::dialogSecond},
    {"optionsBack", &ScreenGeometry::optionsBack},
    {"highScoresRow", &ScreenGeometry::highScoresRow},
    {"fullScreenRow", &ScreenGeometry::fullScreenRow},
    {"musicRow", &ScreenGeometry::musicRow},
    {"soundRow", &ScreenGeometry::soundRow},
    {"helpRow", &ScreenGeometry::helpRow},
    {"highScoresBack", &ScreenGeometry::highScoresBack},
};

struct NamedPanel {
    const char* name;
    Placement ScreenGeometry::*panel;
};

const NamedPanel Panels[] = {
    {"confirmationPanel", &ScreenGeometry::confirmationPanel},
    {"optionsPanel", &ScreenGeometry::optionsPanel},
    {"highScoresPanel", &ScreenGeometry::highScoresPanel},
    {"nameEntryPanel", &ScreenGeometry::nameEntryPanel},
    {"pausePicture", &ScreenGeometry::pausePicture},
};

void writeLayout(FILE* out, const char* name, const ScreenGeometry& g) {
    std::fprintf(out, "  \"%s\": {\n    \"width\": %d, \"height\": %d,\n", name, g.width, g.height);
    const CellGrid& c = g.cells;
    std::fprintf(out,
                 "    \"cells\": {\"area\": [%d, %d, %d, %d], \"columnShift\": %d, \"rowShift\": %d, \"pitch\": %d},\n",
                 c.area.left, c.area.right, c.area.top, c.area.bottom, c.columnShift, c.rowShift, c.pitch);
    std::fprintf(out, "    \"panels\": {");
    for (const NamedPanel& p : Panels) {
        const Placement& at = g.*p.panel;
        std::fprintf(out, "%s\n      \"%s\": [%d, %d, %d, %d]", &p == Panels ? "" : ",", p.name, at.x, at.y, at.w,
                     at.h);
    }
    std::fprintf(out, "\n    },\n");
    std::fprintf(out, "    \"buttons\": {\n");
    const int count = sizeof Buttons / sizeof Buttons[0];
    for (int i = 0; i < count; ++i) {
        const ButtonGeometry& b = g.*Buttons[i].button;
        std::fprintf(out, "      \"%s\": {\"drawn\": [%d, %d, %d, %d], \"hit\": [%d, %d, %d, %d]}%s\n", Buttons[i].name,
                     b.drawn.x, b.drawn.y, b.drawn.w, b.drawn.h, b.hit.left, b.hit.right, b.hit.top, b.hit.bottom,
                     i + 1 < count ? "," : "");
    }
    std::fprintf(out, "    }\n  }");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.json>\n", argv[0]);
        return 2;
    }
    FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    std::fprintf(out, "{\n");
    writeLayout(out, "windowed", layoutGeometry(Layout::Windowed));
    std::fprintf(out, ",\n");
    writeLayout(out, "fullScreen", layoutGeometry(Layout::FullScreen));
    std::fprintf(out, "\n}\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
