// The CSV log on disk under Wine: what reaches the file after each update, the day's change,
// which existing file a restart appends to, and a folder that cannot be written.
#include "win32/CsvLogFile.h"

#include "core/ExportPaths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr LogClockTime morning{2026, 12, 8, 9, 0, 0, 0};
constexpr LogClockTime evening{2026, 12, 8, 23, 59, 59, 999};
constexpr LogClockTime nextDay{2026, 12, 9, 0, 0, 0, 1};
const int32_t temperatures[] = {45, 61};
const int32_t loads[] = {12, 80};
// Two cores reported, as the panes stored them.
UpdateRecord TwoCores()
{
    UpdateRecord update;
    update.tjMax = 95;
    update.paneCount = update.reportedCores = 2;
    update.temperatures = temperatures;
    update.loads = loads;
    return update;
}
const UpdateRecord update = TwoCores();
const std::string header = "time,tjmax,temp0,load0,temp1,load1\r\n";
const std::string morningLine = "2026-12-08T09:00:00.000,95,45,12,61,80\r\n";
const std::string eveningLine = "2026-12-08T23:59:59.999,95,45,12,61,80\r\n";
const std::string nextDayLine = "2026-12-09T00:00:00.001,95,45,12,61,80\r\n";

class CsvLogFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::current_path() / test->name();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::wstring Path(const wchar_t* name) const { return (folder / name).wstring(); }

    // Read the way a viewer would while the plug-in still holds the file open.
    static std::optional<std::string> Contents(const std::wstring& path)
    {
        KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return std::nullopt;
        std::string text(1 << 16, '\0');
        DWORD read = 0;
        if (!::ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
            return std::nullopt;
        text.resize(read);
        return text;
    }

    static void Write(const std::wstring& path, const std::string& bytes)
    {
        KernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }

    std::filesystem::path folder;
};

TEST_F(CsvLogFileTest, EachUpdateIsOnDiskWhenAppendReturnsAndANewDayStartsANewFile)
{
    CsvLogFile log(folder.wstring(), 2);
    const std::wstring today = Path(L"Vaderur log 2026-12-08.csv");
    const std::wstring tomorrow = Path(L"Vaderur log 2026-12-09.csv");

    ASSERT_TRUE(log.Append(morning, update));
    EXPECT_EQ(log.Path(), today);
    EXPECT_EQ(Contents(today), header + morningLine);
    ASSERT_TRUE(log.Append(evening, update));
    EXPECT_EQ(Contents(today), header + morningLine + eveningLine);

    ASSERT_TRUE(log.Append(nextDay, update));
    EXPECT_EQ(log.Path(), tomorrow);
    EXPECT_EQ(Contents(tomorrow), header + nextDayLine);
    EXPECT_EQ(Contents(today), header + morningLine + eveningLine);
}

TEST_F(CsvLogFileTest, ARestartAppendsToTheDaysFileOnlyWhenItsHeaderAndLinesFit)
{
    const std::wstring first = Path(L"Vaderur log 2026-12-08.csv");
    const std::wstring second = Path(L"Vaderur log 2026-12-08 (2).csv");
    const std::wstring third = Path(L"Vaderur log 2026-12-08 (3).csv");
    const struct {
        const char* what;
        std::string existing;
        std::wstring written;
        std::string expected;
    } cases[] = {
        {"same cores", header + morningLine, first, header + morningLine + eveningLine},
        {"empty file", "", first, header + eveningLine},
        {"other cores", "time,tjmax,temp0,load0\r\n", second, header + eveningLine},
        {"cut last line", header + morningLine.substr(0, 30), second, header + eveningLine},
        {"someone else's", "notes\r\n", second, header + eveningLine},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        Write(first, c.existing);
        CsvLogFile log(folder.wstring(), 2);
        ASSERT_TRUE(log.Append(evening, update)) << c.what;
        EXPECT_EQ(log.Path(), c.written) << c.what;
        EXPECT_EQ(Contents(c.written), c.expected) << c.what;
        if (c.written != first) {
            EXPECT_EQ(Contents(first), c.existing) << c.what << ": never overwritten";
        }
    }

    // Two numbers taken: the third one.
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Write(first, "notes\r\n");
    Write(second, "time,tjmax,temp0,load0\r\n");
    CsvLogFile log(folder.wstring(), 2);
    ASSERT_TRUE(log.Append(morning, update));
    EXPECT_EQ(log.Path(), third);
    EXPECT_EQ(Contents(third), header + morningLine);
}

TEST_F(CsvLogFileTest, AFileHeldByAnotherProgramIsPassedOver)
{
    const std::wstring first = Path(L"Vaderur log 2026-12-08.csv");
    Write(first, header + morningLine);
    KernelHandle locked(::CreateFileW(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    CsvLogFile log(folder.wstring(), 2);
    ASSERT_TRUE(log.Append(evening, update));
    EXPECT_EQ(log.Path(), Path(L"Vaderur log 2026-12-08 (2).csv"));
    locked.Reset();
    EXPECT_EQ(Contents(first), header + morningLine);
}

TEST_F(CsvLogFileTest, AFailedUpdateIsDroppedAndTheNextOneTriesAgain)
{
    const std::filesystem::path missing = folder / "not yet there";
    CsvLogFile log(missing.wstring(), 2);
    EXPECT_FALSE(log.Append(morning, update));
    EXPECT_FALSE(log.Append(morning, update));
    std::filesystem::create_directories(missing);
    ASSERT_TRUE(log.Append(evening, update));
    EXPECT_EQ(Contents((missing / L"Vaderur log 2026-12-08.csv").wstring()), header + eveningLine);
}

// Another program held the day's first name at start (created and locked): the log went on
// to " (2)". A later run must not fill the empty first file, whose lines would then stand
// before older ones.
TEST_F(CsvLogFileTest, AnEmptyFileBeforeALaterOneOfTheDayIsPassedOver)
{
    const std::wstring first = Path(L"Vaderur log 2026-12-08.csv");
    const std::wstring second = Path(L"Vaderur log 2026-12-08 (2).csv");
    {
        KernelHandle locker(::CreateFileW(first.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(locker);
        CsvLogFile run(folder.wstring(), 2);
        ASSERT_TRUE(run.Append(morning, update));
        EXPECT_EQ(run.Path(), second);
    }
    CsvLogFile later(folder.wstring(), 2);
    ASSERT_TRUE(later.Append(evening, update));
    EXPECT_EQ(later.Path(), second);
    EXPECT_EQ(Contents(second), header + morningLine + eveningLine);
    EXPECT_EQ(Contents(first), "");
}

// A folder past the classic path limit: the log is written through the long form of its name.
TEST_F(CsvLogFileTest, FoldersOfAnyLengthGetTheLog)
{
    std::wstring deep = folder.wstring();
    std::vector<std::wstring> made;
    while (deep.size() < 400) {
        deep += L"\\" + std::wstring(100, L'd');
        made.push_back(LongPathForm(deep));
        ASSERT_TRUE(::CreateDirectoryW(made.back().c_str(), nullptr));
    }
    const std::wstring written = LongPathForm(deep + L"\\Vaderur log 2026-12-08.csv");
    {
        CsvLogFile log(deep, 2);
        EXPECT_TRUE(log.Append(morning, update));
        EXPECT_TRUE(log.Append(evening, update));
        EXPECT_EQ(log.Path(), written);
        EXPECT_EQ(Contents(written), header + morningLine + eveningLine);
    }
    EXPECT_TRUE(::DeleteFileW(written.c_str()));
    for (auto at = made.rbegin(); at != made.rend(); ++at)
        EXPECT_TRUE(::RemoveDirectoryW(at->c_str()));
}

// The folder tests/core/make-log-links.sh fills on the Unix side before this test: Wine shows
// each link there as the plain file it points to (or as no file at all when it points nowhere).
const std::filesystem::path unixLinks = std::filesystem::current_path() / "unix-links";

// A link under the day's name must never carry the log into the file it points to, which
// the user running the plug-in (maybe elevated) may not own: the name is passed over.
TEST_F(CsvLogFileTest, LinksUnderTheLogsNameAreNeverFollowed)
{
    const std::wstring name = L"Vaderur log 2026-12-08.csv";
    const std::wstring next = L"Vaderur log 2026-12-08 (2).csv";

    // A hard link to a log elsewhere with the same header.
    const std::filesystem::path elsewhere = folder / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_directories(folder / "hard");
    Write((elsewhere / "log.csv").wstring(), header);
    ASSERT_TRUE(::CreateHardLinkW((folder / "hard" / name).c_str(), (elsewhere / "log.csv").c_str(), nullptr));
    {
        CsvLogFile log((folder / "hard").wstring(), 2);
        ASSERT_TRUE(log.Append(morning, update));
        EXPECT_EQ(log.Path(), (folder / "hard" / next).wstring());
        EXPECT_EQ(Contents((elsewhere / "log.csv").wstring()), header);
    }

    if (!std::filesystem::exists(unixLinks / "elsewhere"))
        GTEST_SKIP() << "no links made on the Unix side (tests/core/make-log-links.sh)";
    for (const char* kind : {"to-empty", "to-log", "dangling"}) {
        SCOPED_TRACE(kind);
        CsvLogFile log((unixLinks / kind).wstring(), 2);
        ASSERT_TRUE(log.Append(morning, update));
        ASSERT_TRUE(log.Append(evening, update));
        EXPECT_EQ(log.Path(), (unixLinks / kind / next).wstring());
        EXPECT_EQ(Contents(log.Path()), header + morningLine + eveningLine);
    }
    EXPECT_EQ(Contents((unixLinks / "elsewhere" / "empty.csv").wstring()), "");
    EXPECT_EQ(Contents((unixLinks / "elsewhere" / "log.csv").wstring()), header);
    EXPECT_FALSE(std::filesystem::exists(unixLinks / "elsewhere" / "missing.csv"));
}

}  // namespace
