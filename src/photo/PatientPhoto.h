#pragma once

#include "JpegCodec.h"
#include "RgbImage.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorlu::photo {

// The size of the photo view, and so of the blank photo the record screen starts with.
inline constexpr int kViewWidth = 150;
inline constexpr int kViewHeight = 198;

// A chosen photo file could not be opened; what() is the message the user sees.
class CannotOpenFileError : public std::runtime_error {
public:
    explicit CannotOpenFileError(const std::string& fileName);
};

// Whether a file name's extension, in any case, names a JPEG file (jpg, jpeg, jpe, jif).
bool isJpegFileName(const std::filesystem::path& path);

// The patient's photo as the record screen holds it: the one image of the photo view, the
// JPEG codec with its encoding state, and whether the image is a blank photo. The background
// colour is passed in where it is used, so it is the colour of that moment.
class PatientPhoto {
public:
    PatientPhoto(); // the blank photo at the size of the photo view

    const RgbImage& image() const { return image_; }
    bool isBlank() const { return blank_; }
    JpegCodec& codec() { return codec_; }
    const JpegCodec& codec() const { return codec_; }

    // Fills the image with the background colour; the size stays. Both blank and clear forget
    // the recorded segments (EXIF, comments) of the picture that was shown; the colour space,
    // progression and density stay for the next save.
    void blank(Rgb background);
    // Makes the image the blank photo of 1 x 1 pixel (the remove command).
    void clear(Rgb background);

    // Reads a JPEG from a stream at `position` (stream header allowed). Returns whether the
    // image was replaced; a stream without a readable JPEG leaves it as it was.
    bool readStream(std::span<const std::uint8_t> stream, std::size_t& position);

    // Reads an image file chosen by the user. Only JPEG files, by the extension in any case,
    // are read; other files read nothing. Throws CannotOpenFileError when a JPEG file cannot be
    // opened or read. Returns whether the image was replaced.
    bool readFile(const std::filesystem::path& path);

    // What a save stores: the image encoded afresh with the encoding state; a blank photo is
    // encoded in the background colour given here, at its current size. `out` is emptied first
    // and keeps its capacity.
    void encode(std::vector<std::uint8_t>& out, Rgb background);

    // The record screen's load step: blank, then read the stored bytes that the caller has put
    // into the stream (nothing, for a NULL or empty column). Returns whether a photo was read.
    bool showStored(std::span<const std::uint8_t> stream, std::size_t& position, Rgb background);

private:
    RgbImage image_;
    JpegCodec codec_;
    bool blank_ = true;
};

} // namespace vorlu::photo
