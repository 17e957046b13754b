#pragma once

// Qt's own JPEG reader, as the independent judge of what the codec writes.

#include "JpegFixtures.h"

#include <QImage>

namespace vorlu::photo::test {

inline QImage qtDecode(const Bytes& jpeg)
{
    return QImage::fromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPEG");
}

inline Rgb qtPixel(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
            static_cast<std::uint8_t>(qBlue(p))};
}

inline int colourDistance(Rgb a, Rgb b)
{
    auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return std::max({d(a.r, b.r), d(a.g, b.g), d(a.b, b.b)});
}

} // namespace vorlu::photo::test
