// The fixture of the export tests that link the export in: a scratch exe folder emptied before
// and after each test, GDI+ for reading the pictures back, and panes with workers of their own.
#pragma once

#include "tests/export/ExportTestSupport.h"
#include "tests/export/PaneTestSupport.h"
#include "win32/PictureFileSeam.h"
#include "window/ShellSeam.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace exporttest {

inline const std::wstring core0Png = L"Core #0.png";
inline const std::wstring core1Png = L"Core #1.png";

class SnapshotExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        FailTheTestOnCrash();
        RemoveExportFiles();
    }
    void TearDown() override
    {
        SetBmpWrittenHook(nullptr);
        SetShellExecuteProc(nullptr);
        RemoveExportFiles();
    }
    std::optional<Picture> Png(const std::wstring& name) { return LoadPicture(InExeFolder(name)); }
    void ExpectNoLeftovers()
    {
        EXPECT_TRUE(FilesInExeFolder(L"*.bmp").empty());
        EXPECT_TRUE(FilesInExeFolder(L"*.tmp").empty());
    }

    GdiplusSession gdiplus;
    TestPanes panes;
};

}  // namespace exporttest
