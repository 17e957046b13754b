#pragma once

#include "RgbImage.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorlu::photo {

// Colour spaces a JPEG may be stored in.
enum class ColourSpace { Grey, YCbCr, RGB, CMYK, YCCK };

const char* colourSpaceName(ColourSpace space);

// A comment (COM, 0xFE) or application segment (APP0..APP15, 0xE0..0xEF) as found in a JPEG:
// the marker code and the bytes after the length field.
struct MarkerSegment {
    int marker = 0;
    std::vector<std::uint8_t> data;
    friend bool operator==(const MarkerSegment&, const MarkerSegment&) = default;
};

// What a JPEG read leaves behind for the following writes.
struct EncodingState {
    static constexpr int quality = 80; // fixed: a read never changes it
    ColourSpace colourSpace = ColourSpace::YCbCr;
    bool progressive = false;
    int dpiX = 300;
    int dpiY = 300;
    std::vector<MarkerSegment> segments; // in file order, without the JFIF header
};

// Bounds that keep a hostile or broken JPEG from taking the machine's memory or time.
struct DecodeLimits {
    std::size_t maxPixels = std::size_t{1} << 28;             // about 268 megapixels
    std::size_t maxDecoderMemory = std::size_t{1} << 30;       // libjpeg's whole-image buffers
    int maxScans = 500;                                        // progressive scans
};

// The JPEG encoder failed; practically only for lack of memory.
class JpegWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The JPEG reader and writer of the photo, holding the encoding state from each read to the
// following writes (`CarregaImagem`). Reads never throw for bad data: a stream without a JPEG,
// or one that fails to decode, leaves the image and the state as they were (the recorded
// segments excepted, which every read forgets first).
class JpegCodec {
public:
    const EncodingState& state() const { return state_; }
    EncodingState& state() { return state_; }

    const DecodeLimits& limits() const { return limits_; }
    void setLimits(const DecodeLimits& limits) { limits_ = limits; }

    // Reads from a stream at `position`. Twelve bytes starting "JFIF\0" are a header of the
    // program's stream format (then 4 bytes of 0 and the JPEG's length, little-endian); the
    // position is then moved past them. Returns true when `image` was replaced.
    bool readStream(std::span<const std::uint8_t> stream, std::size_t& position, RgbImage& image);

    // Reads the bytes of a JPEG file (no stream header). Returns true when `image` was replaced.
    bool readBytes(std::span<const std::uint8_t> bytes, RgbImage& image);

    // Encodes `image` with the encoding state. `out` is emptied first and keeps its capacity,
    // so one buffer serves every save.
    void write(const RgbImage& image, std::vector<std::uint8_t>& out) const;

private:
    bool decode(std::span<const std::uint8_t> bytes, RgbImage& image);

    EncodingState state_;
    DecodeLimits limits_;
};

inline constexpr std::size_t noJpegStart = std::dynamic_extent;

// Where a JPEG starts (FF D8 FF) among the first 100 positions of `bytes`, or noJpegStart.
std::size_t findJpegStart(std::span<const std::uint8_t> bytes);

} // namespace vorlu::photo
