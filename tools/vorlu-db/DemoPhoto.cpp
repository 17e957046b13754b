#include "DemoPhoto.h"

#include "JpegCodec.h"

#include <array>
#include <cmath>

namespace vorlu::tools {
namespace {

// A head-and-shoulders silhouette on a soft vertical gradient.
photo::RgbImage portrait(photo::Rgb top, photo::Rgb bottom, photo::Rgb figure)
{
    constexpr int width = 150, height = 198;
    photo::RgbImage image(width, height, top);
    for (int y = 0; y < height; ++y) {
        const double t = static_cast<double>(y) / (height - 1);
        const photo::Rgb background{static_cast<std::uint8_t>(top.r + (bottom.r - top.r) * t),
                                    static_cast<std::uint8_t>(top.g + (bottom.g - top.g) * t),
                                    static_cast<std::uint8_t>(top.b + (bottom.b - top.b) * t)};
        for (int x = 0; x < width; ++x) {
            const double hx = (x - 75) / 34.0, hy = (y - 78) / 40.0;          // head
            const double sx = (x - 75) / 70.0, sy = (y - 205) / 70.0;         // shoulders
            const bool inFigure = hx * hx + hy * hy <= 1.0 || (sx * sx + sy * sy <= 1.0 && y > 130);
            image.setPixel(x, y, inFigure ? figure : background);
        }
    }
    return image;
}

} // namespace

std::vector<data::MemoryStream> demoPhotos()
{
    const std::array<std::array<photo::Rgb, 3>, 4> palettes = {{
        {{{214, 230, 242}, {150, 186, 214}, {70, 96, 128}}},
        {{{242, 226, 214}, {214, 170, 150}, {128, 80, 70}}},
        {{{222, 240, 222}, {160, 200, 165}, {60, 110, 75}}},
        {{{236, 232, 244}, {180, 170, 210}, {90, 80, 130}}},
    }};
    std::vector<data::MemoryStream> photos;
    photo::JpegCodec codec;
    for (const auto& palette : palettes) {
        std::vector<std::uint8_t> bytes;
        codec.write(portrait(palette[0], palette[1], palette[2]), bytes);
        data::MemoryStream stream;
        stream.write(bytes.data(), bytes.size());
        photos.push_back(std::move(stream));
    }
    return photos;
}

} // namespace vorlu::tools
