// The game's pictures: one look shared by every screen, and the helpers the
// picture files draw it with.
#pragma once

#include <map>
#include <string>

#include "game/pictures.h"
#include "raster.h"

// Picture -> the 24-bit image written as base/texNN.bmp.
using PictureList = std::map<Picture, Rgb8Image>;

void drawPanelPictures(PictureList& pictures);   // frame, side panel, hint
void drawDialogPictures(PictureList& pictures);  // dialogs, options, tables, pause, spares
void drawBoardPictures(PictureList& pictures);   // gems, backdrops, bar, banners
void drawFontPicture(PictureList& pictures);     // the glyph grid
void drawCursorPictures(PictureList& pictures);  // the keyboard's cursor and its mask
// The keyboard's cursor, 64 x 64 pixels times the pixel density in force.
Canvas drawKeyCursor();

// The palette: deep navy and violet, gold trim, cyan light.
namespace theme {
const Rgba Night = hex(0x070a1e);
const Rgba Navy = hex(0x121a44);
const Rgba Violet = hex(0x2a1a5e);
const Rgba DeepViolet = hex(0x180f3a);
const Rgba Gold = hex(0xe8c061);
const Rgba PaleGold = hex(0xfff0c0);
const Rgba DarkGold = hex(0x7a5a1c);
const Rgba Cyan = hex(0x5ee8ff);
const Rgba Ice = hex(0xe6fbff);
const Rgba Ink = hex(0x000000);
}  // namespace theme

// A sprite drawn through a mask: the picture premultiplied, the mask 1 - alpha.
void putSprite(PictureList& pictures, Picture picture, const Canvas& canvas);
void putMask(PictureList& pictures, Picture picture, const Canvas& canvas);
// An opaque picture (the canvas is expected to be covered everywhere).
void putOpaque(PictureList& pictures, Picture picture, const Canvas& canvas);

// Button looks, as the game numbers them.
enum class Look { Normal, Lit, Pressed };

struct ButtonArt {
    Box body;               // design units within the canvas
    float radius;           // corner radius
    std::string label;
    float textSize;
    float textShift = 0;    // moves the label right (room for a lamp)
    bool lamp = false;      // a small status lamp at the left end
};

// The shape a button's mask is made from (body plus soft shadow), the same for
// every look of one button.
Canvas buttonShadow(int width, int height, float designWidth, float designHeight, const ButtonArt& art);
// A full button: shadow, clipped body, rim, gloss and label.
Canvas drawButton(int width, int height, float designWidth, float designHeight, const ButtonArt& art, Look look);

// Text with a soft dark shadow under it, centred on a point.
void drawLabel(Canvas& canvas, const TextStyle& style, const std::string& text, Vec centre, const Paint& paint,
               float shadowOpacity = 0.8f, float maxWidth = 1e9f);

// A framed panel filling the whole canvas: dark gradient, gold double rule,
// rounded inner field. Used by every opaque dialog picture.
void drawPanelBackground(Canvas& canvas, float cornerRadius);
