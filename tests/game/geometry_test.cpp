// The screen geometry table: in each layout, every button takes the mouse
// where its picture is drawn, no two buttons of a screen take the same
// pixel, everything lies in the window, and the board's cells follow each
// other under the mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/game.h"

namespace {

using Button = ButtonGeometry ScreenGeometry::*;

struct NamedButton {
    const char* name;
    Button button;
};

// The buttons shown together on one screen.
const std::vector<std::vector<NamedButton>> ScreensOfButtons = {
    {{"hint", &ScreenGeometry::hint},
     {"new game", &ScreenGeometry::newGame},
     {"timed mode", &ScreenGeometry::timedMode},
     {"levels mode", &ScreenGeometry::levelsMode},
     {"options", &ScreenGeometry::options},
     {"quit", &ScreenGeometry::quit}},
    {{"dialog: first", &ScreenGeometry::dialogFirst}, {"dialog: second", &ScreenGeometry::dialogSecond}},
    {{"options: back", &ScreenGeometry::optionsBack},
     {"options: high scores", &ScreenGeometry::highScoresRow},
     {"options: full screen", &ScreenGeometry::fullScreenRow},
     {"options: music", &ScreenGeometry::musicRow},
     {"options: sound", &ScreenGeometry::soundRow},
     {"options: help", &ScreenGeometry::helpRow}},
    {{"high scores: back", &ScreenGeometry::highScoresBack}},
};

const Layout Layouts[] = {Layout::Windowed, Layout::FullScreen};

std::string layoutName(Layout layout) { return layout == Layout::FullScreen ? "full screen" : "windowed"; }

// A drawn placement (y upwards) as window pixels (y downwards).
HitRect inWindow(const Placement& p, int windowHeight) {
    return HitRect{p.x, p.x + p.w, windowHeight - p.y - p.h, windowHeight - p.y};
}

long area(const HitRect& r) {
    return static_cast<long>(std::max(0, r.right - r.left)) * std::max(0, r.bottom - r.top);
}

HitRect overlap(const HitRect& a, const HitRect& b) {
    return HitRect{std::max(a.left, b.left), std::min(a.right, b.right), std::max(a.top, b.top),
                   std::min(a.bottom, b.bottom)};
}

bool withinWindow(const HitRect& r, const ScreenGeometry& g) {
    return r.left >= 0 && r.top >= 0 && r.right <= g.width && r.bottom <= g.height && r.left < r.right &&
           r.top < r.bottom;
}

}  // namespace

TEST(ScreenGeometry, ButtonsTakeTheMouseOverTheirPictures) {
    for (Layout layout : Layouts) {
        const ScreenGeometry& g = layoutGeometry(layout);
        for (const auto& screen : ScreensOfButtons) {
            for (const NamedButton& named : screen) {
                SCOPED_TRACE(std::string(named.name) + ", " + layoutName(layout));
                const ButtonGeometry& b = g.*named.button;
                const HitRect drawn = inWindow(b.drawn, g.height);
                EXPECT_TRUE(withinWindow(b.hit, g));
                EXPECT_TRUE(withinWindow(drawn, g));
                // The pictures' shapes fill them nearly to the edge: at least
                // 85 in 100 of the clickable pixels show the button.
                EXPECT_GE(area(overlap(b.hit, drawn)) * 100, area(b.hit) * 85);
            }
        }
    }
}

TEST(ScreenGeometry, NoTwoButtonsOfAScreenShareAPixel) {
    for (Layout layout : Layouts) {
        const ScreenGeometry& g = layoutGeometry(layout);
        for (const auto& screen : ScreensOfButtons) {
            for (size_t i = 0; i < screen.size(); ++i)
                for (size_t j = i + 1; j < screen.size(); ++j) {
                    const HitRect shared = overlap((g.*screen[i].button).hit, (g.*screen[j].button).hit);
                    // The rectangles are open: a shared border takes no pixel.
                    EXPECT_EQ(area(shared), 0) << screen[i].name << " and " << screen[j].name << ", "
                                               << layoutName(layout);
                }
        }
    }
}

TEST(ScreenGeometry, PanelsAndTextsLieInTheWindow) {
    for (Layout layout : Layouts) {
        const ScreenGeometry& g = layoutGeometry(layout);
        SCOPED_TRACE(layoutName(layout));
        for (const Placement* p : {&g.confirmationPanel, &g.optionsPanel, &g.highScoresPanel, &g.nameEntryPanel,
                                   &g.pausePicture})
            EXPECT_TRUE(withinWindow(inWindow(*p, g.height), g)) << p->x << ", " << p->y;
        // The dialog buttons lie on their panels.
        const HitRect panel = inWindow(g.confirmationPanel, g.height);
        for (const Placement* p : {&g.dialogFirst.drawn, &g.dialogSecond.drawn})
            EXPECT_EQ(area(overlap(inWindow(*p, g.height), panel)), area(inWindow(*p, g.height)));
        // Both score tables, all their rows, inside the high-score panel, in the
        // 640 x 480 text space it is printed in.
        const double toText = 480.0 / g.height;
        const int lowest = g.timedTableTop - g.tableRowStep * (HighScoreEntries - 1);
        EXPECT_GE(lowest, g.highScoresPanel.y * toText);
        EXPECT_LT(g.levelsTableTop, (g.highScoresPanel.y + g.highScoresPanel.h) * toText);
        EXPECT_GT(g.levelsTableTop - g.tableRowStep * (HighScoreEntries - 1), g.timedTableTop)
            << "the tables do not run into each other";
        EXPECT_LT(g.tableNameX, g.tableScoreX);
        EXPECT_LE(g.bannerX + g.bannerWidth, g.width);
    }
}

// Left to right and top to bottom, every cell of the field is under some
// pixel of the board's area, and the cells under the mouse change one at a
// time as it moves.
TEST(ScreenGeometry, CellsFollowEachOtherUnderTheMouse) {
    for (Layout layout : Layouts) {
        const ScreenGeometry& g = layoutGeometry(layout);
        const HitRect& a = g.cells.area;
        SCOPED_TRACE(layoutName(layout));
        EXPECT_TRUE(withinWindow(a, g));
        std::vector<int> columns, rows;
        for (int x = a.left + 1; x < a.right; ++x) {
            int32_t column, row;
            cellAt(g.cells, x, (a.top + a.bottom) / 2, &column, &row);
            if (columns.empty() || columns.back() != column) columns.push_back(column);
        }
        for (int y = a.top + 1; y < a.bottom; ++y) {
            int32_t column, row;
            cellAt(g.cells, (a.left + a.right) / 2, y, &column, &row);
            if (rows.empty() || rows.back() != row) rows.push_back(row);
        }
        for (size_t i = 1; i < columns.size(); ++i) EXPECT_EQ(columns[i], columns[i - 1] + 1);
        for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i], rows[i - 1] + 1);
        EXPECT_NE(std::find(columns.begin(), columns.end(), 0), columns.end());
        EXPECT_NE(std::find(columns.begin(), columns.end(), BoardColumns - 1), columns.end());
        EXPECT_NE(std::find(rows.begin(), rows.end(), FirstFieldRow), rows.end());
        EXPECT_NE(std::find(rows.begin(), rows.end(), LastFieldRow), rows.end());

        // Outside the area there is no cell.
        int32_t column, row;
        cellAt(g.cells, a.left, a.top, &column, &row);
        EXPECT_EQ(column, NoCursorCell);
        EXPECT_EQ(row, NoCursorCell);
        cellAt(g.cells, a.right, a.bottom, &column, &row);
        EXPECT_EQ(column, NoCursorCell);
        EXPECT_EQ(row, NoCursorCell);
    }
}
