#include "core/project/StoredPath.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(StoredPath, WindowsPathsAreStoredRelativeWithoutRegardToCaseAndResolvedBack)
{
    const std::string base = "C:\\games\\level1";
    EXPECT_EQ(relativePath(base, "C:\\GAMES\\Level1\\out"), "\\out\\"); // without regard to case
    EXPECT_EQ(relativePath(base, "C:\\gamesx\\a"), "..\\..\\gamesx\\a\\");
    EXPECT_EQ(relativePath(base, "D:\\x"), "..\\..\\..\\D:\\x\\");
    for (const char* target : {"C:\\games\\level1", "C:\\games\\level1\\out", "C:\\games\\common", "C:\\games"})
        EXPECT_EQ(resolvePath(base, relativePath(base, target)), std::string(target) + "\\");
    EXPECT_EQ(resolvePath(base, "..\\..\\x\\"), "C:\\x\\");
    EXPECT_EQ(resolvePath(base, ".."), "C:\\games");
    EXPECT_EQ(resolvePath("C:", "..\\a"), "\\a");
    // Written by hand or by other tools: a full drive path, a relative path without its first separator.
    EXPECT_EQ(resolvePath("\\home\\proj", "D:\\games\\x.qmb"), "D:\\games\\x.qmb");
    EXPECT_EQ(resolvePath("\\home\\proj", "sub\\dir\\x.qmb"), "\\home\\proj\\sub\\dir\\x.qmb");
    EXPECT_EQ(resolvePath("\\home\\proj", "..x\\y"), "\\home\\proj\\..x\\y");
}

TEST(StoredPath, LinuxPathsAreStoredTheSameWayAndCompareExactly)
{
    // Within the project directory, and one beside it, are pinned by the project file tests.
    EXPECT_EQ(storeFilePath("/home/u/maps", "/home/u/shared/bg.qmb"), "..\\shared\\bg.qmb");
    EXPECT_EQ(storeLocation("/home/u/maps", "/home/u/Maps"), "..\\Maps\\"); // another directory on Linux
    EXPECT_EQ(toNativeForm(resolvePath(toStoredForm("/home/u/maps"), "..\\..\\..\\x")), "/x");
}
