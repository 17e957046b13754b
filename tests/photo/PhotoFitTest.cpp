#include "PhotoFit.h"

#include <gtest/gtest.h>

namespace vorlu::photo {
namespace {

struct FitCase {
    const char* name;
    int imageWidth, imageHeight, areaWidth, areaHeight, own;
    PixelRect expected;
};

class Fit : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fit, CentresTheWholeImageScaledByOneFactor)
{
    const FitCase& c = GetParam();
    const PixelRect r = fitRect(c.imageWidth, c.imageHeight, c.areaWidth, c.areaHeight, c.own);
    EXPECT_EQ(r.x, c.expected.x);
    EXPECT_EQ(r.y, c.expected.y);
    EXPECT_EQ(r.width, c.expected.width);
    EXPECT_EQ(r.height, c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Fit,
    ::testing::Values(FitCase{"CameraPhotoReduced", 4000, 3000, 150, 198, 1, {0, 42, 150, 113}},
                      FitCase{"PortraitReduced", 600, 1200, 150, 198, 1, {25, 0, 99, 198}},
                      FitCase{"SmallPhotoEnlarged", 75, 99, 150, 198, 1, {0, 0, 150, 198}},
                      FitCase{"TinyWideEnlarged", 10, 2, 150, 198, 1, {0, 84, 150, 30}},
                      FitCase{"ThinLineKeepsOnePixel", 1, 500, 150, 198, 1, {74, 0, 1, 198}},
                      FitCase{"OnePixelAtOwnSize", 1, 1, 150, 198, 1, {74, 98, 1, 1}},
                      FitCase{"OnePixelAtOwnSizeOnDoubleDensity", 1, 1, 300, 396, 2, {149, 197, 2, 2}},
                      FitCase{"TwoPixelsAreScaled", 2, 1, 150, 198, 1, {0, 61, 150, 75}},
                      FitCase{"NoArea", 10, 10, 0, 0, 1, {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Resample, KeepsAUniformColourAtAnySize)
{
    const RgbImage source(37, 23, Rgb{12, 200, 99});
    for (auto [w, h] : {std::pair{5, 3}, std::pair{37, 23}, std::pair{111, 70}}) {
        const RgbImage out = resample(source, w, h);
        ASSERT_EQ(out.width, w);
        ASSERT_EQ(out.height, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(out.pixel(x, y), (Rgb{12, 200, 99})) << w << "x" << h << " at " << x << "," << y;
    }
}

TEST(Resample, ReducingAveragesEverySourcePixel)
{
    // A one-pixel checkerboard has no pixel that point sampling could pick to give grey.
    RgbImage board(64, 64, Rgb{});
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x + y) % 2)
                board.setPixel(x, y, Rgb{255, 255, 255});
    const RgbImage out = resample(board, 8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_NEAR(out.pixel(x, y).r, 128, 2) << x << "," << y;
}

TEST(Resample, EnlargingBlendsNeighbours)
{
    RgbImage source(2, 1, Rgb{});
    source.setPixel(1, 0, Rgb{200, 200, 200});
    const RgbImage out = resample(source, 8, 1);
    EXPECT_EQ(out.pixel(0, 0).r, 0);
    EXPECT_EQ(out.pixel(7, 0).r, 200);
    for (int x = 1; x < 8; ++x)
        EXPECT_GE(out.pixel(x, 0).r, out.pixel(x - 1, 0).r);
    EXPECT_GT(out.pixel(4, 0).r, 0);
    EXPECT_LT(out.pixel(3, 0).r, 200);
}

} // namespace
} // namespace vorlu::photo
