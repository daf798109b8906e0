#include "core/project/StoredPath.h"

#include "core/base/FileIO.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace qm {

namespace {

bool sameComponent(std::string_view a, std::string_view b, bool ignoreCase)
{
    if (a.size() != b.size())
        return false;
    if (!ignoreCase)
        return a == b;
    return std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// Component starting at pos, up to the next backslash or the end.
std::string_view componentAt(const std::string& s, size_t pos)
{
    const size_t end = s.find('\\', pos);
    return std::string_view(s).substr(pos, end == std::string::npos ? std::string::npos : end - pos);
}

} // namespace

std::string toStoredForm(const std::string& nativePath)
{
    std::string s = nativePath;
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

std::string toNativeForm(const std::string& storedPath)
{
    std::string s = storedPath;
#ifndef _WIN32
    std::replace(s.begin(), s.end(), '\\', '/');
#endif
    return s;
}

std::string relativePath(const std::string& base, const std::string& target)
{
    const bool ignoreCase = isDrivePath(base) || isDrivePath(target);
    // 1. Walk both while the components are equal.
    size_t pb = 0, pt = 0;
    while (pb <= base.size() && pt <= target.size()) {
        const std::string_view cb = componentAt(base, pb);
        const std::string_view ct = componentAt(target, pt);
        if (!sameComponent(cb, ct, ignoreCase))
            break;
        if (pb + cb.size() >= base.size() && pt + ct.size() >= target.size()) {
            // Both ended together: identical paths.
            pb = base.size() + 1;
            pt = target.size() + 1;
            break;
        }
        if (pb + cb.size() >= base.size() || pt + ct.size() >= target.size()) {
            // One path ended on an equal component.
            pb += cb.size() + 1;
            pt += ct.size() + 1;
            break;
        }
        pb += cb.size() + 1;
        pt += ct.size() + 1;
    }
    // 2. The rest of target.
    std::string r = pt < target.size() ? target.substr(pt) : std::string();
    // 3. One "..\" for every further component of base.
    std::string ups;
    while (pb < base.size()) {
        const std::string_view cb = componentAt(base, pb);
        if (cb.empty())
            break;
        ups += "..\\";
        pb += cb.size() + 1;
    }
    r = ups + r;
    // 4. Frame it.
    if (r.empty())
        return "\\";
    if (r.back() != '\\')
        r += '\\';
    if (r.rfind("..\\", 0) != 0)
        r.insert(r.begin(), '\\');
    return r;
}

std::string resolvePath(const std::string& baseDir, const std::string& stored)
{
    // A full path on a drive is relative to nothing.
    if (isDrivePath(stored))
        return stored;
    std::string base = baseDir;
    size_t pos = 0;
    bool climbed = false;
    while (stored.compare(pos, 2, "..") == 0 && (pos + 2 == stored.size() || stored[pos + 2] == '\\')) {
        const size_t cut = base.rfind('\\');
        base = cut == std::string::npos ? std::string() : base.substr(0, cut);
        climbed = true;
        pos += std::min<size_t>(3, stored.size() - pos);
    }
    // "\sub\x.qmb" as we write it, and "sub\x.qmb" as others may.
    if (!climbed)
        return stored.empty() || stored[0] == '\\' ? base + stored : base + "\\" + stored;
    // The rest begins at the backslash before the first component that is not "..".
    const size_t from = pos > 0 && stored[pos - 1] == '\\' ? pos - 1 : pos;
    return base + stored.substr(from);
}

std::string storedDirectory(const std::string& stored)
{
    const size_t cut = stored.rfind('\\');
    return cut == std::string::npos ? std::string() : stored.substr(0, cut);
}

std::string storedFileName(const std::string& stored)
{
    const size_t cut = stored.rfind('\\');
    return cut == std::string::npos ? stored : stored.substr(cut + 1);
}

std::string storeFilePath(const std::string& projectDir, const std::string& filePath)
{
    const std::string s = toStoredForm(filePath);
    return relativePath(toStoredForm(projectDir), storedDirectory(s)) + storedFileName(s);
}

std::string storeLocation(const std::string& projectDir, const std::string& location)
{
    return relativePath(toStoredForm(projectDir), toStoredForm(location));
}

} // namespace qm
