#include "JpegCodec.h"

#include "JpegTrap.h"

#include <jerror.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace vorlu::photo {

using detail::JpegTrap;
using detail::runTrapped;

const char* colourSpaceName(ColourSpace space)
{
    switch (space) {
    case ColourSpace::Grey: return "grey";
    case ColourSpace::YCbCr: return "YCbCr";
    case ColourSpace::RGB: return "RGB";
    case ColourSpace::CMYK: return "CMYK";
    case ColourSpace::YCCK: return "YCCK";
    }
    return "?";
}

std::size_t findJpegStart(std::span<const std::uint8_t> bytes)
{
    constexpr std::size_t positions = 100;
    for (std::size_t i = 0; i < positions && i + 3 <= bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xD8 && bytes[i + 2] == 0xFF)
            return i;
    }
    return noJpegStart;
}

namespace {

constexpr std::size_t kMaxSegmentData = 65533; // a marker's length field counts itself too
constexpr std::uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};

// An EXIF segment is APP1 starting "Exif\0"; the sixth byte should be 0 but is not always.
bool isExif(const MarkerSegment& segment)
{
    return segment.marker == JPEG_APP0 + 1 && segment.data.size() >= 6
        && std::memcmp(segment.data.data(), kExifHeader, 5) == 0;
}

// Inverted ("Adobe") CMYK, as Photoshop writes it and as libjpeg marks it when it writes CMYK:
// 255 means no ink.
void cmykRowToRgb(const std::uint8_t* in, std::uint8_t* out, std::size_t width, bool inverted)
{
    for (std::size_t x = 0; x < width; ++x, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = static_cast<std::uint8_t>((c * k + 127) / 255);
        out[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        out[2] = static_cast<std::uint8_t>((y * k + 127) / 255);
    }
}

// The inverse of cmykRowToRgb for the inverted form: the key carries the brightest channel.
void rgbRowToInvertedCmyk(const std::uint8_t* in, std::uint8_t* out, std::size_t width)
{
    for (std::size_t x = 0; x < width; ++x, in += 3, out += 4) {
        const unsigned r = in[0], g = in[1], b = in[2];
        const unsigned k = std::max({r, g, b});
        if (k == 0) {
            out[0] = out[1] = out[2] = out[3] = 0;
            continue;
        }
        out[0] = static_cast<std::uint8_t>((r * 255 + k / 2) / k);
        out[1] = static_cast<std::uint8_t>((g * 255 + k / 2) / k);
        out[2] = static_cast<std::uint8_t>((b * 255 + k / 2) / k);
        out[3] = static_cast<std::uint8_t>(k);
    }
}

ColourSpace colourSpaceOf(J_COLOR_SPACE space)
{
    switch (space) {
    case JCS_GRAYSCALE: return ColourSpace::Grey;
    case JCS_YCbCr: return ColourSpace::YCbCr;
    case JCS_CMYK: return ColourSpace::CMYK;
    case JCS_YCCK: return ColourSpace::YCCK;
    default: return ColourSpace::RGB;
    }
}

int dotsPerInch(UINT8 unit, UINT16 density)
{
    // JFIF unit 2 is dots per centimetre; everything else, the unitless 1:1 too, counts as dpi.
    return unit == 2 ? static_cast<int>(density / 2.54) : density;
}

// ---- reading ----------------------------------------------------------------------------

struct DecompressObject {
    jpeg_decompress_struct info{};
    JpegTrap trap;
    DecompressObject()
    {
        trap.attach(reinterpret_cast<j_common_ptr>(&info));
    }
    ~DecompressObject() { jpeg_destroy_decompress(&info); } // safe on a never-created object
    DecompressObject(const DecompressObject&) = delete;
    DecompressObject& operator=(const DecompressObject&) = delete;
};

struct DecodeJob {
    DecompressObject* object = nullptr;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    const DecodeLimits* limits = nullptr;
    RgbImage* image = nullptr;
    std::vector<std::uint8_t>* cmykRow = nullptr;
    std::vector<MarkerSegment>* segments = nullptr;
    bool accepted = false;
};

// The pixels are reserved whole but grown row by row, so a file that claims a huge picture and
// then breaks off costs address space, not memory.
void allocatePixels(DecodeJob& job, int width, int height, bool cmyk)
{
    job.image->width = width;
    job.image->height = height;
    job.image->pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    if (cmyk)
        job.cmykRow->resize(static_cast<std::size_t>(width) * 4);
}

void growPixels(DecodeJob& job, std::size_t rows)
{
    job.image->pixels.resize(rows * job.image->rowBytes()); // within the reserve: never throws
}

void copySegments(DecodeJob& job)
{
    bool jfifSkipped = false;
    for (jpeg_saved_marker_ptr m = job.object->info.marker_list; m != nullptr; m = m->next) {
        if (m->marker == JPEG_APP0 && !jfifSkipped) {
            jfifSkipped = true;
            continue;
        }
        job.segments->push_back({m->marker, std::vector<std::uint8_t>(m->data, m->data + m->data_length)});
    }
}

// No object with a destructor may live in this frame: libjpeg may jump out of it.
void decodeBody(void* context)
{
    DecodeJob& job = *static_cast<DecodeJob*>(context);
    j_decompress_ptr info = &job.object->info;

    jpeg_create_decompress(info);
    info->progress = &job.object->trap.progress;
    job.object->trap.maxScans = job.limits->maxScans;
    info->mem->max_memory_to_use = static_cast<long>(job.limits->maxDecoderMemory);
    jpeg_mem_src(info, job.data, static_cast<unsigned long>(job.size));
    jpeg_save_markers(info, JPEG_COM, 0xFFFF);
    for (int app = 0; app < 16; ++app)
        jpeg_save_markers(info, JPEG_APP0 + app, 0xFFFF);

    jpeg_read_header(info, TRUE);
    job.object->trap.multiScan = jpeg_has_multiple_scans(info);
    if (static_cast<std::size_t>(info->image_width) * info->image_height > job.limits->maxPixels)
        return;

    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    info->dct_method = JDCT_ISLOW;
    jpeg_start_decompress(info);

    allocatePixels(job, static_cast<int>(info->output_width), static_cast<int>(info->output_height), cmyk);
    const std::size_t rowBytes = job.image->rowBytes();
    const bool inverted = info->saw_Adobe_marker;
    while (info->output_scanline < info->output_height) {
        const JDIMENSION left = std::min<JDIMENSION>(16, info->output_height - info->output_scanline);
        growPixels(job, info->output_scanline + left);
        std::uint8_t* target = job.image->pixels.data() + info->output_scanline * rowBytes;
        if (cmyk) {
            JSAMPROW row = job.cmykRow->data();
            jpeg_read_scanlines(info, &row, 1);
            cmykRowToRgb(job.cmykRow->data(), target, info->output_width, inverted);
        } else {
            // Several rows a call let libjpeg hand out whole upsampled row groups at once.
            JSAMPROW rows[16];
            for (JDIMENSION i = 0; i < left; ++i)
                rows[i] = target + i * rowBytes;
            jpeg_read_scanlines(info, rows, left);
        }
    }
    // Saved markers are freed by the finish, so take them now.
    copySegments(job);
    jpeg_finish_decompress(info);
    job.accepted = true;
}

// ---- writing ----------------------------------------------------------------------------

struct VectorDestination {
    jpeg_destination_mgr manager; // first: libjpeg's pointer to it is a pointer to this
    std::vector<std::uint8_t>* out;
};

constexpr std::size_t kFirstChunk = 64 * 1024;

bool growOutput(std::vector<std::uint8_t>& out) noexcept
{
    try {
        out.resize(std::max(out.size() * 2, kFirstChunk));
        return true;
    } catch (...) {
        return false;
    }
}

void initDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
    // Start with what the buffer already holds in capacity: a repeated save needs no new memory.
    const std::size_t size = std::max(dest->out->capacity(), kFirstChunk);
    bool ok = true;
    try {
        dest->out->resize(size);
    } catch (...) {
        ok = false;
    }
    if (!ok)
        detail::abandon(reinterpret_cast<j_common_ptr>(info), JERR_OUT_OF_MEMORY);
    dest->manager.next_output_byte = dest->out->data();
    dest->manager.free_in_buffer = dest->out->size();
}

boolean emptyOutputBuffer(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
    const std::size_t used = dest->out->size(); // libjpeg only calls this with the buffer full
    if (!growOutput(*dest->out))
        detail::abandon(reinterpret_cast<j_common_ptr>(info), JERR_OUT_OF_MEMORY);
    dest->manager.next_output_byte = dest->out->data() + used;
    dest->manager.free_in_buffer = dest->out->size() - used;
    return TRUE;
}

void termDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
    dest->out->resize(dest->out->size() - dest->manager.free_in_buffer); // shrinking: no throw
}

struct CompressObject {
    jpeg_compress_struct info{};
    JpegTrap trap;
    VectorDestination destination{};
    CompressObject() { trap.attach(reinterpret_cast<j_common_ptr>(&info)); }
    ~CompressObject() { jpeg_destroy_compress(&info); }
    CompressObject(const CompressObject&) = delete;
    CompressObject& operator=(const CompressObject&) = delete;
};

struct EncodeJob {
    CompressObject* object = nullptr;
    const RgbImage* image = nullptr;
    const EncodingState* state = nullptr;
    std::vector<std::uint8_t>* cmykRow = nullptr;
};

J_COLOR_SPACE libjpegSpace(ColourSpace space)
{
    switch (space) {
    case ColourSpace::Grey: return JCS_GRAYSCALE;
    case ColourSpace::YCbCr: return JCS_YCbCr;
    case ColourSpace::CMYK: return JCS_CMYK;
    case ColourSpace::YCCK: return JCS_YCCK;
    case ColourSpace::RGB: break;
    }
    return JCS_RGB;
}

UINT16 densityField(int dpi)
{
    // JFIF forbids a zero density; a read of 1 dot/cm would give 0 dpi.
    return static_cast<UINT16>(std::clamp(dpi, 1, 65535));
}

void writeSegments(j_compress_ptr info, const std::vector<MarkerSegment>& segments)
{
    for (const MarkerSegment& segment : segments) {
        if (segment.marker == JPEG_APP0 + 14)
            continue; // libjpeg writes its own Adobe segment where the colour space needs one
        if (segment.data.size() > kMaxSegmentData)
            continue;
        if (isExif(segment)) {
            jpeg_write_m_header(info, segment.marker, static_cast<unsigned>(segment.data.size()));
            for (std::uint8_t byte : kExifHeader)
                jpeg_write_m_byte(info, byte);
            for (std::size_t i = sizeof kExifHeader; i < segment.data.size(); ++i)
                jpeg_write_m_byte(info, segment.data[i]);
            continue;
        }
        jpeg_write_marker(info, segment.marker, segment.data.data(), static_cast<unsigned>(segment.data.size()));
    }
}

// No object with a destructor may live in this frame: libjpeg may jump out of it.
void encodeBody(void* context)
{
    EncodeJob& job = *static_cast<EncodeJob*>(context);
    j_compress_ptr info = &job.object->info;
    const RgbImage& image = *job.image;
    const EncodingState& state = *job.state;

    jpeg_create_compress(info);
    VectorDestination& dest = job.object->destination;
    dest.manager.init_destination = initDestination;
    dest.manager.empty_output_buffer = emptyOutputBuffer;
    dest.manager.term_destination = termDestination;
    info->dest = &dest.manager;

    const J_COLOR_SPACE target = libjpegSpace(state.colourSpace);
    const bool cmyk = target == JCS_CMYK || target == JCS_YCCK;
    info->image_width = static_cast<JDIMENSION>(image.width);
    info->image_height = static_cast<JDIMENSION>(image.height);
    info->input_components = cmyk ? 4 : 3;
    info->in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_colorspace(info, target); // with libjpeg's sampling for that space
    info->density_unit = 1;
    info->X_density = densityField(state.dpiX);
    info->Y_density = densityField(state.dpiY);
    info->dct_method = JDCT_ISLOW;
    info->optimize_coding = FALSE;
    info->smoothing_factor = 0;
    jpeg_set_quality(info, EncodingState::quality, TRUE);
    if (state.progressive)
        jpeg_simple_progression(info);

    jpeg_start_compress(info, TRUE);
    writeSegments(info, state.segments);

    const std::size_t rowBytes = image.rowBytes();
    while (info->next_scanline < info->image_height) {
        const std::uint8_t* source = image.pixels.data() + info->next_scanline * rowBytes;
        JSAMPROW row;
        if (cmyk) {
            rgbRowToInvertedCmyk(source, job.cmykRow->data(), info->image_width);
            row = job.cmykRow->data();
        } else {
            row = const_cast<JSAMPROW>(source); // libjpeg does not write through it
        }
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
}

} // namespace

bool JpegCodec::readStream(std::span<const std::uint8_t> stream, std::size_t& position, RgbImage& image)
{
    state_.segments.clear();
    if (position > stream.size())
        position = stream.size();
    constexpr std::size_t headerSize = 12;
    std::span<const std::uint8_t> rest = stream.subspan(position);
    if (rest.size() >= headerSize && std::memcmp(rest.data(), "JFIF", 5) == 0) {
        position += headerSize;
        rest = rest.subspan(headerSize);
    }
    return decode(rest, image);
}

bool JpegCodec::readBytes(std::span<const std::uint8_t> bytes, RgbImage& image)
{
    state_.segments.clear();
    return decode(bytes, image);
}

bool JpegCodec::decode(std::span<const std::uint8_t> bytes, RgbImage& image)
{
    const std::size_t start = findJpegStart(bytes);
    if (start == noJpegStart)
        return false;
    bytes = bytes.subspan(start);

    RgbImage decoded;
    std::vector<std::uint8_t> cmykRow;
    std::vector<MarkerSegment> segments;
    DecompressObject object;
    DecodeJob job;
    job.object = &object;
    job.data = bytes.data();
    job.size = bytes.size();
    job.limits = &limits_;
    job.image = &decoded;
    job.cmykRow = &cmykRow;
    job.segments = &segments;
    try {
        if (!runTrapped(object.trap, decodeBody, &job) || !job.accepted)
            return false;
    } catch (const std::bad_alloc&) {
        return false; // a picture too big for this machine reads as no picture
    }

    const jpeg_decompress_struct& info = object.info;
    state_.colourSpace = colourSpaceOf(info.jpeg_color_space);
    state_.progressive = info.progressive_mode;
    state_.dpiX = dotsPerInch(info.density_unit, info.X_density);
    state_.dpiY = dotsPerInch(info.density_unit, info.Y_density);
    state_.segments = std::move(segments);
    image = std::move(decoded);
    return true;
}

void JpegCodec::write(const RgbImage& image, std::vector<std::uint8_t>& out) const
{
    out.clear();
    std::vector<std::uint8_t> cmykRow;
    const J_COLOR_SPACE target = libjpegSpace(state_.colourSpace);
    if (target == JCS_CMYK || target == JCS_YCCK)
        cmykRow.resize(static_cast<std::size_t>(std::max(image.width, 0)) * 4);
    if (image.pixels.size() < image.rowBytes() * static_cast<std::size_t>(std::max(image.height, 0)))
        throw JpegWriteError("Não foi possível gravar a foto: imagem incompleta");

    CompressObject object;
    object.destination.out = &out;
    EncodeJob job;
    job.object = &object;
    job.image = &image;
    job.state = &state_;
    job.cmykRow = &cmykRow;
    if (!runTrapped(object.trap, encodeBody, &job)) {
        out.clear();
        throw JpegWriteError(std::string("Não foi possível gravar a foto: ") + object.trap.message);
    }
}

} // namespace vorlu::photo
