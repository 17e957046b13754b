#pragma once

// Test fixtures made with libjpeg directly, and a reader of JPEG structure that does not use
// libjpeg, so what the codec writes is checked by code that shares nothing with it.

#include "RgbImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlu::photo::test {

using Bytes = std::vector<std::uint8_t>;

struct FixtureSegment {
    int marker = 0;
    Bytes data;
};

// libjpeg's numbers for the colour space a fixture is stored in.
enum class FileSpace { Grey = 1, RGB = 2, YCbCr = 3, CMYK = 4, YCCK = 5 };

// What the fixture file looks like. Pixels are in the input colour space: RGB (3 bytes a
// pixel) or CMYK (4 bytes, written as given: libjpeg stores them unchanged).
struct JpegRecipe {
    int width = 16;
    int height = 12;
    bool cmykInput = false;
    FileSpace fileSpace = FileSpace::YCbCr;
    Bytes pixels{};    // empty: a colour pattern
    bool progressive = false;
    int quality = 95;
    std::optional<bool> jfif{};  // unset: libjpeg's choice for the colour space
    std::optional<bool> adobe{}; // unset: libjpeg's choice for the colour space
    int densityUnit = 1;
    int xDensity = 72;
    int yDensity = 72;
    std::vector<FixtureSegment> segments{}; // written after the headers
};

Bytes makeJpeg(const JpegRecipe& recipe);

// A small picture with a different colour in each region, so misplaced pixels show.
RgbImage patternImage(int width, int height);
Bytes rgbBytes(const RgbImage& image);
Bytes uniform(int width, int height, std::initializer_list<std::uint8_t> pixel);

Bytes bytesOf(const std::string& text);

// ---- structure, read without libjpeg ----

struct Segment {
    int marker = 0; // 0xC0, 0xDB, ... (0xD8 for SOI has no payload)
    Bytes payload;  // after the length field
};

// SOI and every segment up to and including the first SOS.
std::vector<Segment> headerSegments(const Bytes& jpeg);
// All markers in the file in order, entropy-coded data skipped (SOS count for progressive).
std::vector<int> allMarkers(const Bytes& jpeg);

struct FrameInfo {
    int marker = 0; // 0xC0 baseline, 0xC1 extended, 0xC2 progressive
    int width = 0;
    int height = 0;
    struct Component {
        int id, h, v, table;
    };
    std::vector<Component> components;
};
FrameInfo frameInfo(const Bytes& jpeg);

// Quantisation tables by table number, in natural (row by row) order.
std::vector<std::vector<int>> quantTables(const Bytes& jpeg);

struct HuffmanTable {
    int tableClass = 0; // 0 DC, 1 AC
    int id = 0;
    std::vector<int> counts; // 16 code-length counts
    std::vector<int> values;
};
std::vector<HuffmanTable> huffmanTables(const Bytes& jpeg);

// The application and comment segments (0xE0..0xEF, 0xFE) in order.
std::vector<FixtureSegment> appSegments(const Bytes& jpeg);

// The 8 x 8 zig-zag order: position k of a table in the file is natural index zigzag[k].
extern const int kZigzag[64];

} // namespace vorlu::photo::test
