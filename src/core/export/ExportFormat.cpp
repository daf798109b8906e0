#include "core/export/ExportFormat.h"

#include "core/export/ExportFileName.h"

#include <array>

namespace qm {

namespace {

constexpr std::size_t BYTES_A_LINE = 16;
constexpr std::size_t PIECE = 64 * 1024;

bool identifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Collects text and hands it on in pieces.
class PieceWriter {
public:
    explicit PieceWriter(const TextSink& sink) : sink_(sink) { buffer_.reserve(PIECE + 256); }
    void add(std::string_view text) { buffer_.insert(buffer_.end(), text.begin(), text.end()); }
    void add(char c) { buffer_.push_back(static_cast<std::uint8_t>(c)); }
    void hex(std::uint8_t b)
    {
        static constexpr char DIGITS[] = "0123456789ABCDEF";
        buffer_.push_back(static_cast<std::uint8_t>(DIGITS[b >> 4]));
        buffer_.push_back(static_cast<std::uint8_t>(DIGITS[b & 15]));
    }
    // Hands a full piece on; false once the sink refused.
    bool flush(bool all = false)
    {
        if (ok_ && (all || buffer_.size() >= PIECE) && !buffer_.empty()) {
            ok_ = sink_(buffer_);
            buffer_.clear();
        }
        return ok_;
    }

private:
    const TextSink& sink_;
    std::vector<std::uint8_t> buffer_;
    bool ok_ = true;
};

// Every byte as the prefix and two hex digits, 16 a line: C "    0x00, 0x01,"
// and assembly "    db $00, $01".
bool writeLines(PieceWriter& w, std::span<const std::uint8_t> bytes, bool c)
{
    for (std::size_t at = 0; at < bytes.size(); at += BYTES_A_LINE) {
        const std::size_t end = std::min(bytes.size(), at + BYTES_A_LINE);
        w.add(c ? "    " : "    db ");
        for (std::size_t i = at; i < end; ++i) {
            if (i > at)
                w.add(c ? " " : ", ");
            w.add(c ? "0x" : "$");
            w.hex(bytes[i]);
            if (c)
                w.add(',');
        }
        w.add('\n');
        if (!w.flush())
            return false;
    }
    return true;
}

} // namespace

const char* exportFormatName(ExportFormat format)
{
    switch (format) {
    case ExportFormat::C: return "c";
    case ExportFormat::Asm: return "asm";
    case ExportFormat::Binary: break;
    }
    return "bin";
}

std::optional<ExportFormat> exportFormatNamed(std::string_view name)
{
    for (ExportFormat f : {ExportFormat::Binary, ExportFormat::C, ExportFormat::Asm})
        if (name == exportFormatName(f))
            return f;
    return std::nullopt;
}

std::string sourceSymbolOf(const std::string& fileName)
{
    std::string symbol = fileName.substr(fileName.find_last_of('/') + 1);
    if (symbol.size() > 4 && symbol.ends_with(".bin"))
        symbol.resize(symbol.size() - 4);
    for (char& c : symbol)
        if (!identifierChar(c))
            c = '_';
    if (symbol.empty() || (symbol[0] >= '0' && symbol[0] <= '9'))
        symbol.insert(symbol.begin(), '_');
    return symbol;
}

std::vector<std::string> exportFormatPaths(const std::string& binaryPath, ExportFormat format)
{
    if (format == ExportFormat::Binary)
        return {binaryPath};
    const std::string dir = exportDirectoryOf(binaryPath);
    const std::string symbol = sourceSymbolOf(binaryPath);
    const auto beside = [&](const char* extension) {
        const std::string name = symbol + extension;
        return binaryPath.find('/') == std::string::npos ? name : exportPath(dir, name);
    };
    if (format == ExportFormat::C)
        return {beside(".c"), beside(".h")};
    return {beside(".asm"), beside(".inc")};
}

bool writeSourceText(ExportFormat format, const std::string& symbol, std::span<const std::uint8_t> bytes,
                     const TextSink& sink)
{
    PieceWriter w(sink);
    if (format == ExportFormat::Asm) {
        w.add(symbol + "::\n");
        if (!writeLines(w, bytes, false))
            return false;
        w.add(symbol + "_End::\n");
        return w.flush(true);
    }
    w.add("#include \"" + symbol + ".h\"\n\n");
    if (bytes.empty()) {
        // C has no empty arrays: one byte stands in, and the size says 0.
        w.add("const unsigned char " + symbol + "[1] = { 0 };\n");
        return w.flush(true);
    }
    w.add("const unsigned char " + symbol + "[] = {\n");
    if (!writeLines(w, bytes, true))
        return false;
    w.add("};\n");
    return w.flush(true);
}

std::string sourceHeaderText(ExportFormat format, const std::string& symbol, std::size_t size)
{
    const std::string n = std::to_string(size);
    if (format == ExportFormat::Asm)
        return "IF !DEF(QUILTMARK_" + symbol + "_INC)\nDEF QUILTMARK_" + symbol + "_INC EQU 1\n\nDEF " + symbol +
               "_SIZE EQU " + n + "\n\nENDC\n";
    const std::string guard = "QUILTMARK_" + symbol + "_H";
    return "#ifndef " + guard + "\n#define " + guard + "\n\n#define " + symbol + "_SIZE " + n +
           "\n\n#ifdef __cplusplus\nextern \"C\" {\n#endif\n\nextern const unsigned char " + symbol +
           "[];\n\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n";
}

} // namespace qm
