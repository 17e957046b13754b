#include "PatientPhoto.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string_view>

namespace vorlu::photo {

namespace {

std::string displayName(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openForReading(const std::filesystem::path& path)
{
#ifdef _WIN32
    return File(_wfopen(path.c_str(), L"rb"));
#else
    return File(std::fopen(path.c_str(), "rb"));
#endif
}

// The whole file, or false when it cannot be opened or read (a folder, no permission, gone).
bool readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes)
{
    File file = openForReading(path);
    if (!file)
        return false;
    std::array<std::uint8_t, 64 * 1024> chunk;
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        bytes.insert(bytes.end(), chunk.data(), chunk.data() + got);
        if (got < chunk.size())
            return std::ferror(file.get()) == 0;
    }
}

} // namespace

CannotOpenFileError::CannotOpenFileError(const std::string& fileName)
    : std::runtime_error("Impossível abrir arquivo " + fileName)
{
}

bool isJpegFileName(const std::filesystem::path& path)
{
    const std::u8string ext8 = path.extension().u8string();
    const std::string_view ext(reinterpret_cast<const char*>(ext8.data()), ext8.size());
    if (ext.empty())
        return false;
    const std::string_view bare = ext.substr(1);
    for (std::string_view jpeg : {"jpg", "jpeg", "jpe", "jif"}) {
        if (equalsIgnoringCase(bare, jpeg))
            return true;
    }
    return false;
}

PatientPhoto::PatientPhoto() : image_(kViewWidth, kViewHeight, Rgb{})
{
}

// A blank photo drops the recorded segments: they describe the picture that was there, and an
// EXIF thumbnail among them would keep a removed photo in the database.
void PatientPhoto::blank(Rgb background)
{
    image_.fill(background);
    codec_.state().segments.clear();
    blank_ = true;
}

void PatientPhoto::clear(Rgb background)
{
    image_.reset(1, 1, background);
    codec_.state().segments.clear();
    blank_ = true;
}

bool PatientPhoto::readStream(std::span<const std::uint8_t> stream, std::size_t& position)
{
    if (!codec_.readStream(stream, position, image_))
        return false;
    blank_ = false;
    return true;
}

bool PatientPhoto::readFile(const std::filesystem::path& path)
{
    if (!isJpegFileName(path))
        return false;
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes))
        throw CannotOpenFileError(displayName(path));
    if (!codec_.readBytes(bytes, image_))
        return false;
    blank_ = false;
    return true;
}

void PatientPhoto::encode(std::vector<std::uint8_t>& out, Rgb background)
{
    if (blank_)
        image_.fill(background); // the colour of the moment of the save
    codec_.write(image_, out);
}

bool PatientPhoto::showStored(std::span<const std::uint8_t> stream, std::size_t& position, Rgb background)
{
    blank(background);
    return readStream(stream, position);
}

} // namespace vorlu::photo
