// Drawing real frames in tests: a game window with its GL context from the
// platform layer, the game data (the generated art, or a small made-up set of
// flat-coloured pictures whose colours the tests know), and frames read back
// as images that can be saved, loaded and compared as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace harness {

struct Rgb {
    int r, g, b;
};

// Pixels with the bottom row first, so that at(x, y) takes overlay-space
// pixel coordinates (origin at the bottom left).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    Rgb at(int x, int y) const;
};

// The window the game would make, with the viewport and perspective set as
// after a resize. False with a reason when there is no screen to draw on.
bool openTestWindow(int width, int height, std::string* why);
void closeTestWindow();

// A working directory holding base/ with the generated data, or "" when the
// data has not been generated.
std::string realDataDir();
// A working directory holding base/ with flat-coloured pictures (see
// syntheticColour), white-on-black font squares for every printable character
// but the space, a frame whose mask opens the board's part of the window, and
// seven small octahedron gems.
std::string syntheticDataDir();
Rgb syntheticColour(int texture);
// The frame's opening in the made-up frame, as fractions of the window from
// its top left corner.
constexpr double OpeningLeft = 0.294, OpeningRight = 0.953, OpeningTop = 0.045, OpeningBottom = 0.923;

// Runs the start-up initialisation in the given working directory (loading
// the meshes again), then puts the game state back to its load values.
bool startUp(const std::string& workDir);

// Draws one frame with the given speedFactor (0 keeps every animation still)
// and reads it back.
Image renderFrame(float speedFactor = 0.0f);
// What has been drawn so far (the back buffer), read back.
Image readFrame();

// Window pixel of a board-space point, as the board view's camera sees it.
void projectBoardPoint(float x, float y, float z, double* windowX, double* windowY);
// The centre of board cell (column, row) in window pixels.
void cellCentre(int column, int row, double* windowX, double* windowY);

// A full board without lines that still has a move.
void fillBoard();

// Each 2 x 2 block of pixels averaged into one (odd edges dropped).
Image halfSize(const Image& image);
// Every channel rounded to one of 32 levels, as a 15-bit picture holds it.
void posterise(Image* image);

bool savePng(const Image& image, const std::string& path);
bool loadPng(const std::string& path, Image* image);

// Counts pixels whose channels differ by more than `threshold`; writes a
// picture of the differences when diffPath is given.
int countDifferences(const Image& a, const Image& b, int threshold, const std::string& diffPath = "");

// A file in the directory the tests were started in (start-up moves into a
// temporary working directory).
std::string outputPath(const std::string& name);

// The name of a test run with the full-screen layout (true) or the windowed
// one (false) as its parameter: INSTANTIATE_TEST_SUITE_P(..., LayoutName()).
struct LayoutName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const {
        return info.param ? "FullScreen800" : "Windowed640";
    }
};

// Saves the image as NAME.png into $VORTIQ_SHOT_DIR when that is set, to look at.
void keepShot(const Image& image, const std::string& name);

int maxChannelDifference(Rgb a, Rgb b);
int brightness(Rgb c);

}  // namespace harness
