#include "PhotoFit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vorlu::photo {

PixelRect fitRect(int imageWidth, int imageHeight, int areaWidth, int areaHeight, int ownPixelSize)
{
    if (imageWidth <= 0 || imageHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return {};
    int width = 0;
    int height = 0;
    if (imageWidth == 1 && imageHeight == 1) {
        width = height = std::max(ownPixelSize, 1);
    } else {
        const double scale = std::min(static_cast<double>(areaWidth) / imageWidth,
                                      static_cast<double>(areaHeight) / imageHeight);
        width = std::clamp(static_cast<int>(std::lround(imageWidth * scale)), 1, areaWidth);
        height = std::clamp(static_cast<int>(std::lround(imageHeight * scale)), 1, areaHeight);
    }
    return {(areaWidth - width) / 2, (areaHeight - height) / 2, width, height};
}

namespace {

// For each target index, the first source index and the weights of the sources it mixes.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights; // count[i] entries from offset[i]
    std::vector<std::size_t> offset;
};

Taps makeTaps(int sourceSize, int targetSize)
{
    Taps taps;
    taps.first.resize(targetSize);
    taps.count.resize(targetSize);
    taps.offset.resize(targetSize);
    const double scale = static_cast<double>(sourceSize) / targetSize; // > 1 when reducing
    const double widen = std::max(1.0, scale);
    const double support = widen; // the triangle reaches one (widened) pixel each side
    for (int i = 0; i < targetSize; ++i) {
        const double centre = (i + 0.5) * scale;
        const int lo = std::max(0, static_cast<int>(std::floor(centre - support)));
        const int hi = std::min(sourceSize, static_cast<int>(std::ceil(centre + support)));
        taps.offset[i] = taps.weights.size();
        double total = 0;
        for (int j = lo; j < hi; ++j) {
            const double w = std::max(0.0, 1.0 - std::abs((j + 0.5 - centre) / widen));
            taps.weights.push_back(static_cast<float>(w));
            total += w;
        }
        int n = hi - lo;
        if (total <= 0) { // a target pixel between source pixels' reach: take the nearest
            const int nearest = std::clamp(static_cast<int>(centre), 0, sourceSize - 1);
            taps.weights.resize(taps.offset[i]);
            taps.weights.push_back(1.0f);
            taps.first[i] = nearest;
            taps.count[i] = 1;
            continue;
        }
        for (int k = 0; k < n; ++k)
            taps.weights[taps.offset[i] + k] = static_cast<float>(taps.weights[taps.offset[i] + k] / total);
        taps.first[i] = lo;
        taps.count[i] = n;
    }
    return taps;
}

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

RgbImage resample(const RgbImage& source, int width, int height)
{
    RgbImage target;
    if (width <= 0 || height <= 0 || source.empty())
        return target;
    target.width = width;
    target.height = height;
    target.pixels.resize(static_cast<std::size_t>(width) * height * 3);

    const Taps across = makeTaps(source.width, width);
    const Taps down = makeTaps(source.height, height);

    // Across first, one source row at a time into a small ring of rows: only the rows that the
    // current target row mixes are kept, not a reduced copy of the whole picture.
    const std::size_t middleRow = static_cast<std::size_t>(width) * 3;
    const int ringRows = *std::max_element(down.count.begin(), down.count.end());
    std::vector<float> ring(static_cast<std::size_t>(ringRows) * middleRow);
    int nextRow = 0; // the first source row not yet in the ring
    auto across1 = [&](int y) {
        const std::uint8_t* row = source.pixels.data() + static_cast<std::size_t>(y) * source.rowBytes();
        float* out = ring.data() + static_cast<std::size_t>(y % ringRows) * middleRow;
        for (int x = 0; x < width; ++x) {
            const float* w = across.weights.data() + across.offset[x];
            const std::uint8_t* p = row + static_cast<std::size_t>(across.first[x]) * 3;
            float r = 0, g = 0, b = 0;
            for (int k = 0; k < across.count[x]; ++k, p += 3) {
                r += w[k] * p[0];
                g += w[k] * p[1];
                b += w[k] * p[2];
            }
            out[x * 3] = r;
            out[x * 3 + 1] = g;
            out[x * 3 + 2] = b;
        }
    };

    std::vector<float> sum(middleRow);
    for (int y = 0; y < height; ++y) {
        const int first = down.first[y];
        const int last = first + down.count[y]; // rows only move forward from one y to the next
        for (nextRow = std::max(nextRow, first); nextRow < last; ++nextRow)
            across1(nextRow);
        std::fill(sum.begin(), sum.end(), 0.0f);
        const float* w = down.weights.data() + down.offset[y];
        for (int k = 0; k < down.count[y]; ++k) {
            const float* p = ring.data() + static_cast<std::size_t>((first + k) % ringRows) * middleRow;
            for (std::size_t i = 0; i < middleRow; ++i)
                sum[i] += w[k] * p[i];
        }
        std::uint8_t* out = target.pixels.data() + static_cast<std::size_t>(y) * target.rowBytes();
        for (std::size_t i = 0; i < middleRow; ++i)
            out[i] = toByte(sum[i]);
    }
    return target;
}

} // namespace vorlu::photo
