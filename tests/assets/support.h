// Test helpers: a scratch working directory, a set of made-up pictures and a
// message-box catcher (BMP files and whole files: tests/support).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/bmp_files.h"
#include "support/byte_files.h"
#include "support/scratch.h"

// Makes a fresh directory with an empty base/ in it and works there until destroyed.
class ScratchDirectory : public ScratchFolder {
public:
    ScratchDirectory() {
        if (!ok()) ADD_FAILURE() << "cannot make a scratch directory: " << why();
    }
};

// ---------------------------------------------------------------------------
// A full set of 81 small pictures in base/: tex00 is a font whose 16 x 16
// cells each have one colour, fontCellColour(cell); every other picture is
// 8 x 8 of pictureColour(NN), and the first gem's (tex11) is pure red.

constexpr int RedPicture = 11;
uint32_t fontCellColour(int cell);
uint32_t pictureColour(int nn);
std::vector<uint8_t> plainPicture(uint32_t colour, int width, int height);
void writePictureSet(int missing = -1);  // leaves out base/texNN.bmp for NN == missing

// ---------------------------------------------------------------------------
// Message boxes

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons;
};

// Answers every message box with its default and keeps what was shown.
class MessageCatcher {
public:
    MessageCatcher();
    ~MessageCatcher();
    static std::vector<ShownMessage> shown;
};
