// The data generator: every file the game reads from base/, and its help page,
// made from code in this folder. The output is the same byte for byte on
// every run.
#pragma once

#include <string>

// Each writer takes the run directory (it holds base/) and returns false,
// after printing what went wrong to standard error, when it could not write.
// base/tex00.bmp .. base/tex80.bmp, and base/2x/ the same pictures drawn at twice the size.
bool writePictures(const std::string& gameDir);
bool writeContactSheet(const std::string& gameDir, const std::string& pngPath);  // every picture with its number
bool writeMeshes(const std::string& gameDir);       // base/s1.raw .. base/s7.raw
bool writeMusic(const std::string& gameDir);        // base/theme1.xm, base/theme2.xm
bool writeSamples(const std::string& gameDir);      // the eleven base/*.wav
bool writeHelpPage(const std::string& gameDir);     // help.htm
// The gem icon at the sizes a desktop asks for: icons/vortiq-NN.png, and
// base/icon.bmp (32-bit, with alpha) for the window.
bool writeIcons(const std::string& gameDir);
// base/hiscores and base/menu.inf, only where they are missing; never base/data.inf.
bool writePlayerDefaults(const std::string& gameDir);
