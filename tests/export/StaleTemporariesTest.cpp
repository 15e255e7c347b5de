// Temporaries left by an export that was killed: the next export in the folder removes those
// of its own naming that are older than this process and not in use, and nothing else.
#include "graph/CZiveVazudEx.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/PaneTestSupport.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace exporttest;

constexpr ULONGLONG anHour = 36000000000ULL;  // in 100 ns units

// Gives the file a last write an hour before this process started.
bool MakeOlderThanThisProcess(const std::wstring& path)
{
    FILETIME creation{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &creation, &exited, &kernel, &user))
        return false;
    ULARGE_INTEGER time{};
    time.LowPart = creation.dwLowDateTime;
    time.HighPart = creation.dwHighDateTime;
    time.QuadPart -= anHour;
    const FILETIME earlier{time.LowPart, time.HighPart};
    KernelHandle file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && ::SetFileTime(file.Get(), nullptr, nullptr, &earlier);
}

bool WriteStale(const std::wstring& name)
{
    const std::wstring path = InExeFolder(name);
    return WriteBytes(path, {'o', 'l', 'd'}) && MakeOlderThanThisProcess(path);
}

class StaleTemporaries : public ::testing::Test {
protected:
    void SetUp() override { RemoveExportFiles(); }
    void TearDown() override
    {
        for (const std::wstring& name : FilesInExeFolder(L"*.tmp*"))
            ::DeleteFileW(InExeFolder(name).c_str());
        RemoveExportFiles();
    }
    GdiplusSession gdiplus;
    TestPanes panes;
};

TEST_F(StaleTemporaries, AnExportRemovesOnlyOldUnusedTemporariesOfItsOwnNaming)
{
    // The PNG temporaries of today ("<title>.tmp") and of earlier versions ("<title>.<thread>.tmp").
    const wchar_t* ours[] = {L"Core #0.tmp", L"Core #7.tmp", L"Core #12.tmp", L"Core #3.4711.tmp"};
    const wchar_t* others[] = {L"Core #.tmp",     L"Core #x.tmp",     L"Core #1.2.3.tmp",  L"Core #1..tmp",
                               L"Core #1 .tmp",   L"Core #1.tmpx",    L"Core #1.x.tmp",    L"core #1.tmp",
                               L"Other.tmp",      L"Core #1.png.tmp", L"xCore #1.tmp",     L"Vaderur.ini.42.tmp"};
    for (const wchar_t* name : ours)
        ASSERT_TRUE(WriteStale(name)) << name;
    for (const wchar_t* name : others)
        ASSERT_TRUE(WriteStale(name)) << name;
    // Ours, but written after this process started: another running export's.
    ASSERT_TRUE(WriteBytes(InExeFolder(L"Core #8.tmp"), {'n', 'e', 'w'}));
    // Ours and old, but open: held with every sharing mode, so even a plain delete would succeed.
    ASSERT_TRUE(WriteStale(L"Core #9.tmp"));
    KernelHandle held(::CreateFileW(InExeFolder(L"Core #9.tmp").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    0, nullptr));
    ASSERT_TRUE(held);

    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 100, 60, 40);
    pane->SaveSnapshot();

    EXPECT_TRUE(LoadPicture(InExeFolder(L"Core #0.png")));
    for (const wchar_t* name : ours)
        EXPECT_FALSE(FileExists(InExeFolder(name))) << name;
    for (const wchar_t* name : others)
        EXPECT_TRUE(FileExists(InExeFolder(name))) << name;
    EXPECT_TRUE(FileExists(InExeFolder(L"Core #8.tmp")));
    held.Reset();
    EXPECT_TRUE(FileExists(InExeFolder(L"Core #9.tmp"))) << "a file in use is not even marked for deletion";
}

}  // namespace
