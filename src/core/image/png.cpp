// PNG through libpng. libpng reports errors by a long jump back to the
// function that set it up, so each entry point below keeps every C++ object
// in a job record owned by its caller and does only plain calls between the
// set-up and the end.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include "image/image_codec.h"
#include "platform/fs.h"

namespace tarn {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Signature, IHDR length and type: the width and height follow at these offsets.
constexpr std::size_t kIhdrTypeAt = 12;
constexpr std::size_t kWidthAt = 16;
constexpr std::size_t kHeightAt = 20;
constexpr std::size_t kIhdrEnd = 33;
constexpr int kRgbaChannels = 4;
// Every ancillary chunk is passed over unread, so one may be as large as the
// file TARN reads; libpng refuses larger chunk lengths before reading them.
constexpr png_alloc_size_t kMaxChunkBytes = kMaxReadBytes;
// What the reader may still take once the last row is complete: enough for
// the stream's end code and checksum however an encoder split its chunks, far
// too little to inflate surplus data for long.
constexpr std::size_t kAfterLastRowBytes = 64 * 1024;
// Ancillary chunks a skin has no use for. Passed over unread, compressed text
// and colour profiles cannot be made to inflate without end.
constexpr png_byte kIgnoredChunks[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
                                      "sBIT\0sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";
constexpr int kIgnoredChunkCount = 17;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}

struct ReadSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;
    // Rows still to come through the transforms, over every pass (unknown
    // before the header is read); at zero the image is complete and only the
    // stream's end may be read.
    std::size_t rowsLeft = SIZE_MAX;
    std::size_t afterLastRow = 0;
};

void readBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* src = static_cast<ReadSource*>(png_get_io_ptr(png));
    if (length > src->size - src->at) png_error(png, "cut short");
    // libpng inflates whatever follows the last row to find the stream's end;
    // surplus compressed data would keep it busy for minutes.
    if (src->rowsLeft == 0 && (src->afterLastRow += length) > kAfterLastRowBytes) png_error(png, "surplus image data");
    std::memcpy(out, src->data + src->at, length);
    src->at += length;
}

// Indexed with a palette, or 8-bit RGB without one.
struct WriteJob {
    int width;
    int height;
    const std::uint8_t* pixels;
    const Palette* palette;
    Bytes out;
    std::vector<png_bytep> rows;
};

bool writeImage(WriteJob& job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &job.out, appendBytes, flushNothing);
    // Skins are small and shipped in paks, so they get the tightest stream.
    // True-colour pictures (snapshots, layouts) run to millions of pixels,
    // where level 9 takes two to four times zlib's default for 1-3% less.
    png_set_compression_level(png, job.palette ? 9 : 6);
    png_set_IHDR(png, info, static_cast<png_uint_32>(job.width), static_cast<png_uint_32>(job.height), 8,
                 job.palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color colours[kPaletteColors];
    if (job.palette) {
        for (int i = 0; i < kPaletteColors; ++i) {
            colours[i].red = (*job.palette)[static_cast<std::size_t>(i * 3)];
            colours[i].green = (*job.palette)[static_cast<std::size_t>(i * 3 + 1)];
            colours[i].blue = (*job.palette)[static_cast<std::size_t>(i * 3 + 2)];
        }
        png_set_PLTE(png, info, colours, kPaletteColors);
    }
    png_set_rows(png, info, job.rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Counts the rows as libpng finishes them, before it reads on to the stream's end.
void countRow(png_structp png, png_row_infop, png_bytep) {
    auto* src = static_cast<ReadSource*>(png_get_io_ptr(png));
    if (src->rowsLeft > 0) --src->rowsLeft;
}

// The rows libpng decodes over all passes of an image, each pass's rows only
// where the pass has columns.
std::size_t decodedRows(png_uint_32 w, png_uint_32 h, bool interlaced) {
    if (!interlaced) return h;
    std::size_t rows = 0;
    for (int pass = 0; pass < 7; ++pass)
        if (PNG_PASS_COLS(w, pass) > 0) rows += PNG_PASS_ROWS(h, pass);
    return rows;
}

struct ReadJob {
    ReadSource source;
    bool indexed = false;
    int width = 0;
    int height = 0;
    Palette palette{};
    Bytes pixels;
    std::vector<png_bytep> rows;
};

// Reads the file up to the image's last row and the end of its compressed
// stream, checking every chunk's CRC on the way; what follows is ignored.
// Indexed images come out as one byte per pixel with their palette, all others
// as 8-bit RGBA.
bool readAll(ReadJob& job) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_user_limits(png, kMaxImageWidth, kMaxImageRows);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
    // Image data that runs short or goes on past the last row is damage, not
    // something to pass over: a stream that inflates far beyond the image is
    // how a decompression bomb looks.
    png_set_benign_errors(png, 0);
    png_set_read_fn(png, &job.source, readBytes);
    png_read_info(png, info);

    png_uint_32 w = 0, h = 0;
    int depth = 0, colourType = 0;
    int interlace = PNG_INTERLACE_NONE;
    png_get_IHDR(png, info, &w, &h, &depth, &colourType, &interlace, nullptr, nullptr);
    job.indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    if (job.indexed) {
        png_colorp colours = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &colours, &count) != PNG_INFO_PLTE) png_error(png, "no palette");
        for (int i = 0; i < std::min(count, kPaletteColors); ++i) {
            job.palette[static_cast<std::size_t>(i * 3)] = colours[i].red;
            job.palette[static_cast<std::size_t>(i * 3 + 1)] = colours[i].green;
            job.palette[static_cast<std::size_t>(i * 3 + 2)] = colours[i].blue;
        }
        png_set_packing(png);
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    job.source.rowsLeft = decodedRows(w, h, interlace != PNG_INTERLACE_NONE);
    png_set_read_user_transform_fn(png, countRow);
    png_read_update_info(png, info);

    const std::size_t rowBytes = static_cast<std::size_t>(w) * (job.indexed ? 1 : kRgbaChannels);
    if (png_get_rowbytes(png, info) != rowBytes) png_error(png, "unexpected layout");
    job.width = static_cast<int>(w);
    job.height = static_cast<int>(h);
    job.pixels.resize(rowBytes * h);
    job.rows.resize(h);
    for (png_uint_32 r = 0; r < h; ++r) job.rows[r] = job.pixels.data() + r * rowBytes;
    png_read_image(png, job.rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace

bool looksLikePng(const Bytes& file) {
    return file.size() >= sizeof kPngSignature && std::equal(std::begin(kPngSignature), std::end(kPngSignature), file.begin());
}

namespace {

Bytes encodeRows(int width, int height, std::size_t bytesPerPixel, const std::uint8_t* pixels,
                 const Palette* palette) {
    WriteJob job{width, height, pixels, palette, {}, {}};
    const auto row = static_cast<std::size_t>(width) * bytesPerPixel;
    for (int r = 0; r < height; ++r)
        job.rows.push_back(const_cast<png_bytep>(pixels + static_cast<std::size_t>(r) * row));
    if (!writeImage(job)) return {};
    return std::move(job.out);
}

}  // namespace

Bytes encodePng8(int width, int height, const std::uint8_t* pixels, const Palette& palette) {
    return encodeRows(width, height, 1, pixels, &palette);
}

Bytes encodePng24(int width, int height, const std::uint8_t* rgb) {
    return encodeRows(width, height, 3, rgb, nullptr);
}

DecodedPng decodePng(const Bytes& file) {
    DecodedPng result;
    if (!looksLikePng(file) || file.size() < kIhdrEnd || std::memcmp(file.data() + kIhdrTypeAt, "IHDR", 4) != 0) {
        result.error = kMsgImageDamaged;
        return result;
    }
    // The size is refused before libpng allocates anything for the pixels.
    if (const char* problem = imageSizeProblem(bigEndian32(file.data() + kWidthAt), bigEndian32(file.data() + kHeightAt))) {
        result.error = problem;
        return result;
    }
    ReadJob job;
    job.source = ReadSource{file.data(), file.size(), 0};
    if (!readAll(job)) {
        result.error = kMsgImageDamaged;
        return result;
    }
    result.indexed = job.indexed;
    if (job.indexed) {
        result.image.width = job.width;
        result.image.height = job.height;
        result.image.palette = job.palette;
        result.image.pixels = std::move(job.pixels);
        result.image.type = SkinFileType::Png;
    } else {
        result.colour.width = job.width;
        result.colour.height = job.height;
        result.colour.rgba = std::move(job.pixels);
    }
    return result;
}

}  // namespace tarn
