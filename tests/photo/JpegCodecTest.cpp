#include "JpegCodec.h"
#include "JpegFixtures.h"
#include "QtDecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace vorlu::photo::test {
namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 24;
// Centres of the four regions of patternImage, away from edges and chroma blocks.
const int kProbes[4][2] = {{8, 6}, {24, 6}, {8, 18}, {24, 18}};

Bytes fixture(JpegRecipe recipe = {})
{
    recipe.width = recipe.width == 16 ? kWidth : recipe.width;
    recipe.height = recipe.height == 12 ? kHeight : recipe.height;
    return makeJpeg(recipe);
}

bool read(JpegCodec& codec, const Bytes& bytes, RgbImage& image)
{
    std::size_t position = 0;
    return codec.readStream(bytes, position, image);
}

Bytes write(const JpegCodec& codec, const RgbImage& image)
{
    Bytes out;
    codec.write(image, out);
    return out;
}

void expectPattern(const RgbImage& image, int tolerance)
{
    const RgbImage pattern = patternImage(kWidth, kHeight);
    ASSERT_EQ(image.width, kWidth);
    ASSERT_EQ(image.height, kHeight);
    for (const auto& p : kProbes)
        EXPECT_LE(colourDistance(image.pixel(p[0], p[1]), pattern.pixel(p[0], p[1])), tolerance)
            << "at " << p[0] << "," << p[1];
}

void expectPattern(const QImage& image, int tolerance)
{
    const RgbImage pattern = patternImage(kWidth, kHeight);
    ASSERT_EQ(image.width(), kWidth);
    ASSERT_EQ(image.height(), kHeight);
    for (const auto& p : kProbes)
        EXPECT_LE(colourDistance(qtPixel(image, p[0], p[1]), pattern.pixel(p[0], p[1])), tolerance)
            << "at " << p[0] << "," << p[1];
}

// ---- writing -------------------------------------------------------------------------------

TEST(JpegWrite, QuantisationTablesAreTheStandardOnesAtQuality80)
{
    // ITU T.81 Annex K tables, natural order.
    const int luminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                               14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                               18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                               49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
    const int chrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                 24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
    auto atQuality80 = [](const int* base) {
        std::vector<int> out;
        for (int i = 0; i < 64; ++i) // quality 80 scales by 200 - 2 * 80 = 40 percent
            out.push_back(std::clamp((base[i] * 40 + 50) / 100, 1, 255));
        return out;
    };

    JpegCodec codec;
    const Bytes jpeg = write(codec, patternImage(kWidth, kHeight));
    const auto tables = quantTables(jpeg);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0], atQuality80(luminance));
    EXPECT_EQ(tables[1], atQuality80(chrominance));
}

TEST(JpegWrite, DefaultStateGivesBaselineYCbCrWithStandardHuffmanTablesAndJfif300Dpi)
{
    JpegCodec codec;
    const Bytes jpeg = write(codec, patternImage(kWidth, kHeight));

    const FrameInfo frame = frameInfo(jpeg);
    EXPECT_EQ(frame.marker, 0xC0);
    ASSERT_EQ(frame.components.size(), 3u);
    EXPECT_EQ(frame.components[0].h, 2);
    EXPECT_EQ(frame.components[0].v, 2);
    EXPECT_EQ(frame.components[1].h, 1);
    EXPECT_EQ(frame.components[2].v, 1);

    // Optimised tables would have other code-length counts; these are T.81 K.3.
    const auto huffman = huffmanTables(jpeg);
    ASSERT_EQ(huffman.size(), 4u);
    auto find = [&](int tableClass, int id) {
        return *std::find_if(huffman.begin(), huffman.end(),
                             [&](const HuffmanTable& t) { return t.tableClass == tableClass && t.id == id; });
    };
    EXPECT_EQ(find(0, 0).counts, (std::vector<int>{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(find(1, 0).counts, (std::vector<int>{0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d}));
    EXPECT_EQ(find(1, 1).counts, (std::vector<int>{0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77}));

    const auto segments = appSegments(jpeg);
    ASSERT_EQ(segments.size(), 1u);
    const Bytes& jfif = segments[0].data;
    ASSERT_EQ(segments[0].marker, 0xE0);
    ASSERT_GE(jfif.size(), 12u);
    EXPECT_EQ(std::string(jfif.begin(), jfif.begin() + 5), std::string("JFIF\0", 5));
    EXPECT_EQ(jfif[7], 1); // dots per inch
    EXPECT_EQ(jfif[8] << 8 | jfif[9], 300);
    EXPECT_EQ(jfif[10] << 8 | jfif[11], 300);

    expectPattern(qtDecode(jpeg), 16);
}

TEST(JpegWrite, ProgressiveStateGivesSimpleProgression)
{
    JpegCodec codec;
    codec.state().progressive = true;
    const Bytes jpeg = write(codec, patternImage(kWidth, kHeight));
    EXPECT_EQ(frameInfo(jpeg).marker, 0xC2);
    const auto markers = allMarkers(jpeg);
    EXPECT_EQ(std::count(markers.begin(), markers.end(), 0xDA), 10); // libjpeg's script for YCbCr
    expectPattern(qtDecode(jpeg), 16);
}

struct SpaceCase {
    ColourSpace space;
    std::size_t components;
    int adobeTransform; // -1: no Adobe segment
    bool jfif;
    std::vector<std::pair<int, int>> sampling;
};

class JpegWriteSpace : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(JpegWriteSpace, StoresTheColourSpaceOfTheStateWithLibjpegSampling)
{
    const SpaceCase& c = GetParam();
    JpegCodec codec;
    codec.state().colourSpace = c.space;
    const Bytes jpeg = write(codec, patternImage(kWidth, kHeight));

    const FrameInfo frame = frameInfo(jpeg);
    ASSERT_EQ(frame.components.size(), c.components);
    for (std::size_t i = 0; i < c.components; ++i) {
        EXPECT_EQ(frame.components[i].h, c.sampling[i].first) << "component " << i;
        EXPECT_EQ(frame.components[i].v, c.sampling[i].second) << "component " << i;
    }
    int adobe = -1;
    bool jfif = false;
    for (const auto& s : appSegments(jpeg)) {
        if (s.marker == 0xEE && s.data.size() >= 12 && std::string(s.data.begin(), s.data.begin() + 5) == "Adobe")
            adobe = s.data[11];
        if (s.marker == 0xE0)
            jfif = true;
    }
    EXPECT_EQ(adobe, c.adobeTransform);
    EXPECT_EQ(jfif, c.jfif);

    // Another decoder sees the same picture (Qt reads CMYK in the inverted Adobe form).
    const QImage decoded = qtDecode(jpeg);
    if (c.space == ColourSpace::Grey) {
        EXPECT_EQ(decoded.format(), QImage::Format_Grayscale8);
    } else {
        expectPattern(decoded, 16);
    }

    // And our own reader records the space again.
    JpegCodec again;
    RgbImage image;
    ASSERT_TRUE(read(again, jpeg, image));
    EXPECT_EQ(again.state().colourSpace, c.space);
    if (c.space != ColourSpace::Grey)
        expectPattern(image, 16);
}

INSTANTIATE_TEST_SUITE_P(
    Spaces, JpegWriteSpace,
    ::testing::Values(SpaceCase{ColourSpace::Grey, 1, -1, true, {{1, 1}}},
                      SpaceCase{ColourSpace::YCbCr, 3, -1, true, {{2, 2}, {1, 1}, {1, 1}}},
                      SpaceCase{ColourSpace::RGB, 3, 0, false, {{1, 1}, {1, 1}, {1, 1}}},
                      SpaceCase{ColourSpace::CMYK, 4, 0, false, {{1, 1}, {1, 1}, {1, 1}, {1, 1}}},
                      SpaceCase{ColourSpace::YCCK, 4, 2, false, {{2, 2}, {1, 1}, {1, 1}, {2, 2}}}),
    [](const auto& info) { return std::string(colourSpaceName(info.param.space)); });

TEST(JpegWrite, WritesRecordedSegmentsInOrderExceptAdobeWithExifAnew)
{
    JpegCodec codec;
    const Bytes tiff = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0};
    Bytes oddExif = bytesOf(std::string("Exif\0\xFF", 6));
    oddExif.insert(oddExif.end(), tiff.begin(), tiff.end());
    codec.state().segments = {
        {0xFE, bytesOf("first comment")},
        {0xE1, oddExif},
        {0xEE, bytesOf("Adobe-recorded")},
        {0xE2, bytesOf("ICC_PROFILE-ish")},
        {0xE0, bytesOf("JFXX-extension")},
    };
    const Bytes jpeg = write(codec, patternImage(kWidth, kHeight));

    Bytes exif = bytesOf(std::string("Exif\0\0", 6));
    exif.insert(exif.end(), tiff.begin(), tiff.end());
    const auto segments = appSegments(jpeg);
    ASSERT_EQ(segments.size(), 5u);
    EXPECT_EQ(segments[0].marker, 0xE0); // the new JFIF header comes first
    EXPECT_EQ(segments[1].data, bytesOf("first comment"));
    EXPECT_EQ(segments[2].marker, 0xE1);
    EXPECT_EQ(segments[2].data, exif);
    EXPECT_EQ(segments[3].marker, 0xE2);
    EXPECT_EQ(segments[4].marker, 0xE0);
    EXPECT_EQ(segments[4].data, bytesOf("JFXX-extension"));
}

TEST(JpegWrite, FillsTheCallersBufferAndReplacesWhatItHeld)
{
    JpegCodec codec;
    Bytes out(5000, 0xAB);
    codec.write(patternImage(kWidth, kHeight), out);
    ASSERT_GE(out.size(), 4u);
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_EQ(out[1], 0xD8);
    EXPECT_EQ(out[out.size() - 2], 0xFF);
    EXPECT_EQ(out.back(), 0xD9);
    EXPECT_FALSE(qtDecode(out).isNull());
}

TEST(JpegWrite, ZeroDensityIsWrittenAsOne)
{
    JpegCodec codec;
    codec.state().dpiX = 0;
    codec.state().dpiY = 0;
    const Bytes jfif = appSegments(write(codec, patternImage(kWidth, kHeight))).at(0).data;
    EXPECT_EQ(jfif.at(8) << 8 | jfif.at(9), 1);
    EXPECT_EQ(jfif.at(10) << 8 | jfif.at(11), 1);
}

// ---- reading -------------------------------------------------------------------------------

TEST(JpegRead, DecodesTo24BitRgbAsAnotherDecoderDoes)
{
    const Bytes jpeg = fixture({.width = 45, .height = 30});
    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, jpeg, image));
    const QImage reference = qtDecode(jpeg);
    ASSERT_EQ(image.width, reference.width());
    ASSERT_EQ(image.height, reference.height());
    ASSERT_EQ(image.pixels.size(), 45u * 30u * 3u);
    int worst = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            worst = std::max(worst, colourDistance(image.pixel(x, y), qtPixel(reference, x, y)));
    EXPECT_LE(worst, 3); // same process, IDCT and upsampling may differ slightly
}

TEST(JpegRead, ProgressiveStaysProgressiveAndSequentialSequential)
{
    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, fixture({.progressive = true}), image));
    EXPECT_TRUE(codec.state().progressive);
    EXPECT_EQ(frameInfo(write(codec, image)).marker, 0xC2);

    ASSERT_TRUE(read(codec, fixture(), image));
    EXPECT_FALSE(codec.state().progressive);
    EXPECT_EQ(frameInfo(write(codec, image)).marker, 0xC0);
}

TEST(JpegRead, GreyIsReadAsGreyRgbAndStoredGrey)
{
    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, fixture({.fileSpace = FileSpace::Grey}), image));
    EXPECT_EQ(codec.state().colourSpace, ColourSpace::Grey);
    ASSERT_EQ(image.pixels.size(), std::size_t{kWidth} * kHeight * 3);
    for (const auto& p : kProbes) {
        const Rgb c = image.pixel(p[0], p[1]);
        EXPECT_EQ(c.r, c.g);
        EXPECT_EQ(c.g, c.b);
    }
    const Bytes stored = write(codec, image);
    EXPECT_EQ(frameInfo(stored).components.size(), 1u);
    EXPECT_EQ(qtDecode(stored).format(), QImage::Format_Grayscale8);
}

struct FileSpaceCase {
    const char* name;
    FileSpace file;
    ColourSpace recorded;
};

class JpegReadSpace : public ::testing::TestWithParam<FileSpaceCase> {};

TEST_P(JpegReadSpace, RecordsTheColourSpaceOfTheFile)
{
    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, fixture({.fileSpace = GetParam().file}), image));
    EXPECT_EQ(codec.state().colourSpace, GetParam().recorded);
}

INSTANTIATE_TEST_SUITE_P(Spaces, JpegReadSpace,
                         ::testing::Values(FileSpaceCase{"Grey", FileSpace::Grey, ColourSpace::Grey},
                                           FileSpaceCase{"YCbCr", FileSpace::YCbCr, ColourSpace::YCbCr},
                                           FileSpaceCase{"RGB", FileSpace::RGB, ColourSpace::RGB}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CmykCase {
    const char* name;
    FileSpace file;
    bool adobe;                          // inverted form with an Adobe segment, or plain ink
    std::array<std::uint8_t, 4> ink;     // C, M, Y, K as amounts of ink
    Rgb expected;
};

class JpegReadCmyk : public ::testing::TestWithParam<CmykCase> {};

TEST_P(JpegReadCmyk, ConvertsInkToRgb)
{
    const CmykCase& c = GetParam();
    std::array<std::uint8_t, 4> stored = c.ink;
    if (c.adobe)
        for (auto& v : stored)
            v = static_cast<std::uint8_t>(255 - v);
    JpegRecipe recipe{.cmykInput = true, .fileSpace = c.file, .adobe = c.adobe};
    recipe.pixels = uniform(recipe.width, recipe.height, {stored[0], stored[1], stored[2], stored[3]});
    const Bytes jpeg = makeJpeg(recipe);

    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, jpeg, image));
    EXPECT_EQ(codec.state().colourSpace, c.file == FileSpace::CMYK ? ColourSpace::CMYK : ColourSpace::YCCK);
    EXPECT_LE(colourDistance(image.pixel(5, 5), c.expected), 3)
        << int(image.pixel(5, 5).r) << "," << int(image.pixel(5, 5).g) << "," << int(image.pixel(5, 5).b);
}

INSTANTIATE_TEST_SUITE_P(
    Inks, JpegReadCmyk,
    ::testing::Values(CmykCase{"AdobeCyan", FileSpace::CMYK, true, {255, 0, 0, 0}, {0, 255, 255}},
                      CmykCase{"AdobeDarkRed", FileSpace::CMYK, true, {0, 255, 255, 128}, {127, 0, 0}},
                      CmykCase{"PlainCyan", FileSpace::CMYK, false, {255, 0, 0, 0}, {0, 255, 255}},
                      CmykCase{"PlainDarkRed", FileSpace::CMYK, false, {0, 255, 255, 128}, {127, 0, 0}},
                      CmykCase{"YcckGreen", FileSpace::YCCK, true, {255, 0, 255, 0}, {0, 255, 0}},
                      CmykCase{"YcckGreyish", FileSpace::YCCK, true, {0, 0, 0, 100}, {155, 155, 155}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DensityCase {
    const char* name;
    std::optional<bool> jfif;
    int unit, x, y;
    int dpiX, dpiY;
};

class JpegReadDensity : public ::testing::TestWithParam<DensityCase> {};

TEST_P(JpegReadDensity, RecordsDotsPerInch)
{
    const DensityCase& c = GetParam();
    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, fixture({.jfif = c.jfif, .densityUnit = c.unit, .xDensity = c.x, .yDensity = c.y}), image));
    EXPECT_EQ(codec.state().dpiX, c.dpiX);
    EXPECT_EQ(codec.state().dpiY, c.dpiY);

    const Bytes jfif = appSegments(write(codec, image)).at(0).data; // written back as dpi
    EXPECT_EQ(jfif.at(7), 1);
    EXPECT_EQ(jfif.at(8) << 8 | jfif.at(9), c.dpiX);
}

INSTANTIATE_TEST_SUITE_P(
    Units, JpegReadDensity,
    ::testing::Values(DensityCase{"Inch", {}, 1, 72, 96, 72, 96},
                      DensityCase{"CentimetreFractionDropped", {}, 2, 118, 40, 46, 15},
                      DensityCase{"AspectOnly", {}, 0, 2, 3, 2, 3},
                      DensityCase{"NoJfifHeader", false, 1, 600, 600, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegRead, RecordsCommentAndApplicationSegmentsInOrderWithoutTheJfifHeader)
{
    const Bytes exif = bytesOf(std::string("Exif\0\0MM\0*\0\0\0\x08", 14));
    JpegRecipe recipe;
    recipe.segments = {{0xFE, bytesOf("note")}, {0xE1, exif}, {0xE0, bytesOf("JFXX\0more")}, {0xEE, bytesOf("Adobe?")}};
    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, fixture(recipe), image));
    const std::vector<MarkerSegment> expected = {
        {0xFE, bytesOf("note")}, {0xE1, exif}, {0xE0, bytesOf("JFXX\0more")}, {0xEE, bytesOf("Adobe?")}};
    EXPECT_EQ(codec.state().segments, expected);

    // Written back: the recorded Adobe segment is left out, the rest follow the new header.
    const auto written = appSegments(write(codec, image));
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[1].data, bytesOf("note"));
    EXPECT_EQ(written[2].data, exif);
    EXPECT_EQ(written[3].data, bytesOf("JFXX\0more"));
}

TEST(JpegRead, EveryReadForgetsTheSegmentsButAFailedOneKeepsTheRest)
{
    JpegRecipe recipe{.progressive = true, .densityUnit = 1, .xDensity = 200, .yDensity = 150};
    recipe.fileSpace = FileSpace::Grey;
    recipe.segments = {{0xFE, bytesOf("note")}};
    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, fixture(recipe), image));
    ASSERT_EQ(codec.state().segments.size(), 1u);
    const RgbImage before = image;

    EXPECT_FALSE(read(codec, bytesOf("no picture in here"), image));
    EXPECT_TRUE(codec.state().segments.empty());
    EXPECT_EQ(codec.state().colourSpace, ColourSpace::Grey);
    EXPECT_TRUE(codec.state().progressive);
    EXPECT_EQ(codec.state().dpiX, 200);
    EXPECT_EQ(codec.state().dpiY, 150);
    EXPECT_EQ(image.pixels, before.pixels);
}

struct StartCase {
    const char* name;
    Bytes prefix;
    bool read;
    std::size_t positionAfter;
};

Bytes junk(std::size_t n)
{
    Bytes out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 0xFF : 0xD8); // near misses of FF D8 FF
    return out;
}

Bytes streamHeader(std::uint32_t length)
{
    Bytes h = bytesOf(std::string("JFIF\0\0\0\0", 8));
    for (int i = 0; i < 4; ++i)
        h.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    return h;
}

Bytes concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class JpegReadStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(JpegReadStart, LooksForTheStartInTheFirst100PositionsAfterAnyStreamHeader)
{
    const StartCase& c = GetParam();
    const Bytes jpeg = fixture();
    const Bytes stream = concat(c.prefix, jpeg);
    JpegCodec codec;
    RgbImage image(3, 3, Rgb{1, 2, 3});
    std::size_t position = 0;
    EXPECT_EQ(codec.readStream(stream, position, image), c.read);
    EXPECT_EQ(position, c.positionAfter);
    EXPECT_EQ(image.width, c.read ? kWidth : 3);
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, JpegReadStart,
    ::testing::Values(StartCase{"AtOnce", {}, true, 0}, StartCase{"After99Bytes", junk(99), true, 0},
                      StartCase{"After100Bytes", junk(100), false, 0},
                      StartCase{"AfterStreamHeader", streamHeader(1234), true, 12},
                      StartCase{"AfterStreamHeaderAnd99Bytes", concat(streamHeader(0), junk(99)), true, 12},
                      StartCase{"AfterStreamHeaderAnd100Bytes", concat(streamHeader(0), junk(100)), false, 12},
                      StartCase{"JfifWithoutZeroIsNoHeader", bytesOf("JFIFxxxxxxxx"), true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegRead, ReadsFromTheStreamPosition)
{
    const Bytes stream = concat(junk(150), fixture());
    JpegCodec codec;
    RgbImage image;
    std::size_t position = 0;
    EXPECT_FALSE(codec.readStream(stream, position, image));
    position = 60;
    EXPECT_TRUE(codec.readStream(stream, position, image));
    std::size_t past = stream.size() + 10; // a position past the end reads nothing, and no crash
    EXPECT_FALSE(codec.readStream(stream, past, image));
}

TEST(JpegRead, FileBytesHaveNoStreamHeader)
{
    // From a file "JFIF\0" is not skipped as a header: the search starts at byte 0.
    const Bytes bytes = concat(concat(streamHeader(0), junk(95)), fixture());
    JpegCodec codec;
    RgbImage image;
    EXPECT_FALSE(codec.readBytes(bytes, image));
    std::size_t position = 0;
    EXPECT_TRUE(codec.readStream(bytes, position, image));
}

struct BrokenCase {
    const char* name;
    Bytes (*make)();
};

// Cut half-way through the data after the first scan header, so libjpeg has a picture
// started and runs out of data in the middle of it.
Bytes cutInsideScan(Bytes b)
{
    const std::uint8_t sos[] = {0xFF, 0xDA};
    const auto at = static_cast<std::size_t>(std::search(b.begin(), b.end(), std::begin(sos), std::end(sos)) - b.begin());
    b.resize(at + (b.size() - at) / 2);
    return b;
}

Bytes noisyJpeg(bool progressive)
{
    RgbImage image(96, 80, Rgb{});
    std::uint32_t seed = 12345;
    for (auto& byte : image.pixels) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return makeJpeg({.width = 96, .height = 80, .pixels = image.pixels, .progressive = progressive});
}

Bytes patchFrame(Bytes b, std::size_t offset, std::uint8_t value)
{
    const std::uint8_t sof[] = {0xFF, 0xC0};
    const auto at = std::search(b.begin(), b.end(), std::begin(sof), std::end(sof));
    b.at(static_cast<std::size_t>(at - b.begin()) + offset) = value;
    return b;
}

const BrokenCase kBroken[] = {
    {"SequentialCutInsideTheScan", [] { return cutInsideScan(noisyJpeg(false)); }},
    {"ProgressiveCutAfterTheFirstScan", [] { return cutInsideScan(noisyJpeg(true)); }},
    {"CutInsideHeaders", [] {
         Bytes b = fixture();
         b.resize(200);
         return b;
     }},
    {"ZeroHeight", [] { return patchFrame(fixture(), 6, 0) /* low byte of the height 24 */; }},
    {"UnsupportedProcess", [] { return patchFrame(fixture(), 1, 0xC3); }},
    {"BadComponentCount", [] { return patchFrame(fixture(), 9, 9); }},
    {"OnlyTheStart", [] { return Bytes{0xFF, 0xD8, 0xFF}; }},
};

class JpegReadBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(JpegReadBroken, LeavesTheImageAndTheStateAsTheyWere)
{
    JpegCodec codec;
    RgbImage image;
    ASSERT_TRUE(read(codec, fixture({.fileSpace = FileSpace::Grey, .densityUnit = 1, .xDensity = 72}), image));
    const RgbImage before = image;

    EXPECT_FALSE(read(codec, GetParam().make(), image));
    EXPECT_EQ(image.width, before.width);
    EXPECT_EQ(image.height, before.height);
    EXPECT_EQ(image.pixels, before.pixels);
    EXPECT_EQ(codec.state().colourSpace, ColourSpace::Grey);
    EXPECT_FALSE(codec.state().progressive);
    EXPECT_EQ(codec.state().dpiX, 72);
}

INSTANTIATE_TEST_SUITE_P(Files, JpegReadBroken, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegRead, AFileMissingOnlyItsEndMarkerIsRead)
{
    const Bytes whole = noisyJpeg(false);
    Bytes jpeg = whole;
    ASSERT_EQ(jpeg[jpeg.size() - 1], 0xD9);
    jpeg.resize(jpeg.size() - 2);
    JpegCodec codec;
    RgbImage image, reference;
    ASSERT_TRUE(read(codec, jpeg, image));
    ASSERT_TRUE(read(codec, whole, reference));
    EXPECT_EQ(image.pixels, reference.pixels);
}

TEST(JpegRead, LimitsRefuseHugePicturesAndEndlessScans)
{
    JpegCodec codec;
    RgbImage image;
    codec.setLimits({.maxPixels = 64 * 64 - 1});
    EXPECT_FALSE(read(codec, fixture({.width = 64, .height = 64}), image));
    EXPECT_TRUE(read(codec, fixture({.width = 64, .height = 63}), image));

    codec.setLimits({.maxScans = 9}); // the simple progression has 10 scans
    EXPECT_FALSE(read(codec, fixture({.progressive = true}), image));
    codec.setLimits({.maxScans = 10});
    EXPECT_TRUE(read(codec, fixture({.progressive = true}), image));
}

} // namespace
} // namespace vorlu::photo::test
