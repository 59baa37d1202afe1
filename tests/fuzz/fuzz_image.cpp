// Fuzz target: LoadImageData on a file holding the input (any format the
// image decoder reads). A decoded image must be as large as it says.
#include <cstddef>
#include <cstdint>

#include "graphics/ImageData.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = ScratchPath("input.png");
    WriteScratch(path, data, size);
    const std::optional<ImageData> image = LoadImageData(String(path));
    if (image) {
        FUZZ_REQUIRE(image->width > 0 && image->height > 0 && image->depth >= 1 && image->depth <= 4);
        FUZZ_REQUIRE(image->pixels.size() == static_cast<size_t>(image->width) * static_cast<size_t>(image->height) *
                                                 static_cast<size_t>(image->depth));
    }
    return 0;
}
