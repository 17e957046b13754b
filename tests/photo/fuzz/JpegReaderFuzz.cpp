// libFuzzer target for the photo's JPEG reader: any bytes, as a stored value or a file, must
// read or not read without a crash, a leak or a hang; whatever is read must write and read back.

#include "JpegCodec.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace vorlu::photo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    JpegCodec codec;
    // Smaller bounds than the program's keep each run fast; the paths are the same.
    codec.setLimits({.maxPixels = std::size_t{4} << 20, .maxDecoderMemory = std::size_t{256} << 20, .maxScans = 100});
    RgbImage image(2, 2, Rgb{1, 2, 3});
    std::size_t position = 0;
    const std::span<const std::uint8_t> input(data, size);
    const bool read = codec.readStream(input, position, image);
    if (!read) {
        if (image.width != 2 || image.height != 2 || image.pixels.size() != 12)
            std::abort(); // a failed read must leave the picture alone
        RgbImage again(2, 2, Rgb{});
        codec.readBytes(input, again);
        return 0;
    }
    if (image.pixels.size() != image.rowBytes() * static_cast<std::size_t>(image.height))
        std::abort();

    std::vector<std::uint8_t> stored;
    codec.write(image, stored); // with the colour space, density and segments the input left
    JpegCodec reader;
    RgbImage back;
    std::size_t start = 0;
    if (!reader.readStream(stored, start, back) || back.width != image.width || back.height != image.height)
        std::abort();
    return 0;
}
