#include "core/export/ExportSummary.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(ExportSummary, CountsTheWrittenFilesAndNamesTheirFolders)
{
    ExportReport report;
    report.skipped("/g/gfx/a.bin", "exists");
    EXPECT_EQ(exportSummaryText(report), ""); // nothing written, nothing said
    report.written("/g/gfx/b.bin");
    EXPECT_EQ(exportSummaryText(report), "Exported 1 file to /g/gfx");
    report.written("/g/gfx/c.bin");
    report.written("/g/pal/d.bin");
    EXPECT_EQ(exportSummaryText(report), "Exported 3 files to /g/gfx, /g/pal");
}
