// The photo's codec against a bare libjpeg loop with the same settings, on a camera-sized and a
// view-sized photo, and the memory one read-show-write cycle of the large photo takes.
// Prints "name = value unit" lines (times in processor milliseconds of the fastest round); the
// last is the large photo's decode + encode ratio.

#include "JpegCodec.h"
#include "PhotoView.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <time.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace vorlu::photo;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A picture with what makes camera photos cost: smooth light, edges, texture and sensor noise.
RgbImage cameraPicture(int width, int height)
{
    RgbImage image(width, height, Rgb{});
    std::uint32_t seed = 2024;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.pixels.data() + static_cast<std::size_t>(y) * image.rowBytes();
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28) - 8;
            const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            const bool face = (u - 0.5) * (u - 0.5) + (v - 0.45) * (v - 0.45) * 0.6 < 0.06;
            const double texture = 20 * std::sin(x * 0.21) * std::cos(y * 0.17);
            int r = face ? 210 : static_cast<int>(60 + 120 * v + texture);
            int g = face ? 160 : static_cast<int>(90 + 80 * u);
            int b = face ? 130 : static_cast<int>(150 - 60 * v + texture / 2);
            row[x * 3] = static_cast<std::uint8_t>(std::clamp(r + noise, 0, 255));
            row[x * 3 + 1] = static_cast<std::uint8_t>(std::clamp(g + noise, 0, 255));
            row[x * 3 + 2] = static_cast<std::uint8_t>(std::clamp(b + noise, 0, 255));
        }
    }
    return image;
}

const std::string kExif = std::string("Exif\0\0MM\0*\0\0\0\x08\0\0", 16) + std::string(4000, '\0');

// ---- the bare loop: libjpeg as a minimal program would call it ----

struct BareDecoded {
    std::unique_ptr<std::uint8_t[]> pixels;
    int width = 0, height = 0;
};

BareDecoded bareDecode(const Bytes& jpeg)
{
    jpeg_decompress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    BareDecoded out;
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    const std::size_t rowBytes = static_cast<std::size_t>(out.width) * 3;
    out.pixels.reset(new std::uint8_t[rowBytes * out.height]);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[16];
        const JDIMENSION n = std::min<JDIMENSION>(16, info.output_height - info.output_scanline);
        for (JDIMENSION i = 0; i < n; ++i)
            rows[i] = out.pixels.get() + (info.output_scanline + i) * rowBytes;
        jpeg_read_scanlines(&info, rows, n);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

void bareEncode(const std::uint8_t* pixels, int width, int height, unsigned char*& buffer, unsigned long& size)
{
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_YCbCr);
    info.density_unit = 1;
    info.X_density = info.Y_density = 72;
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = FALSE;
    info.smoothing_factor = 0;
    jpeg_set_quality(&info, 80, TRUE);
    jpeg_start_compress(&info, TRUE);
    jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(kExif.data()),
                      static_cast<unsigned>(kExif.size()));
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
}

// The camera's file: quality 92 with its EXIF segment, as the program would receive it.
Bytes cameraJpeg(int width, int height)
{
    const RgbImage picture = cameraPicture(width, height);
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.density_unit = 1;
    info.X_density = info.Y_density = 72;
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);
    jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(kExif.data()),
                      static_cast<unsigned>(kExif.size()));
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.pixels.data() + info.next_scanline * picture.rowBytes());
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Processor time of this thread, user and system (page faults count): unlike the wall clock it
// does not grow while other programs have the machine's two cores.
struct CpuClock {
    using time_point = double;
    static double now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    }
};

double msSince(double start)
{
    return CpuClock::now() - start;
}

// The fastest round: on a shared machine the others only add time that is not ours.
double fastest(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

struct Timings {
    double oursDecode, oursEncode, bareDecode, bareEncode;
};

// Alternates ours and bare in each round so drift of the machine hits both alike.
Timings measure(const Bytes& jpeg, int rounds)
{
    std::vector<double> od, oe, bd, be;
    JpegCodec codec;
    RgbImage image;
    Bytes stream;
    // The bare loop gets its output buffer once, big enough: its best case.
    const unsigned long bareCapacity = static_cast<unsigned long>(jpeg.size() * 2 + 65536);
    auto* bareBuffer = static_cast<unsigned char*>(std::malloc(bareCapacity));
    unsigned long bareSize = 0;
    for (int i = 0; i < rounds; ++i) {
        bareSize = bareCapacity;
        stream.assign(jpeg.begin(), jpeg.end());
        double t = CpuClock::now();
        std::size_t position = 0;
        if (!codec.readStream(stream, position, image))
            std::abort();
        od.push_back(msSince(t));
        t = CpuClock::now();
        codec.write(image, stream);
        oe.push_back(msSince(t));

        t = CpuClock::now();
        BareDecoded bare = bareDecode(jpeg);
        bd.push_back(msSince(t));
        t = CpuClock::now();
        bareEncode(bare.pixels.get(), bare.width, bare.height, bareBuffer, bareSize);
        be.push_back(msSince(t));
    }
    std::free(bareBuffer);
    return {fastest(od), fastest(oe), fastest(bd), fastest(be)};
}

long procStatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::string(field).size());
    return -1;
}

bool resetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

void print(const char* name, double value, const char* unit)
{
    if (*unit)
        std::printf("%s = %.3f %s\n", name, value, unit);
    else
        std::printf("%s = %.3f\n", name, value);
}

} // namespace

int main(int argc, char** argv)
{
#ifdef __GLIBC__
    // Big blocks always straight from and back to the system, so the resident size shows them.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
#endif
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const Bytes large = cameraJpeg(4000, 3000);
    const Bytes small = cameraJpeg(150, 198);

    // One read-show-write cycle of the large photo, as the record screen runs it: load into the
    // view, paint it, save it into the same stream.
    {
        PhotoView view;
        view.resize(kViewWidth, kViewHeight);
        QImage screen(view.size(), QImage::Format_RGB32);
        view.render(&screen);
        Bytes stream;
        stream.reserve(large.size());
        stream.assign(large.begin(), large.end());
        const long before = procStatusKb("VmRSS:");
        const bool peakReset = resetPeak();
        std::size_t position = 0;
        view.showStored(stream, position);
        view.render(&screen);
        view.writeJpeg(stream);
        const long peak = procStatusKb("VmHWM:");
        const double decodedMb = 4000.0 * 3000.0 * 3.0 / 1e6;
        print("large_photo_compressed", large.size() / 1e6, "MB");
        print("large_photo_decoded", decodedMb, "MB");
        print("large_photo_stored", stream.size() / 1e6, "MB");
        if (peakReset)
            print("cycle_peak_memory", (peak - before) * 1024.0 / 1e6, "MB");
        else
            print("cycle_peak_memory_process", peak * 1024.0 / 1e6, "MB");
    }

    const Timings big = measure(large, 7);
    const Timings little = measure(small, 200);
    print("small_decode_ours", little.oursDecode, "cpu_ms");
    print("small_decode_bare", little.bareDecode, "cpu_ms");
    print("small_encode_ours", little.oursEncode, "cpu_ms");
    print("small_encode_bare", little.bareEncode, "cpu_ms");
    print("small_ratio", (little.oursDecode + little.oursEncode) / (little.bareDecode + little.bareEncode), "");
    print("large_decode_ours", big.oursDecode, "cpu_ms");
    print("large_decode_bare", big.bareDecode, "cpu_ms");
    print("large_encode_ours", big.oursEncode, "cpu_ms");
    print("large_encode_bare", big.bareEncode, "cpu_ms");
    std::printf("ratio = %.3f\n", (big.oursDecode + big.oursEncode) / (big.bareDecode + big.bareEncode));
    return 0;
}
