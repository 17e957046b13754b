// Writes a small starting corpus for the reader fuzzer: one file of each kind the reader
// distinguishes. Usage: make_seeds DIR

#include "JpegFixtures.h"

#include <filesystem>
#include <fstream>
#include <string>

using namespace vorlu::photo::test;

namespace {

void save(const std::filesystem::path& dir, const std::string& name, const Bytes& bytes)
{
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes prefixed(Bytes prefix, const Bytes& jpeg)
{
    prefix.insert(prefix.end(), jpeg.begin(), jpeg.end());
    return prefix;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);

    const Bytes exif = bytesOf(std::string("Exif\0\0MM\0*\0\0\0\x08\0\0", 16));
    save(dir, "sequential.jpg", makeJpeg({.width = 24, .height = 16, .quality = 80}));
    save(dir, "progressive.jpg", makeJpeg({.width = 24, .height = 16, .progressive = true}));
    save(dir, "grey.jpg", makeJpeg({.width = 16, .height = 16, .fileSpace = FileSpace::Grey}));
    save(dir, "rgb.jpg", makeJpeg({.width = 16, .height = 8, .fileSpace = FileSpace::RGB}));
    save(dir, "cmyk.jpg",
         makeJpeg({.width = 8, .height = 8, .cmykInput = true, .fileSpace = FileSpace::CMYK,
                   .pixels = uniform(8, 8, {10, 200, 30, 90})}));
    save(dir, "ycck.jpg",
         makeJpeg({.width = 8, .height = 8, .cmykInput = true, .fileSpace = FileSpace::YCCK,
                   .pixels = uniform(8, 8, {10, 200, 30, 90}), .progressive = true}));
    save(dir, "segments.jpg",
         makeJpeg({.width = 8, .height = 8, .densityUnit = 2, .xDensity = 118, .yDensity = 118,
                   .segments = {{0xFE, bytesOf("comment")}, {0xE1, exif}, {0xE0, bytesOf("JFXX\0")}, {0xEE, bytesOf("Adobe")}}}));
    const Bytes small = makeJpeg({.width = 8, .height = 8});
    save(dir, "stream-header.bin", prefixed(bytesOf(std::string("JFIF\0\0\0\0\0\0\0\0", 12)), small));
    save(dir, "junk-prefix.bin", prefixed(Bytes(40, 0xFF), small));
    return 0;
}
