#include "core/project/ProjectState.h"

#include <algorithm>
#include <cctype>

namespace qm {

namespace {

bool endsWithNoCase(const std::string& s, const char* suffix)
{
    const std::string_view suf(suffix);
    if (s.size() < suf.size())
        return false;
    return std::equal(suf.begin(), suf.end(), s.end() - static_cast<std::ptrdiff_t>(suf.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                  std::tolower(static_cast<unsigned char>(b)); });
}

} // namespace

void ProjectState::setChanged(ChangeFlags bits)
{
    changeFlags |= bits;
    if (onFlagsChanged)
        onFlagsChanged();
}

void ProjectState::clearChanged()
{
    changeFlags = 0;
    if (onFlagsChanged)
        onFlagsChanged();
}

void ProjectState::clearChangedBits(ChangeFlags bits)
{
    changeFlags &= static_cast<ChangeFlags>(~bits);
    if (onFlagsChanged)
        onFlagsChanged();
}

void ProjectState::normalisePaths()
{
    if (endsWithNoCase(projectPath, ".qmd"))
        projectPath.back() = 'm';
    if (endsWithNoCase(bgTileSetPath, ".bts"))
        bgTileSetPath.replace(bgTileSetPath.size() - 4, 4, ".qmb");
    if (endsWithNoCase(objTileSetPath, ".ots"))
        objTileSetPath.replace(objTileSetPath.size() - 4, 4, ".qmo");
}

} // namespace qm
