#include "core/base/PngWriter.h"

#include <spng.h>

#include <algorithm>

namespace qm {

namespace {

// The sink gets pieces of about this size rather than each chunk's parts.
constexpr std::size_t SINK_PIECE = std::size_t(1) << 16;

} // namespace

IndexedPngWriter::IndexedPngWriter(Sink sink) : sink_(std::move(sink)) {}

IndexedPngWriter::~IndexedPngWriter()
{
    if (ctx_)
        spng_ctx_free(ctx_);
}

int IndexedPngWriter::write(spng_ctx*, void* self, void* data, std::size_t length)
{
    auto* writer = static_cast<IndexedPngWriter*>(self);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    writer->pending_.insert(writer->pending_.end(), bytes, bytes + length);
    if (writer->pending_.size() >= SINK_PIECE && !writer->flush())
        return SPNG_IO_ERROR;
    return 0;
}

bool IndexedPngWriter::flush()
{
    if (pending_.empty())
        return true;
    if (!sink_(pending_)) {
        sinkFailed_ = true;
        return false;
    }
    pending_.clear();
    return true;
}

bool IndexedPngWriter::fail(int code)
{
    if (!sinkFailed_ && error_.empty())
        error_ = spng_strerror(code);
    done_ = true;
    return false;
}

bool IndexedPngWriter::begin(int width, int height, std::span<const PngColour> palette)
{
    if (ctx_ || width <= 0 || height <= 0 || palette.empty() || palette.size() > 256)
        return false;
    ctx_ = spng_ctx_new(SPNG_CTX_ENCODER);
    if (!ctx_)
        return fail(SPNG_EMEM);
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(width);
    ihdr.height = static_cast<std::uint32_t>(height);
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_INDEXED;
    spng_plte plte{};
    plte.n_entries = static_cast<std::uint32_t>(palette.size());
    for (std::size_t i = 0; i < palette.size(); ++i)
        plte.entries[i] = {palette[i].red, palette[i].green, palette[i].blue, 0};
    int r = spng_set_png_stream(ctx_, &IndexedPngWriter::write, this);
    if (!r)
        r = spng_set_ihdr(ctx_, &ihdr);
    if (!r)
        r = spng_set_plte(ctx_, &plte);
    if (!r)
        r = spng_set_option(ctx_, SPNG_IMG_COMPRESSION_LEVEL, 1);
    if (!r)
        r = spng_set_option(ctx_, SPNG_FILTER_CHOICE, SPNG_DISABLE_FILTERING);
    if (!r)
        r = spng_encode_image(ctx_, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    if (r)
        return fail(r);
    rowsLeft_ = height;
    width_ = static_cast<std::size_t>(width);
    return true;
}

bool IndexedPngWriter::writeRow(const std::uint8_t* row)
{
    if (!ctx_ || done_ || rowsLeft_ == 0)
        return false;
    const int r = spng_encode_row(ctx_, row, width_);
    --rowsLeft_;
    if (r != 0 && !(r == SPNG_EOI && rowsLeft_ == 0))
        return fail(r);
    return true;
}

bool IndexedPngWriter::finish()
{
    if (!ctx_ || done_ || rowsLeft_ != 0)
        return false;
    done_ = true;
    return flush();
}

std::vector<std::uint8_t> encodeIndexedPng(int width, int height, const std::uint8_t* pixels, std::size_t stride,
                                           std::span<const PngColour> palette)
{
    std::vector<std::uint8_t> out;
    IndexedPngWriter writer([&out](std::span<const std::uint8_t> bytes) {
        out.insert(out.end(), bytes.begin(), bytes.end());
        return true;
    });
    if (!writer.begin(width, height, palette))
        return {};
    for (int y = 0; y < height; ++y)
        if (!writer.writeRow(pixels + static_cast<std::size_t>(y) * stride))
            return {};
    if (!writer.finish())
        return {};
    return out;
}

} // namespace qm
