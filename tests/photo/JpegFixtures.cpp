#include "JpegFixtures.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace vorlu::photo::test {

const int kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

RgbImage patternImage(int width, int height)
{
    RgbImage image(width, height, Rgb{});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            const bool top = y < height / 2;
            image.setPixel(x, y, left ? (top ? Rgb{220, 30, 30} : Rgb{30, 200, 40})
                                      : (top ? Rgb{40, 50, 210} : Rgb{230, 220, 60}));
        }
    return image;
}

Bytes rgbBytes(const RgbImage& image)
{
    return image.pixels;
}

Bytes uniform(int width, int height, std::initializer_list<std::uint8_t> pixel)
{
    Bytes out;
    for (int i = 0; i < width * height; ++i)
        out.insert(out.end(), pixel.begin(), pixel.end());
    return out;
}

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

Bytes makeJpeg(const JpegRecipe& recipe)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err); // fixtures are valid: libjpeg's default exit is fine here
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);

    const int components = recipe.cmykInput ? 4 : 3;
    Bytes pixels = recipe.pixels;
    if (pixels.empty()) {
        if (recipe.cmykInput)
            throw std::logic_error("CMYK fixtures need their pixels");
        pixels = rgbBytes(patternImage(recipe.width, recipe.height));
    }
    info.image_width = static_cast<JDIMENSION>(recipe.width);
    info.image_height = static_cast<JDIMENSION>(recipe.height);
    info.input_components = components;
    info.in_color_space = recipe.cmykInput ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, static_cast<J_COLOR_SPACE>(recipe.fileSpace));
    jpeg_set_quality(&info, recipe.quality, TRUE);
    if (recipe.jfif)
        info.write_JFIF_header = *recipe.jfif;
    if (recipe.adobe)
        info.write_Adobe_marker = *recipe.adobe;
    info.density_unit = static_cast<UINT8>(recipe.densityUnit);
    info.X_density = static_cast<UINT16>(recipe.xDensity);
    info.Y_density = static_cast<UINT16>(recipe.yDensity);
    if (recipe.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    for (const FixtureSegment& s : recipe.segments)
        jpeg_write_marker(&info, s.marker, s.data.data(), static_cast<unsigned>(s.data.size()));
    const std::size_t rowBytes = static_cast<std::size_t>(recipe.width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = pixels.data() + info.next_scanline * rowBytes;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

namespace {

int be16(const Bytes& b, std::size_t at)
{
    if (at + 2 > b.size())
        throw std::runtime_error("JPEG ends inside a length");
    return b[at] << 8 | b[at + 1];
}

bool standalone(int marker)
{
    return marker == 0xD8 || marker == 0xD9 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Walks markers; at each SOS skips the entropy-coded data to the next real marker.
template <typename Visit>
void walk(const Bytes& jpeg, Visit visit)
{
    std::size_t at = 0;
    while (at + 1 < jpeg.size()) {
        if (jpeg[at] != 0xFF)
            throw std::runtime_error("no marker where one should be");
        const int marker = jpeg[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        at += 2;
        if (standalone(marker)) {
            if (!visit(marker, Bytes{}))
                return;
            if (marker == 0xD9)
                return;
            continue;
        }
        const int length = be16(jpeg, at);
        if (length < 2 || at + length > jpeg.size())
            throw std::runtime_error("bad segment length");
        if (!visit(marker, Bytes(jpeg.begin() + at + 2, jpeg.begin() + at + length)))
            return;
        at += length;
        if (marker == 0xDA) {
            while (at + 1 < jpeg.size()
                   && !(jpeg[at] == 0xFF && jpeg[at + 1] != 0 && !(jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7)))
                ++at;
        }
    }
}

} // namespace

std::vector<Segment> headerSegments(const Bytes& jpeg)
{
    std::vector<Segment> out;
    walk(jpeg, [&](int marker, Bytes payload) {
        out.push_back({marker, std::move(payload)});
        return marker != 0xDA;
    });
    return out;
}

std::vector<int> allMarkers(const Bytes& jpeg)
{
    std::vector<int> out;
    walk(jpeg, [&](int marker, const Bytes&) {
        out.push_back(marker);
        return true;
    });
    return out;
}

FrameInfo frameInfo(const Bytes& jpeg)
{
    for (const Segment& s : headerSegments(jpeg)) {
        if (s.marker >= 0xC0 && s.marker <= 0xC2) {
            FrameInfo f;
            f.marker = s.marker;
            f.height = s.payload.at(1) << 8 | s.payload.at(2);
            f.width = s.payload.at(3) << 8 | s.payload.at(4);
            const int n = s.payload.at(5);
            for (int i = 0; i < n; ++i) {
                const std::size_t at = 6 + 3 * static_cast<std::size_t>(i);
                f.components.push_back(
                    {s.payload.at(at), s.payload.at(at + 1) >> 4, s.payload.at(at + 1) & 15, s.payload.at(at + 2)});
            }
            return f;
        }
    }
    throw std::runtime_error("no frame header");
}

std::vector<std::vector<int>> quantTables(const Bytes& jpeg)
{
    std::vector<std::vector<int>> tables(4);
    for (const Segment& s : headerSegments(jpeg)) {
        if (s.marker != 0xDB)
            continue;
        std::size_t at = 0;
        while (at < s.payload.size()) {
            const int precision = s.payload[at] >> 4;
            const int id = s.payload[at] & 15;
            ++at;
            std::vector<int> natural(64);
            for (int k = 0; k < 64; ++k) {
                natural[kZigzag[k]] = precision ? be16(s.payload, at) : s.payload.at(at);
                at += precision ? 2 : 1;
            }
            tables.at(id) = natural;
        }
    }
    while (!tables.empty() && tables.back().empty())
        tables.pop_back();
    return tables;
}

std::vector<HuffmanTable> huffmanTables(const Bytes& jpeg)
{
    std::vector<HuffmanTable> out;
    for (const Segment& s : headerSegments(jpeg)) {
        if (s.marker != 0xC4)
            continue;
        std::size_t at = 0;
        while (at < s.payload.size()) {
            HuffmanTable t;
            t.tableClass = s.payload[at] >> 4;
            t.id = s.payload[at] & 15;
            ++at;
            int total = 0;
            for (int i = 0; i < 16; ++i) {
                t.counts.push_back(s.payload.at(at + i));
                total += t.counts.back();
            }
            at += 16;
            for (int i = 0; i < total; ++i)
                t.values.push_back(s.payload.at(at + i));
            at += total;
            out.push_back(t);
        }
    }
    return out;
}

std::vector<FixtureSegment> appSegments(const Bytes& jpeg)
{
    std::vector<FixtureSegment> out;
    for (const Segment& s : headerSegments(jpeg))
        if ((s.marker >= 0xE0 && s.marker <= 0xEF) || s.marker == 0xFE)
            out.push_back({s.marker, s.payload});
    return out;
}

} // namespace vorlu::photo::test
