#include "support/gl_harness.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "assets/assets.h"
#include "game/game.h"
#include "platform/platform.h"
#include "render/render.h"
#include "support/bmp_files.h"
#include "support/byte_files.h"
#include "support/game_data.h"
#include "support/scratch.h"

namespace fs = std::filesystem;

namespace harness {

namespace {

void ignoreMessages(const WindowMessage&) {}

const fs::path startDir = fs::current_path();

int windowWidth = 0;
int windowHeight = 0;

// A fresh working directory with an empty base/, removed when the tests end.
std::string makeWorkDir() { return lastingScratchFolder(); }

// A 24-bit BMP; pixel(x, yFromTop) gives each pixel's colour.
template <typename Pixel>
void writeBmp(const fs::path& path, int width, int height, Pixel pixel) {
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    writeBytes(path, composeBmp(layout, packRows(width, height, 24, [&](int x, int row) {
                   const Rgb c = pixel(x, height - 1 - row);
                   return static_cast<uint32_t>(c.r << 16 | c.g << 8 | c.b);
               })));
}

bool isMask(int texture) { return texture == 6 || texture == 10 || texture == 31 || texture == 51; }

void writeSyntheticPictures(const fs::path& base) {
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    for (int nn = 0; nn < 81; ++nn) {
        char name[24];
        std::snprintf(name, sizeof name, "tex%02d.bmp", nn);
        const fs::path path = base / name;
        if (nn == 0) {
            // Every printable character of both sets is a white square.
            writeBmp(path, 256, 256, [&](int x, int y) {
                const int cell = (y / 16) * 16 + x / 16;
                const int code = cell % 128 + 32;
                return (cell % 128) < 96 && code != ' ' ? white : black;
            });
        } else if (nn == 1 || nn == 2) {
            writeBmp(path, 256, 256, [&](int x, int y) {
                const double fx = (x + 0.5) / 256, fy = (y + 0.5) / 256;
                const bool open = fx > OpeningLeft && fx < OpeningRight && fy > OpeningTop && fy < OpeningBottom;
                if (nn == 1) return open ? white : black;
                return open ? black : syntheticColour(2);
            });
        } else {
            const Rgb colour = isMask(nn) ? black : syntheticColour(nn);
            writeBmp(path, 8, 8, [&](int, int) { return colour; });
        }
    }
}

// An octahedron of radius 4 file units (0.4 of a cell once drawn), faces outward.
void writeSyntheticMeshes(const fs::path& base) {
    const float p[6][3] = {{4, 0, 0}, {-4, 0, 0}, {0, 4, 0}, {0, -4, 0}, {0, 0, 4}, {0, 0, -4}};
    const int faces[8][3] = {{0, 2, 4}, {2, 1, 4}, {1, 3, 4}, {3, 0, 4},
                             {2, 0, 5}, {1, 2, 5}, {3, 1, 5}, {0, 3, 5}};
    for (int kind = 1; kind <= 7; ++kind) {
        std::ofstream out(base / ("s" + std::to_string(kind) + ".raw"));
        for (const auto& face : faces)
            for (int corner : face) out << p[corner][0] << ' ' << p[corner][1] << ' ' << p[corner][2] << '\n';
    }
}

}  // namespace

Rgb Image::at(int x, int y) const {
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return Rgb{p[0], p[1], p[2]};
}

Rgb syntheticColour(int texture) {
    // Dark backdrops, as the real ones, so the gems stand out against them.
    for (int kind = 0; kind < BackdropKinds; ++kind)
        if (texture == pictureNumber(backdropPicture(kind))) return Rgb{20 + texture % 8, 24, 36};
    return Rgb{40 + (texture * 53) % 180, 40 + (texture * 97) % 180, 40 + (texture * 29) % 180};
}

bool openTestWindow(int width, int height, std::string* why) {
    if (!std::getenv("DISPLAY")) {
        *why = "no DISPLAY: run under an X server (make check starts one)";
        return false;
    }
    if (!startVideo(ignoreMessages)) {
        *why = "the window system did not start";
        return false;
    }
    if (openWindow(WindowRequest{"Vortiq test", width, height, 24, 16, false}) != OpenFailure::None) {
        *why = "no window with a GL context";
        return false;
    }
    showWindow();
    windowWidth = width;
    windowHeight = height;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / height, static_cast<double>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return true;
}

void closeTestWindow() {
    if (contextIsCurrent()) deleteFontLists();
    closeWindow();
}

std::string realDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    const std::string made = makeWorkDir();
    if (!linkGameData(made + "/base")) return "";
    dir = made;
    return dir;
}

std::string syntheticDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    dir = makeWorkDir();
    writeSyntheticPictures(fs::path(dir) / "base");
    writeSyntheticMeshes(fs::path(dir) / "base");
    return dir;
}

bool startUp(const std::string& workDir) {
    if (workDir.empty() || chdir(workDir.c_str()) != 0) return false;
    firstStartUp = 1;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const bool ok = initAtStartUp();
    resetGameState();
    ui.modeAButton = ButtonPressed;
    ui.cursorColumn = NoCursorCell;
    ui.cursorRow = NoCursorCell;
    return ok;
}

Image renderFrame(float speedFactor) {
    // Keep the frame clock between two readings so the speed stays as given.
    scene.measureCount = 1;
    scene.speedFactor = speedFactor;
    stepFrame(FrameInput{});
    drawScene();
    return readFrame();
}

Image readFrame() {
    glFinish();
    Image image;
    image.width = windowWidth;
    image.height = windowHeight;
    image.rgb.resize(static_cast<size_t>(windowWidth) * windowHeight * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    return image;
}

void projectBoardPoint(float x, float y, float z, double* windowX, double* windowY) {
    GLdouble model[16], projection[16], wz;
    GLint viewport[4];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, model, projection, viewport, windowX, windowY, &wz);
}

void cellCentre(int column, int row, double* windowX, double* windowY) {
    projectBoardPoint(column - 2.0f, 4.65f - row, -11.0f, windowX, windowY);
}

void fillBoard() {
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) game.board[r][c] = 1 + (c + 3 * r) % 7;
    game.board[2][0] = 4;  // the one move: a line of three in column 0 or row 1
    for (int c = 0; c < BoardColumns; ++c) game.board[FloorRow][c] = ClosedFloor;
}

Image halfSize(const Image& image) {
    Image half;
    half.width = image.width / 2;
    half.height = image.height / 2;
    half.rgb.resize(static_cast<size_t>(half.width) * half.height * 3);
    for (int y = 0; y < half.height; ++y) {
        for (int x = 0; x < half.width; ++x) {
            const Rgb a = image.at(2 * x, 2 * y), b = image.at(2 * x + 1, 2 * y);
            const Rgb c = image.at(2 * x, 2 * y + 1), d = image.at(2 * x + 1, 2 * y + 1);
            uint8_t* p = &half.rgb[(static_cast<size_t>(y) * half.width + x) * 3];
            p[0] = static_cast<uint8_t>((a.r + b.r + c.r + d.r + 2) / 4);
            p[1] = static_cast<uint8_t>((a.g + b.g + c.g + d.g + 2) / 4);
            p[2] = static_cast<uint8_t>((a.b + b.b + c.b + d.b + 2) / 4);
        }
    }
    return half;
}

void posterise(Image* image) {
    for (uint8_t& v : image->rgb) v = static_cast<uint8_t>(std::lround(std::lround(v * 31 / 255.0) * 255 / 31.0));
}

bool savePng(const Image& image, const std::string& path) {
    const std::string command = "convert ppm:- -strip -define png:compression-level=9 png:'" + path + "'";
    FILE* pipe = popen(command.c_str(), "w");
    if (!pipe) return false;
    std::fprintf(pipe, "P6\n%d %d\n255\n", image.width, image.height);
    for (int y = image.height - 1; y >= 0; --y)
        std::fwrite(&image.rgb[static_cast<size_t>(y) * image.width * 3], 1, image.width * 3, pipe);
    return pclose(pipe) == 0;
}

bool loadPng(const std::string& path, Image* image) {
    if (!fs::exists(path)) return false;
    const std::string command = "convert '" + path + "' -depth 8 ppm:-";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    int width = 0, height = 0, maxValue = 0;
    bool ok = std::fscanf(pipe, "P6 %d %d %d", &width, &height, &maxValue) == 3 && maxValue == 255 &&
              std::fgetc(pipe) != EOF && width > 0 && height > 0;
    if (ok) {
        image->width = width;
        image->height = height;
        image->rgb.resize(static_cast<size_t>(width) * height * 3);
        for (int y = height - 1; y >= 0 && ok; --y)
            ok = std::fread(&image->rgb[static_cast<size_t>(y) * width * 3], 1, width * 3, pipe) ==
                 static_cast<size_t>(width * 3);
    }
    return pclose(pipe) == 0 && ok;
}

std::string outputPath(const std::string& name) { return (startDir / name).string(); }

void keepShot(const Image& image, const std::string& name) {
    if (const char* dir = std::getenv("VORTIQ_SHOT_DIR")) savePng(image, std::string(dir) + "/" + name + ".png");
}

int maxChannelDifference(Rgb a, Rgb b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

int brightness(Rgb c) { return c.r + c.g + c.b; }

int countDifferences(const Image& a, const Image& b, int threshold, const std::string& diffPath) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
    Image diff = a;
    int count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const bool differs = maxChannelDifference(a.at(x, y), b.at(x, y)) > threshold;
            count += differs;
            uint8_t* p = &diff.rgb[(static_cast<size_t>(y) * a.width + x) * 3];
            const uint8_t grey = static_cast<uint8_t>(brightness(a.at(x, y)) / 12);
            p[0] = differs ? 255 : grey;
            p[1] = differs ? 0 : grey;
            p[2] = differs ? 255 : grey;
        }
    }
    if (!diffPath.empty()) savePng(diff, diffPath);
    return count;
}

}  // namespace harness
