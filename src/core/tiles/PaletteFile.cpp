#include "core/tiles/PaletteFile.h"

#include "core/base/Format.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

namespace qm {

namespace {

constexpr size_t COLOURS = 32;
constexpr size_t MAX_FILE_COLOURS = 256;
constexpr std::string_view JASC_HEAD = "JASC-PAL";
constexpr std::string_view GIMP_HEAD = "GIMP Palette";

std::string lowerExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

void append(std::vector<std::uint8_t>& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

// The lines of a text file without their line ends (LF or CR LF) and
// without a leading byte order mark.
std::vector<std::string_view> linesOf(std::span<const std::uint8_t> bytes)
{
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool blank(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The next field of a line separated by spaces or tabs; empty at its end.
std::string_view nextField(std::string_view& line)
{
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(start);
    const size_t end = std::min(line.find_first_of(" \t"), line.size());
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(end);
    return field;
}

// A decimal number of at most three digits up to max.
std::optional<int> number(std::string_view field, int max)
{
    if (field.empty() || field.size() > 3 ||
        !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int v = 0;
    for (char c : field)
        v = v * 10 + (c - '0');
    if (v > max)
        return std::nullopt;
    return v;
}

// Red, green and blue at the start of a line; with exact, nothing may follow.
std::optional<DisplayColour> colourLine(std::string_view line, bool exact)
{
    DisplayColour c;
    for (std::uint8_t* part : {&c.red, &c.green, &c.blue}) {
        const std::optional<int> v = number(nextField(line), 255);
        if (!v)
            return std::nullopt;
        *part = static_cast<std::uint8_t>(*v);
    }
    if (exact && !nextField(line).empty())
        return std::nullopt;
    return c;
}

std::string badLine(size_t index)
{
    return formatText("Line %zu does not hold a red, green and blue value of 0 to 255.", index + 1);
}

void keep(DecodedPalette& out, DisplayColour c)
{
    if (out.colours.size() < COLOURS)
        out.colours.push_back(nearestGbcColor(c));
}

void decodeJasc(const std::vector<std::string_view>& lines, DecodedPalette& out)
{
    if (lines.size() < 2 || lines[1] != "0100") {
        out.error = "The JASC-PAL version is not 0100.";
        return;
    }
    std::string_view countLine = lines.size() > 2 ? lines[2] : std::string_view();
    const std::optional<int> declared = number(nextField(countLine), int(MAX_FILE_COLOURS));
    if (!declared || *declared == 0 || !nextField(countLine).empty()) {
        out.error = "The number of colours on line 3 is not 1 to 256.";
        return;
    }
    const size_t count = static_cast<size_t>(*declared);
    for (size_t i = 3; i < 3 + count; ++i) {
        if (i >= lines.size()) {
            out.error = formatText("The file ends before its %zu colours.", count);
            return;
        }
        const std::optional<DisplayColour> c = colourLine(lines[i], true);
        if (!c) {
            out.error = badLine(i);
            return;
        }
        keep(out, *c);
    }
    for (size_t i = 3 + count; i < lines.size(); ++i)
        if (!blank(lines[i])) {
            out.error = formatText("Line %zu follows the last of the %zu colours.", i + 1, count);
            return;
        }
}

void decodeGimp(const std::vector<std::string_view>& lines, DecodedPalette& out)
{
    size_t found = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (blank(line) || line.starts_with('#') || line.starts_with("Name:") || line.starts_with("Columns:"))
            continue;
        const std::optional<DisplayColour> c = colourLine(line, false);
        if (!c || ++found > MAX_FILE_COLOURS) {
            out.error = c ? std::string("The file holds more than 256 colours.") : badLine(i);
            return;
        }
        keep(out, *c);
    }
    if (found == 0)
        out.error = "The file holds no colours.";
}

void decodeAct(std::span<const std::uint8_t> bytes, DecodedPalette& out)
{
    // 768 bytes and Photoshop's count (big-endian) and transparent index, or
    // up to 256 colours of 3 bytes.
    size_t count = bytes.size() / 3;
    if (bytes.size() == MAX_FILE_COLOURS * 3 + 4) {
        count = static_cast<size_t>(bytes[768] << 8 | bytes[769]);
        if (count == 0 || count > MAX_FILE_COLOURS) {
            out.error = "The number of colours at byte 768 is not 1 to 256.";
            return;
        }
    } else if (bytes.empty() || bytes.size() % 3 != 0 || count > MAX_FILE_COLOURS) {
        out.error = "A raw RGB palette holds 3 bytes a colour, 1 to 256 colours.";
        return;
    }
    for (size_t i = 0; i < count; ++i)
        keep(out, DisplayColour{bytes[i * 3], bytes[i * 3 + 1], bytes[i * 3 + 2]});
}

} // namespace

PaletteFileFormat paletteFileFormatOf(const std::string& path)
{
    const std::string ext = lowerExtension(path);
    if (ext == ".pal")
        return PaletteFileFormat::Jasc;
    if (ext == ".gpl")
        return PaletteFileFormat::Gimp;
    if (ext == ".act")
        return PaletteFileFormat::Act;
    return PaletteFileFormat::Binary;
}

std::vector<std::uint8_t> encodePaletteFile(const GbcPaletteGroup& group, PaletteFileFormat format, TileKind kind)
{
    std::vector<std::uint8_t> out;
    switch (format) {
    case PaletteFileFormat::Binary:
        for (const GbcPalette& palette : group)
            for (const GbcColor& c : palette) {
                const std::uint16_t word = gbcWordOf(c);
                out.push_back(static_cast<std::uint8_t>(word));
                out.push_back(static_cast<std::uint8_t>(word >> 8));
            }
        break;
    case PaletteFileFormat::Jasc:
        append(out, formatText("JASC-PAL\r\n0100\r\n%zu\r\n", COLOURS));
        for (const GbcPalette& palette : group)
            for (const GbcColor& c : palette) {
                const DisplayColour d = fullRangeOf(c);
                append(out, formatText("%d %d %d\r\n", d.red, d.green, d.blue));
            }
        break;
    case PaletteFileFormat::Gimp: {
        const char* name = kind == TILE_OBJ ? "OBP" : "BGP";
        append(out, formatText("GIMP Palette\nName: %s palettes\nColumns: 4\n#\n", kind == TILE_OBJ ? "OBJ" : "BG"));
        for (size_t p = 0; p < group.size(); ++p)
            for (size_t i = 0; i < 4; ++i) {
                const DisplayColour d = fullRangeOf(group[p][i]);
                append(out, formatText("%3d %3d %3d\t%s%zu colour %zu\n", d.red, d.green, d.blue, name, p, i));
            }
        break;
    }
    case PaletteFileFormat::Act:
        out.assign(MAX_FILE_COLOURS * 3 + 4, 0);
        for (size_t i = 0; i < COLOURS; ++i) {
            const DisplayColour d = fullRangeOf(group[i / 4][i % 4]);
            out[i * 3] = d.red;
            out[i * 3 + 1] = d.green;
            out[i * 3 + 2] = d.blue;
        }
        // The count of colours used, and no transparent one.
        out[768] = 0;
        out[769] = COLOURS;
        out[770] = out[771] = 0xFF;
        break;
    }
    return out;
}

DecodedPalette decodePaletteFile(std::span<const std::uint8_t> bytes, const std::string& path)
{
    DecodedPalette out;
    const std::vector<std::string_view> lines = linesOf(bytes.first(std::min<size_t>(bytes.size(), 64)));
    const std::string_view head = lines.empty() ? std::string_view() : lines[0];
    const PaletteFileFormat named = paletteFileFormatOf(path);
    if (head == JASC_HEAD) {
        out.format = PaletteFileFormat::Jasc;
        decodeJasc(linesOf(bytes), out);
    } else if (head == GIMP_HEAD) {
        out.format = PaletteFileFormat::Gimp;
        decodeGimp(linesOf(bytes), out);
    } else if (named == PaletteFileFormat::Act) {
        out.format = PaletteFileFormat::Act;
        decodeAct(bytes, out);
    } else if (named != PaletteFileFormat::Binary) {
        out.format = named;
        out.error = named == PaletteFileFormat::Jasc ? "It does not begin with \"JASC-PAL\"."
                                                     : "It does not begin with \"GIMP Palette\".";
    }
    if (!out.error.empty())
        out.colours.clear();
    return out;
}

} // namespace qm
