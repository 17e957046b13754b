#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorlu::photo {

// One colour as three 8-bit channels.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A picture of 24-bit RGB pixels, rows from top to bottom, three bytes a pixel, no row padding.
// A photo always has at least 1 x 1 pixel; an empty image (0 x 0) exists only before it is filled.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    RgbImage() = default;
    RgbImage(int width, int height, Rgb colour);

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * 3; }
    bool empty() const { return width <= 0 || height <= 0; }

    Rgb pixel(int x, int y) const;
    void setPixel(int x, int y, Rgb colour);

    // Paints every pixel with one colour; the size stays.
    void fill(Rgb colour);
    // Gives the image a new size filled with one colour.
    void reset(int width, int height, Rgb colour);
};

} // namespace vorlu::photo
