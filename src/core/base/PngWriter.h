#pragma once
// Palette PNG pictures (8 bits a pixel), written row by row: each row is
// compressed as it comes and the compressed bytes go on to a sink, so that
// memory does not grow with the picture. Compression is zlib's fastest level
// without row filters, which suits the large flat areas of tile maps.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

struct spng_ctx;

namespace qm {

struct PngColour {
    std::uint8_t red = 0, green = 0, blue = 0;
};

class IndexedPngWriter {
public:
    // Takes the bytes of the file in order; false stops the writer.
    using Sink = std::function<bool(std::span<const std::uint8_t>)>;

    explicit IndexedPngWriter(Sink sink);
    ~IndexedPngWriter();
    IndexedPngWriter(const IndexedPngWriter&) = delete;
    IndexedPngWriter& operator=(const IndexedPngWriter&) = delete;

    // The signature, header and palette of a width x height picture. False
    // for a size of 0 or a palette of 0 or more than 256 colours, or when the
    // sink failed.
    bool begin(int width, int height, std::span<const PngColour> palette);
    // The next row, top row first: width indices.
    bool writeRow(const std::uint8_t* row);
    // After the last row: the rest of the file goes to the sink.
    bool finish();

    // Why the writer stopped, unless the sink stopped it (the sink knows why).
    const std::string& error() const { return error_; }
    bool sinkFailed() const { return sinkFailed_; }

private:
    static int write(spng_ctx* ctx, void* self, void* data, std::size_t length);
    bool fail(int code);
    bool flush();

    Sink sink_;
    spng_ctx* ctx_ = nullptr;
    std::vector<std::uint8_t> pending_; // gathered for the sink in large pieces
    std::size_t width_ = 0;
    int rowsLeft_ = 0;
    bool done_ = false;
    bool sinkFailed_ = false;
    std::string error_;
};

// A whole picture in memory: width x height indices, rows stride bytes apart.
// Empty for a zero size or a palette out of range.
std::vector<std::uint8_t> encodeIndexedPng(int width, int height, const std::uint8_t* pixels, std::size_t stride,
                                           std::span<const PngColour> palette);

} // namespace qm
