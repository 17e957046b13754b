#include "RgbImage.h"

#include <stdexcept>

namespace vorlu::photo {

RgbImage::RgbImage(int width, int height, Rgb colour)
{
    reset(width, height, colour);
}

Rgb RgbImage::pixel(int x, int y) const
{
    const std::uint8_t* p = pixels.data() + static_cast<std::size_t>(y) * rowBytes() + static_cast<std::size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

void RgbImage::setPixel(int x, int y, Rgb colour)
{
    std::uint8_t* p = pixels.data() + static_cast<std::size_t>(y) * rowBytes() + static_cast<std::size_t>(x) * 3;
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
}

void RgbImage::fill(Rgb colour)
{
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) {
        pixels[i] = colour.r;
        pixels[i + 1] = colour.g;
        pixels[i + 2] = colour.b;
    }
}

void RgbImage::reset(int newWidth, int newHeight, Rgb colour)
{
    if (newWidth < 0 || newHeight < 0)
        throw std::invalid_argument("negative image size");
    width = newWidth;
    height = newHeight;
    pixels.assign(static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight) * 3, 0);
    pixels.shrink_to_fit();
    fill(colour);
}

} // namespace vorlu::photo
