// Antialiased drawing for the generator's pictures: shapes given as signed
// distance fields, gradients given as functions, text set with FreeType.
//
// A canvas has a pixel size and a design size: art is drawn in design units
// (origin top left, y down) and lands on however many pixels the canvas has,
// so a picture that the game stretches can be drawn in the units of the
// screen it is stretched over. Pixels hold premultiplied colour.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

struct Vec {
    float x, y;
};

struct Box {
    float x0, y0, x1, y1;
    float width() const { return x1 - x0; }
    float height() const { return y1 - y0; }
    float centreX() const { return (x0 + x1) / 2; }
    float centreY() const { return (y0 + y1) / 2; }
};

Box grow(Box box, float by);

struct Canvas {
    int width = 0, height = 0;                // pixels
    float designWidth = 0, designHeight = 0;  // units the art is drawn in
    std::vector<Rgba> pixels;                 // premultiplied, row 0 at the top

    float scaleX() const { return width / designWidth; }
    float scaleY() const { return height / designHeight; }
    Rgba& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgba& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// width x height pixels, times the pixel density in force.
Canvas makeCanvas(int width, int height, float designWidth, float designHeight);

// How many pixels each pixel of a picture gets: 1 for the pictures shown at
// their own size, 2 for the set shown on large screens. Canvases are made that
// much larger, and the radii and shifts below, given in pixels of the first
// set, grow with it, so one drawing makes both sets alike.
int pixelDensity();
class PixelDensity {
public:
    explicit PixelDensity(int density);  // in force until this goes
    ~PixelDensity();
    PixelDensity(const PixelDensity&) = delete;
    PixelDensity& operator=(const PixelDensity&) = delete;

private:
    int previous_;
};

// How much of each pixel something covers, 0 .. 1, on a canvas's pixel grid.
struct Coverage {
    int width = 0, height = 0;
    std::vector<float> values;
    float at(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};

Coverage emptyCoverage(const Canvas& canvas);

// Colours: straight (not premultiplied) components.
Rgba hex(uint32_t rgb, float alpha = 1);
Rgba mix(Rgba a, Rgba b, float t);
Rgba scaled(Rgba colour, float brightness);  // colour times brightness, alpha kept
Rgba withAlpha(Rgba colour, float alpha);
float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);

// Shapes: signed distance in design units, negative inside.
using Sdf = std::function<float(float x, float y)>;
// Paint: the straight colour and alpha at a design point.
using Paint = std::function<Rgba(float x, float y)>;

Sdf roundedBox(Box box, float radius);
Sdf circle(Vec centre, float radius);
Sdf ellipse(Vec centre, float radiusX, float radiusY);
Sdf capsule(Vec a, Vec b, float radius);
Sdf polygon(std::vector<Vec> corners);  // convex or not; corners in order
Sdf unite(Sdf a, Sdf b);
Sdf intersect(Sdf a, Sdf b);
Sdf subtract(Sdf a, Sdf b);
Sdf shrunk(Sdf shape, float by);       // inset by `by` design units
Sdf outline(Sdf shape, float halfWidth);

Paint solid(Rgba colour);
// A gradient between two colours along a line from `from` to `to`.
Paint linear(Vec from, Vec to, Rgba a, Rgba b);
// Several stops along a line; stops are (position 0..1, colour), in order.
Paint linearStops(Vec from, Vec to, std::vector<std::pair<float, Rgba>> stops);
Paint radial(Vec centre, float radius, Rgba inner, Rgba outer);

// Draws paint over the canvas wherever shape lies, within bounds (design
// units). softness 0 gives a crisp antialiased edge; a larger value blurs the
// edge over that many design units on each side (shadows, glows).
void fill(Canvas& canvas, const Sdf& shape, Box bounds, const Paint& paint, float softness = 0);
// Paint over the whole canvas.
void fillAll(Canvas& canvas, const Paint& paint);

// The coverage of a shape, for effects that need it as pixels.
Coverage coverageOf(const Canvas& canvas, const Sdf& shape, Box bounds);
// Draws paint over the canvas weighted by coverage (and clip, if given).
void fillCoverage(Canvas& canvas, const Coverage& coverage, const Paint& paint, float opacity = 1);
// Adds paint weighted by coverage (light on black: banners, glows).
void addCoverage(Canvas& canvas, const Coverage& coverage, const Paint& paint, float opacity = 1);
Coverage blurred(const Coverage& coverage, int radiusPixels);
Coverage shifted(const Coverage& coverage, int dx, int dy);
Coverage multiplied(const Coverage& a, const Coverage& b);
// Widens coverage by about radius pixels (an outline around text).
Coverage widened(const Coverage& coverage, int radiusPixels);

// Light and shade across a shape's rim: brightens the edge facing the light
// (from the top left) and darkens the far edge, over `width` design units.
// A negative strength shades it as a hollow instead.
void bevel(Canvas& canvas, const Sdf& shape, Box bounds, float width, float strength);

// Text ------------------------------------------------------------------

enum class Face { Sans, SansBold, MonoBold };

struct TextStyle {
    Face face = Face::SansBold;
    float size = 16;      // em size in design units
    float tracking = 0;   // extra space between letters, design units
    float squeeze = 1;    // horizontal scale of the letters
    bool hinted = false;  // light hinting, baseline on a whole pixel
};

struct TextMetrics {
    float advance;                          // pen travel, design units
    float inkLeft, inkRight, inkTop, inkBottom;  // relative to origin, y down
};

// False (with a message) when the fonts cannot be found or loaded.
bool fontsReady();
TextMetrics measureText(const TextStyle& style, const std::string& text);
float capHeight(const TextStyle& style);
// Adds the text's coverage into `into`, first pen position at (x, baseline).
void renderText(Coverage& into, const Canvas& canvas, const TextStyle& style, const std::string& text, float x,
                float baseline);
// Coverage of text centred on a point: centred by its ink horizontally and by
// its capital height vertically. Shrinks the style to fit maxWidth if needed.
Coverage centredText(const Canvas& canvas, TextStyle style, const std::string& text, Vec centre,
                     float maxWidth = 1e9f);

// Output ----------------------------------------------------------------

struct Rgb8Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // row 0 at the top, 3 bytes a pixel
};

// Premultiplied colour as 8-bit values with a fixed ordered dither (so
// gradients do not band); exact 0 and 1 stay exact.
Rgb8Image toRgb8(const Canvas& canvas);
// The inverse of the alpha, as grey: white where the canvas is empty.
Rgb8Image maskOf(const Canvas& canvas);
// A smaller (or larger) copy, box filtered when shrinking.
Rgb8Image resized(const Rgb8Image& image, int width, int height);

std::string encodeBmp(const Rgb8Image& image);
// false and an empty image when the bytes are not a 24-bit uncompressed BMP.
bool decodeBmp(const std::string& bytes, Rgb8Image& image);
std::string encodePng(const Rgb8Image& image);
// The PNG file around a zlib stream of filtered rows, 8 bits a channel.
constexpr int PngRgb = 2, PngRgba = 6;  // colour types
std::string pngAround(int width, int height, int colourType, const std::string& zlibStream);

// Draws src (premultiplied) over dst, weighted by clip where given.
void drawOver(Canvas& dst, const Canvas& src);
void drawClipped(Canvas& dst, const Canvas& src, const Coverage& clip);
