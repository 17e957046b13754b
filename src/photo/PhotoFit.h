#pragma once

#include "RgbImage.h"

namespace vorlu::photo {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where the photo view draws an image of imageWidth x imageHeight in an area of areaWidth x
// areaHeight: whole, centred, scaled by one factor in both directions so that it fits,
// enlarged as well as reduced. An image of 1 x 1 pixel keeps its own size, which is
// ownPixelSize area pixels (the device pixel ratio on a high-density screen).
PixelRect fitRect(int imageWidth, int imageHeight, int areaWidth, int areaHeight, int ownPixelSize = 1);

// The image resampled to exactly width x height: a triangle filter widened to the reduction
// factor when reducing (every source pixel counts, no aliasing), plain bilinear when enlarging.
RgbImage resample(const RgbImage& source, int width, int height);

} // namespace vorlu::photo
