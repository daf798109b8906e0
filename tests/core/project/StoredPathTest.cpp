#include "core/project/StoredPath.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(StoredPath, RelativeFormsOfWindowsPaths)
{
    const std::string base = "C:\\games\\level1";
    EXPECT_EQ(relativePath(base, "C:\\games\\level1"), "\\");
    EXPECT_EQ(relativePath(base, "C:\\games\\level1\\out"), "\\out\\");
    EXPECT_EQ(relativePath(base, "C:\\games\\common"), "..\\common\\");
    EXPECT_EQ(relativePath(base, "C:\\GAMES\\Level1\\out"), "\\out\\");
    EXPECT_EQ(relativePath(base, "C:\\games"), "..\\");
    EXPECT_EQ(relativePath(base, "C:\\gamesx\\a"), "..\\..\\gamesx\\a\\");
    EXPECT_EQ(relativePath(base, "D:\\x"), "..\\..\\..\\D:\\x\\");
    EXPECT_EQ(relativePath("C:\\games\\", "C:\\games\\x"), "\\x\\");
}

TEST(StoredPath, ResolveUndoesRelative)
{
    const std::string base = "C:\\games\\level1";
    EXPECT_EQ(resolvePath(base, "\\bg.qmb"), "C:\\games\\level1\\bg.qmb");
    EXPECT_EQ(resolvePath(base, "..\\common\\bg.qmb"), "C:\\games\\common\\bg.qmb");
    EXPECT_EQ(resolvePath(base, "..\\..\\x\\"), "C:\\x\\");
    EXPECT_EQ(resolvePath(base, "\\"), "C:\\games\\level1\\");
    EXPECT_EQ(resolvePath(base, ".."), "C:\\games");
    EXPECT_EQ(resolvePath("C:", "..\\a"), "\\a");
    // Written by hand or by other tools: a full drive path, a relative path without its first separator.
    EXPECT_EQ(resolvePath("\\home\\proj", "D:\\games\\x.qmb"), "D:\\games\\x.qmb");
    EXPECT_EQ(resolvePath("\\home\\proj", "sub\\dir\\x.qmb"), "\\home\\proj\\sub\\dir\\x.qmb");
    EXPECT_EQ(resolvePath("\\home\\proj", "..x\\y"), "\\home\\proj\\..x\\y");
    for (const char* target : {"C:\\games\\level1\\out", "C:\\games\\common", "C:\\games", "C:\\other\\deep\\dir"}) {
        std::string r = resolvePath(base, relativePath(base, target));
        r.pop_back(); // locations keep a trailing backslash until the reader drops it
        EXPECT_EQ(r, target);
    }
}

TEST(StoredPath, LinuxPathsAreStoredTheSameWayAndCompareExactly)
{
    EXPECT_EQ(storeFilePath("/home/u/maps", "/home/u/maps/bg.qmb"), "\\bg.qmb");
    EXPECT_EQ(storeFilePath("/home/u/maps", "/home/u/shared/bg.qmb"), "..\\shared\\bg.qmb");
    EXPECT_EQ(storeLocation("/home/u/maps", "/home/u/maps/out"), "\\out\\");
    EXPECT_EQ(storeLocation("/home/u/maps", "/home/u/maps"), "\\");
    // Case matters on Linux: /home/u/Maps is another directory.
    EXPECT_EQ(storeLocation("/home/u/maps", "/home/u/Maps"), "..\\Maps\\");
    EXPECT_EQ(toNativeForm(resolvePath(toStoredForm("/home/u/maps"), "..\\shared\\bg.qmb")), "/home/u/shared/bg.qmb");
    EXPECT_EQ(toNativeForm(resolvePath(toStoredForm("/home/u/maps"), "..\\..\\..\\x")), "/x");
    EXPECT_EQ(storedFileName("\\a\\b.qmb"), "b.qmb");
    EXPECT_EQ(storedDirectory("\\a\\b.qmb"), "\\a");
}
