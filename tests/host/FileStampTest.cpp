// The host's view of a file it waits for: a file put in place anew must read as changed, and
// reading it must never stand in the way of the rename that puts the next one in place.
#include "host/FileStamp.h"
#include "tests/host/HostProcess.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Writes text under path + ".part" and renames it onto path, as the plug-in does.
bool PutInPlace(const std::wstring& path, const std::string& text)
{
    const std::wstring part = path + L".part";
    WriteFileText(part, text);
    return MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

TEST(FileStamp, AFileOnlyReadsAsChangedWhenPutInPlaceAnew)
{
    const std::wstring folder = MakeCaseFolder(L"filestamp", L"");
    const std::wstring path = folder + L"\\Core #0.png";
    const FileStamp absent = StampOf(path);
    EXPECT_FALSE(absent.exists);
    EXPECT_TRUE(absent.SameAs(StampOf(folder + L"\\Core #9.png")));
    EXPECT_FALSE(StampOf(folder).exists) << "a folder is no picture";

    ASSERT_TRUE(PutInPlace(path, "an old picture"));
    const FileStamp old = StampOf(path);
    EXPECT_TRUE(old.exists);
    EXPECT_EQ(old.size, 14u);
    EXPECT_FALSE(old.SameAs(absent));
    EXPECT_TRUE(old.SameAs(StampOf(path))) << "nothing happened to it";

    // The same size, written later: only the times tell. The file system's clock may go in
    // ticks of up to some 16 ms: wait until the system time is well past the old file's.
    const ULONGLONG oldTime = (static_cast<ULONGLONG>(old.written.dwHighDateTime) << 32) | old.written.dwLowDateTime;
    constexpr ULONGLONG margin = 100 * 10000;  // 100 ms in 100 ns units
    for (int i = 0; i < 2000; ++i) {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        if (((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) > oldTime + margin)
            break;
        Sleep(1);
    }
    ASSERT_TRUE(PutInPlace(path, "a new picture!"));
    const FileStamp anew = StampOf(path);
    EXPECT_EQ(anew.size, old.size);
    EXPECT_FALSE(anew.SameAs(old));
}

struct Replacer {
    std::wstring path;
    LONG failures = 0;
};

DWORD WINAPI ReplaceAgainAndAgain(LPVOID parameter)
{
    auto* replacer = static_cast<Replacer*>(parameter);
    for (int i = 0; i < 300; ++i) {
        bool replaced = false;
        try {
            replaced = PutInPlace(replacer->path, "picture " + std::to_string(i));
        } catch (...) {
            // counted as a failed rename: no exception leaves the thread
        }
        if (!replaced)
            InterlockedIncrement(&replacer->failures);
    }
    return 0;
}

TEST(FileStamp, ReadingItNeverMakesTheRenameOntoItFail)
{
    // A stamp read through a handle on the file made the plug-in's rename fail whenever the
    // two met, and the export then waited for a picture that never came.
    const std::wstring folder = MakeCaseFolder(L"filestampwatch", L"");
    Replacer shared;
    shared.path = folder + L"\\Core #0.png";
    ASSERT_TRUE(PutInPlace(shared.path, "first"));
    KernelHandle writer(CreateThread(nullptr, 0, ReplaceAgainAndAgain, &shared, 0, nullptr));
    ASSERT_TRUE(writer);
    size_t reads = 0;
    while (WaitForSingleObject(writer.Get(), 0) == WAIT_TIMEOUT) {
        StampOf(shared.path);
        ++reads;
    }
    EXPECT_GT(reads, 0u);
    EXPECT_EQ(shared.failures, 0) << "of 300 renames, while the stamp was read " << reads << " times";
}

}  // namespace
