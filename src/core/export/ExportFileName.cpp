#include "core/export/ExportFileName.h"

#include "core/base/Format.h"

#include <cctype>

namespace qm {

namespace {

const char* stemOf(int code)
{
    switch (code) {
    case EXPORT_TAG_RLE_HEADER: return "TagRLE";
    case EXPORT_MAP_BG: return "MAPBG";
    case EXPORT_MAP_ATTR_BG: return "MAPABG";
    case EXPORT_PALETTE_BG: return "BCPD";
    case EXPORT_PALETTE_OBJ: return "OCPD";
    case EXPORT_BG_MAIN: return "BG0";
    case EXPORT_BG_ALT: return "BG1";
    case EXPORT_BG_MAIN_ATTR: return "BG0A";
    case EXPORT_BG_ALT_ATTR: return "BG1A";
    case EXPORT_OBJ_MAIN: return "OBJ0";
    case EXPORT_OBJ_ALT: return "OBJ1";
    case EXPORT_OBJ_MAIN_ATTR: return "OBJ0A";
    case EXPORT_OBJ_ALT_ATTR: return "OBJ1A";
    case EXPORT_MAP_OBJ: return "MAPOBJ";
    case EXPORT_MAP_ATTR_OBJ: return "MAPAOBJ";
    case EXPORT_TAG: return "Tag";
    case EXPORT_TAG_RLE: return "TagRLE";
    default: return nullptr;
    }
}

} // namespace

std::string exportFileName(int code, const std::string& prefix, const std::string& suffix, bool oneFile)
{
    const char* stem = stemOf(code);
    if (!stem)
        return {};
    if (!oneFile && (code == EXPORT_MAP_BG || code == EXPORT_MAP_OBJ))
        return prefix + stem + suffix + "01.bin," + prefix + "MAP" + suffix + "02.bin,";
    return prefix + stem + suffix + (code == EXPORT_TAG_RLE_HEADER ? ".hdr" : ".bin");
}

std::string exportPath(const std::string& location, const std::string& name)
{
    return location + "/" + name;
}

Result checkExportNames(ExportPage page, const std::string& prefix, const std::string& suffix)
{
    const auto mayLeave = [](const std::string& text) {
        if (text.find_first_of("/\\") != std::string::npos || text.find("..") != std::string::npos)
            return true;
        for (size_t i = 0; i + 1 < text.size(); ++i)
            if (std::isalpha(static_cast<unsigned char>(text[i])) && text[i + 1] == ':')
                return true;
        return false;
    };
    const char* pageName = page == ExportPage::Map ? "map" : page == ExportPage::Tileset ? "tile set" : "palette";
    for (const auto& [field, text] : {std::pair{"prefix", &prefix}, std::pair{"suffix", &suffix}})
        if (mayLeave(*text))
            return Result::failure(formatText("The %s %s '%s' would write outside the export location.", pageName,
                                              field, text->c_str()));
    return Result::success();
}

std::string exportDirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace qm
