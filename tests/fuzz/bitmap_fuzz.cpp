// The BMP decoder on arbitrary bytes: it either refuses them with a reason or
// makes a picture within the size limits whose every pixel can be read.
#include <cstdint>
#include <cstring>

#include "assets/assets.h"
#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char problem[160];
    std::memset(problem, 'x', sizeof problem);
    RgbImage* image = decodeBitmap(data, size, problem, sizeof problem);
    if (!image) {
        FUZZ_EXPECT(std::memchr(problem, '\0', sizeof problem) != nullptr);
        FUZZ_EXPECT(problem[0] != '\0');
        return 0;
    }
    FUZZ_EXPECT(image->width > 0 && image->width <= MaxBitmapSide);
    FUZZ_EXPECT(image->height > 0 && image->height <= MaxBitmapSide);
    FUZZ_EXPECT(static_cast<int64_t>(image->width) * image->height <= MaxBitmapPixels);
    FUZZ_EXPECT(image->pixels != nullptr);
    // Every byte is read once: the sanitizers catch a buffer that is too
    // short, and a byte left unwritten shows under a memory checker.
    const size_t bytes = static_cast<size_t>(image->width) * image->height * 3;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += image->pixels[i];
    volatile unsigned sink = sum;
    (void)sink;
    freeRgbImage(image);

    // Without room for a reason the decoder gives the same answer.
    RgbImage* again = decodeBitmap(data, size, nullptr, 0);
    FUZZ_EXPECT(again != nullptr);
    freeRgbImage(again);
    return 0;
}
