#include "JpegFixtures.h"
#include "PatientPhoto.h"
#include "QtDecode.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <functional>

namespace vorlu::photo::test {
namespace {

const Rgb kButtonFace{240, 240, 240};
const Rgb kOtherFace{30, 90, 200};

Bytes saved(PatientPhoto& photo, Rgb background = kButtonFace)
{
    Bytes out;
    photo.encode(out, background);
    return out;
}

bool load(PatientPhoto& photo, const Bytes& column)
{
    std::size_t position = 0;
    return photo.showStored(column, position, kButtonFace);
}

// Every pixel of what another decoder makes of the stored bytes is near one colour.
void expectUniform(const Bytes& stored, int width, int height, Rgb colour)
{
    const QImage image = qtDecode(stored);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), width);
    EXPECT_EQ(image.height(), height);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_LE(colourDistance(qtPixel(image, x, y), colour), 2) << x << "," << y;
}

struct SaveCase {
    const char* name;
    std::function<void(PatientPhoto&)> steps;
    int width, height;
    Rgb colour;
};

class PhotoSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(PhotoSave, StoresAJpegOfTheBackgroundAtTheSizeTheRulesGive)
{
    PatientPhoto photo;
    GetParam().steps(photo);
    const Bytes stored = saved(photo);
    ASSERT_GE(stored.size(), 4u);
    EXPECT_EQ(stored[0], 0xFF); // the JPEG alone, nothing of ours in front
    EXPECT_EQ(stored[1], 0xD8);
    expectUniform(stored, GetParam().width, GetParam().height, GetParam().colour);
}

const Bytes kPhoto40x30 = makeJpeg({.width = 40, .height = 30});

INSTANTIATE_TEST_SUITE_P(
    Rules, PhotoSave,
    ::testing::Values(
        SaveCase{"NothingShownYet", [](PatientPhoto&) {}, kViewWidth, kViewHeight, kButtonFace},
        SaveCase{"PatientWithoutPhotoAfterAnotherPhoto",
                 [](PatientPhoto& p) {
                     ASSERT_TRUE(load(p, kPhoto40x30));
                     ASSERT_FALSE(load(p, {}));
                 },
                 40, 30, kButtonFace},
        SaveCase{"Removed", [](PatientPhoto& p) { p.clear(kButtonFace); }, 1, 1, kButtonFace},
        SaveCase{"RemovedThenPatientWithoutPhoto",
                 [](PatientPhoto& p) {
                     ASSERT_TRUE(load(p, kPhoto40x30));
                     p.clear(kButtonFace);
                     ASSERT_FALSE(load(p, {}));
                 },
                 1, 1, kButtonFace},
        SaveCase{"BlankedAfterDeletion",
                 [](PatientPhoto& p) {
                     ASSERT_TRUE(load(p, kPhoto40x30));
                     p.blank(kButtonFace);
                 },
                 40, 30, kButtonFace},
        SaveCase{"StoredValueWithoutJpeg",
                 [](PatientPhoto& p) { ASSERT_FALSE(load(p, bytesOf("not a picture"))); }, kViewWidth,
                 kViewHeight, kButtonFace}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PhotoSave, TheBackgroundIsTheColourOfTheMomentOfTheSave)
{
    PatientPhoto photo;
    photo.clear(kOtherFace);
    expectUniform(saved(photo, kButtonFace), 1, 1, kButtonFace);
}

TEST(PhotoSave, APictureIsEncodedAfreshAtQuality80NotCopied)
{
    const Bytes file = makeJpeg({.width = 40, .height = 30, .quality = 98, .segments = {{0xFE, bytesOf("camera")}}});
    PatientPhoto photo;
    ASSERT_TRUE(load(photo, file));
    const Bytes first = saved(photo);
    EXPECT_NE(first, file);
    // Quality 98 has luminance DC quantiser 1; quality 80 has 6.
    EXPECT_EQ(quantTables(file).at(0).at(0), 1);
    EXPECT_EQ(quantTables(first).at(0).at(0), 6);
    EXPECT_EQ(appSegments(first).at(1).data, bytesOf("camera"));

    // The reload after the save shows the stored bytes; saving again encodes those pixels.
    ASSERT_TRUE(load(photo, first));
    const Bytes second = saved(photo);
    EXPECT_EQ(quantTables(second).at(0).at(0), 6);
    const QImage a = qtDecode(first), b = qtDecode(second);
    ASSERT_EQ(b.size(), a.size());
    EXPECT_LE(colourDistance(qtPixel(a, 10, 7), qtPixel(b, 10, 7)), 4);
}

TEST(PhotoSave, ARemovedPhotoLeavesNothingOfItselfInTheStoredBytes)
{
    // An EXIF segment may carry a thumbnail of the picture: it must not outlive the picture.
    const Bytes exif = bytesOf(std::string("Exif\0\0MM\0*\0\0\0\x08thumbnail", 23));
    const Bytes file = makeJpeg({.width = 40, .height = 30, .fileSpace = FileSpace::Grey, .progressive = true,
                                 .segments = {{0xE1, exif}, {0xFE, bytesOf("patient A")}}});
    for (auto blankIt : {+[](PatientPhoto& p) { p.clear(kButtonFace); }, +[](PatientPhoto& p) { p.blank(kButtonFace); }}) {
        PatientPhoto photo;
        ASSERT_TRUE(load(photo, file));
        ASSERT_EQ(photo.codec().state().segments.size(), 2u);
        blankIt(photo);
        const Bytes stored = saved(photo);
        const auto segments = appSegments(stored);
        ASSERT_EQ(segments.size(), 1u);
        EXPECT_EQ(segments[0].marker, 0xE0); // the JFIF header alone
        // The rest of the encoding state still applies.
        EXPECT_EQ(frameInfo(stored).marker, 0xC2);
        EXPECT_EQ(frameInfo(stored).components.size(), 1u);
    }
}

TEST(PhotoSave, ReusesTheCallersBuffer)
{
    PatientPhoto photo;
    Bytes stream;
    photo.encode(stream, kButtonFace);
    const auto* memory = stream.data();
    const std::size_t capacity = stream.capacity();
    photo.encode(stream, kButtonFace);
    EXPECT_EQ(stream.data(), memory);
    EXPECT_EQ(stream.capacity(), capacity);
    EXPECT_FALSE(qtDecode(stream).isNull());
}

class PhotoFile : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& name, const Bytes& bytes)
    {
        const std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    QTemporaryDir dir;
    const Bytes jpeg = makeJpeg({.width = 40, .height = 30});
};

TEST_F(PhotoFile, TheExtensionInAnyCaseChoosesJpeg)
{
    for (const char* name : {"PHOTO.JPG", "a.jpg", "b.Jpeg", "c.JPE", "d.jif"}) {
        PatientPhoto photo;
        EXPECT_TRUE(photo.readFile(write(name, jpeg))) << name;
        EXPECT_EQ(photo.image().width, 40) << name;
        EXPECT_FALSE(photo.isBlank()) << name;
    }
    for (const char* name : {"e.png", "f", "g.jpg.txt", "h.jfif"}) {
        PatientPhoto photo;
        EXPECT_FALSE(photo.readFile(write(name, jpeg))) << name;
        EXPECT_EQ(photo.image().width, kViewWidth) << name;
    }
}

TEST_F(PhotoFile, AFileThatCannotBeOpenedIsReportedAndChangesNothing)
{
    PatientPhoto photo;
    ASSERT_TRUE(photo.readFile(write("kept.jpg", jpeg)));
    const std::filesystem::path missing = std::filesystem::path(dir.path().toStdString()) / "Foto ausente.jpg";
    const std::filesystem::path folder = std::filesystem::path(dir.path().toStdString()) / "pasta.jpg";
    std::filesystem::create_directory(folder);
    for (const auto& path : {missing, folder}) {
        try {
            photo.readFile(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const CannotOpenFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Impossível abrir arquivo " + path.string());
        }
        EXPECT_EQ(photo.image().width, 40);
        EXPECT_FALSE(photo.isBlank());
    }
}

TEST_F(PhotoFile, AJpegNamedFileWithoutAJpegReadsNothing)
{
    PatientPhoto photo;
    EXPECT_FALSE(photo.readFile(write("empty.jpg", {})));
    Bytes cut = jpeg;
    cut.resize(cut.size() / 2);
    EXPECT_FALSE(photo.readFile(write("cut.jpg", cut)));
    EXPECT_EQ(photo.image().width, kViewWidth);
    EXPECT_TRUE(photo.isBlank());
}

} // namespace
} // namespace vorlu::photo::test
