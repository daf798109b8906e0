#include "core/base/PngReader.h"

#include "core/base/Format.h"

#include <spng.h>

#include <algorithm>
#include <memory>
#include <new>

namespace qm {

namespace {

constexpr std::uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// No chunk we need (the header, the colour table, transparency) comes near
// this; it only bounds what libspng keeps of the ones it reads.
constexpr size_t MAX_CHUNK = size_t(1) << 24;
constexpr size_t MAX_CHUNK_CACHE = size_t(1) << 26;

struct ContextDeleter {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

Context openContext(std::span<const std::uint8_t> bytes)
{
    Context ctx(spng_ctx_new(0));
    if (!ctx)
        throw std::bad_alloc();
    spng_set_image_limits(ctx.get(), 1u << 24, 1u << 24);
    spng_set_chunk_limits(ctx.get(), MAX_CHUNK, MAX_CHUNK_CACHE);
    spng_set_png_buffer(ctx.get(), bytes.data(), bytes.size());
    return ctx;
}

Result damaged(int error)
{
    return Result::failure(formatText("the PNG picture is damaged: %s", spng_strerror(error)));
}

int bitsPerPixelOf(const spng_ihdr& ihdr)
{
    const int channels = ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR         ? 3
                         : ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ? 4
                         : ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ? 2
                                                                              : 1;
    return ihdr.bit_depth * channels;
}

} // namespace

bool hasPngSignature(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 8 && std::equal(bytes.begin(), bytes.begin() + 8, SIGNATURE);
}

std::optional<PngSize> readPngSize(std::span<const std::uint8_t> bytes)
{
    if (!hasPngSignature(bytes))
        return std::nullopt;
    Context ctx = openContext(bytes);
    spng_ihdr ihdr{};
    if (spng_get_ihdr(ctx.get(), &ihdr) != 0)
        return std::nullopt;
    return PngSize{static_cast<int>(ihdr.width), static_cast<int>(ihdr.height), bitsPerPixelOf(ihdr)};
}

Result decodePng(std::span<const std::uint8_t> bytes, PngPicture& out)
{
    if (!hasPngSignature(bytes))
        return Result::failure("the picture is not a PNG file");
    Context ctx = openContext(bytes);
    spng_ihdr ihdr{};
    if (const int e = spng_get_ihdr(ctx.get(), &ihdr))
        return damaged(e);
    const std::int64_t pixels = std::int64_t(ihdr.width) * std::int64_t(ihdr.height);
    if (pixels > MAX_PNG_PIXELS)
        return Result::failure(formatText("the picture is %u x %u pixels; at most %lld pixels can be read",
                                          ihdr.width, ihdr.height, static_cast<long long>(MAX_PNG_PIXELS)));
    const bool indexed = ihdr.color_type == SPNG_COLOR_TYPE_INDEXED;
    PngPicture picture;
    picture.width = static_cast<int>(ihdr.width);
    picture.height = static_cast<int>(ihdr.height);
    picture.bitsPerPixel = bitsPerPixelOf(ihdr);
    const size_t count = static_cast<size_t>(pixels);
    try {
        if (!indexed) {
            size_t size = 0;
            if (const int e = spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size))
                return damaged(e);
            picture.rgba.resize(size);
            if (const int e = spng_decode_image(ctx.get(), picture.rgba.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS))
                return damaged(e);
        } else {
            // The packed indices as stored, unpacked here so that they stay.
            size_t size = 0;
            if (const int e = spng_decoded_image_size(ctx.get(), SPNG_FMT_PNG, &size))
                return damaged(e);
            std::vector<std::uint8_t> packed(size);
            if (const int e = spng_decode_image(ctx.get(), packed.data(), size, SPNG_FMT_PNG, 0))
                return damaged(e);
            spng_plte plte{};
            if (const int e = spng_get_plte(ctx.get(), &plte))
                return damaged(e);
            spng_trns trns{};
            const bool hasTrns = spng_get_trns(ctx.get(), &trns) == 0;
            const int depth = ihdr.bit_depth;
            const size_t rowBytes = (size_t(ihdr.width) * size_t(depth) + 7) / 8;
            picture.indices.resize(count);
            picture.rgba.resize(count * 4);
            for (size_t y = 0; y < ihdr.height; ++y) {
                const std::uint8_t* row = packed.data() + y * rowBytes;
                for (size_t x = 0; x < ihdr.width; ++x) {
                    const size_t bit = x * size_t(depth);
                    const unsigned index =
                        (row[bit / 8] >> (8 - depth - int(bit % 8))) & ((1u << depth) - 1);
                    const size_t at = y * ihdr.width + x;
                    picture.indices[at] = static_cast<std::uint8_t>(index);
                    // An index past the table is black, as other readers show it.
                    std::uint8_t* p = picture.rgba.data() + at * 4;
                    if (index < plte.n_entries) {
                        p[0] = plte.entries[index].red;
                        p[1] = plte.entries[index].green;
                        p[2] = plte.entries[index].blue;
                    } else {
                        p[0] = p[1] = p[2] = 0;
                    }
                    p[3] = hasTrns && index < trns.n_type3_entries ? trns.type3_alpha[index] : 255;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return Result::failure(formatText("the picture is %u x %u pixels; there is not enough memory to read it",
                                          ihdr.width, ihdr.height));
    }
    if (picture.rgba.size() != count * 4)
        return damaged(SPNG_EINTERNAL);
    out = std::move(picture);
    return Result::success();
}

} // namespace qm
