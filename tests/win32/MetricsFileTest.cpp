// The metrics file on disk under Wine: when it is written, that it is always whole, and what
// happens with a missing or vanishing folder, a folder or read-only file in its place, a reader
// holding it exclusively, a temporary name taken by a folder, stale temporaries, the release.
#include "core/ExportPaths.h"
#include "win32/MetricsFile.h"

#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TwoCores {
    int32_t temperatures[2] = {45, 91};
    int32_t loads[2] = {12, 80};
    float sensor[2] = {45.5f, 91.0f};
    UpdateRecord Record() const
    {
        UpdateRecord r;
        r.tjMax = 100;
        r.paneCount = 2;
        r.reportedCores = 2;
        r.temperatures = temperatures;
        r.loads = loads;
        r.sensorTemperatures = sensor;
        return r;
    }
};

class MetricsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::current_path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        fs::create_directories(folder);
        path = (folder / L"vaderur.prom").wstring();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ignored);
        fs::remove_all(folder, ignored);
    }

    static std::optional<std::string> Contents(const std::wstring& file)
    {
        KernelHandle handle(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle)
            return std::nullopt;
        std::string text(1 << 16, '\0');
        DWORD read = 0;
        if (!::ReadFile(handle.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
            return std::nullopt;
        text.resize(read);
        return text;
    }

    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().wstring());
        return names;
    }

    fs::path folder;
    std::wstring path;
    TwoCores update;
};

TEST_F(MetricsFileTest, FirstUpdateWritesAtOnceThenOncePerInterval)
{
    MetricsFile sink(path, 15);
    sink.Take(update.Record(), 1765184707042, 1000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::Written);
    const std::optional<std::string> first = Contents(path);
    ASSERT_TRUE(first);
    EXPECT_NE(first->find("vaderur_core_temperature_celsius{core=\"1\"} 91\n"), std::string::npos);
    EXPECT_NE(first->find("vaderur_updates_total 1\n"), std::string::npos);

    // Counted, not written, until the interval has passed.
    sink.Take(update.Record(), 1765184708042, 2000);
    sink.Take(update.Record(), 1765184709042, 15999);
    EXPECT_EQ(Contents(path), first);
    EXPECT_EQ(sink.UpdatesWritten(), 1u);
    sink.Take(update.Record(), 1765184710042, 16000);
    const std::optional<std::string> second = Contents(path);
    ASSERT_TRUE(second);
    EXPECT_NE(second->find("vaderur_updates_total 4\n"), std::string::npos);
    EXPECT_NE(second->find("vaderur_sample_temperature_celsius_count{core=\"0\"} 4\n"), std::string::npos);
    EXPECT_EQ(sink.UpdatesWritten(), 4u);
    // Only the file: no temporary is left beside it.
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"vaderur.prom"});
}

// Folders past the classic length limit: written, replaced and deleted through the long forms.
TEST_F(MetricsFileTest, FoldersOfAnyLengthGetTheFile)
{
    std::wstring deep = folder.wstring();
    std::vector<std::wstring> made;
    while (deep.size() < 400) {
        deep += L"\\" + std::wstring(100, L'm');
        made.push_back(LongPathForm(deep));
        ASSERT_TRUE(::CreateDirectoryW(made.back().c_str(), nullptr));
    }
    const std::wstring written = LongPathForm(deep + L"\\vaderur.prom");
    {
        MetricsFile sink(deep + L"\\vaderur.prom", 1);
        sink.Take(update.Record(), 1765184707042, 1000);
        EXPECT_EQ(sink.LastWrite(), MetricsWrite::Written);
        sink.Take(update.Record(), 1765184708042, 2000);
        EXPECT_EQ(sink.LastWrite(), MetricsWrite::Written);
        const std::optional<std::string> text = Contents(written);
        ASSERT_TRUE(text);
        EXPECT_NE(text->find("vaderur_updates_total 2\n"), std::string::npos);
    }
    // The release deleted it, and no temporary is left.
    for (auto at = made.rbegin(); at != made.rend(); ++at)
        EXPECT_TRUE(::RemoveDirectoryW(at->c_str()));
}

TEST_F(MetricsFileTest, ReleaseDeletesTheFileItWroteAndNothingElse)
{
    {
        MetricsFile sink(path, 1);
        sink.Take(update.Record(), 1000, 1000);
        ASSERT_TRUE(fs::exists(path));
    }
    EXPECT_FALSE(fs::exists(path));

    // A file the sink never wrote (it was read-only) stays.
    {
        std::FILE* f = _wfopen(path.c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        std::fputs("# the user's\n", f);
        std::fclose(f);
        fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        MetricsFile sink(path, 1);
        sink.Take(update.Record(), 1000, 1000);
        EXPECT_EQ(sink.LastWrite(), MetricsWrite::ReadOnly);
    }
    EXPECT_EQ(Contents(path), std::optional<std::string>("# the user's\n"));
}

TEST_F(MetricsFileTest, MissingOrVanishingFolderIsTriedAgainAtTheNextWrite)
{
    const std::wstring inner = (folder / L"textfile_inputs").wstring();
    const std::wstring innerPath = inner + L"\\vaderur.prom";
    MetricsFile sink(innerPath, 1);
    sink.Take(update.Record(), 1000, 1000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::NoFolder);
    EXPECT_FALSE(fs::exists(inner));  // never created

    fs::create_directories(inner);
    sink.Take(update.Record(), 2000, 2000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::Written);

    fs::remove_all(inner);
    sink.Take(update.Record(), 3000, 3000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::NoFolder);

    fs::create_directories(inner);
    sink.Take(update.Record(), 4000, 4000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::Written);
    const std::optional<std::string> text = Contents(innerPath);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("vaderur_updates_total 4\n"), std::string::npos);
}

TEST_F(MetricsFileTest, AFolderInPlaceOfTheFileIsLeftAlone)
{
    fs::create_directories(path);
    MetricsFile sink(path, 1);
    sink.Take(update.Record(), 1000, 1000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::NotAFile);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"vaderur.prom"});
}

TEST_F(MetricsFileTest, AFileHeldOpenExclusivelyKeepsItsOldWholeText)
{
    {
        MetricsFile first(path, 1);
        first.Take(update.Record(), 1000, 1000);
        ASSERT_EQ(first.LastWrite(), MetricsWrite::Written);
        // Keep the file past the first sink's release by copying it aside and back.
        fs::copy_file(path, folder / L"kept");
    }
    fs::rename(folder / L"kept", path);
    const std::optional<std::string> old = Contents(path);
    ASSERT_TRUE(old);

    MetricsFile sink(path, 1);
    {
        KernelHandle exclusive(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(exclusive);
        sink.Take(update.Record(), 2000, 2000);
        EXPECT_EQ(sink.LastWrite(), MetricsWrite::ReplaceFailed);
    }
    EXPECT_EQ(Contents(path), old);
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"vaderur.prom"});
    // Released: the next write goes through.
    sink.Take(update.Record(), 3000, 3000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::Written);
    const std::optional<std::string> text = Contents(path);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("vaderur_updates_total 2\n"), std::string::npos);
}

TEST_F(MetricsFileTest, ATemporaryNameTakenByAFolderIsNeverUsed)
{
    MetricsFile sink(path, 1);
    fs::create_directories(sink.TemporaryPath());
    sink.Take(update.Record(), 1000, 1000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::TemporaryRefused);
    EXPECT_TRUE(fs::is_directory(sink.TemporaryPath()));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(MetricsFileTest, StaleTemporariesOfOurNamingAreSwept)
{
    const std::vector<std::wstring> ours = {L"vaderur.prom.1.tmp", L"vaderur.prom.987654.tmp"};
    const std::vector<std::wstring> others = {L"vaderur.prom.tmp", L"vaderur.prom.12a.tmp", L"other.prom.5.tmp",
                                              L"vaderur.prom.5.tmp.keep"};
    // Written long before this process started.
    FILETIME old{};
    SYSTEMTIME year2000{2000, 1, 6, 1, 0, 0, 0, 0};
    ASSERT_TRUE(::SystemTimeToFileTime(&year2000, &old));
    for (const auto* names : {&ours, &others}) {
        for (const std::wstring& name : *names) {
            KernelHandle file(::CreateFileW((folder / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(file);
            ASSERT_TRUE(::SetFileTime(file.Get(), &old, &old, &old));
        }
    }
    // One of our naming that is in use stays.
    KernelHandle busy(::CreateFileW((folder / L"vaderur.prom.2.tmp").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(busy);
    ASSERT_TRUE(::SetFileTime(busy.Get(), &old, &old, &old));

    MetricsFile sink(path, 1);
    sink.Take(update.Record(), 1000, 1000);
    ASSERT_EQ(sink.LastWrite(), MetricsWrite::Written);
    for (const std::wstring& name : ours)
        EXPECT_FALSE(fs::exists(folder / name)) << fs::path(name).string();
    for (const std::wstring& name : others)
        EXPECT_TRUE(fs::exists(folder / name)) << fs::path(name).string();
    EXPECT_TRUE(fs::exists(folder / L"vaderur.prom.2.tmp"));
}

// A link at the temporary's name (to a file of someone else's, or to nowhere) is never written
// through nor removed: the write is refused, the file it points at stays as it was, and nothing
// appears where a dangling one points.
// Wine makes no links itself: check-metrics-links.sh makes them on the Unix side in the folder
// it names, for the process number 7, and runs this case alone.
TEST(MetricsFileLinks, ALinkAtTheTemporaryNameIsNeverFollowed)
{
    const char* fixture = std::getenv("VADERUR_LINK_FIXTURE");
    if (!fixture)
        GTEST_SKIP() << "run by check-metrics-links.sh, which makes the links";
    const fs::path folder = fixture;
    const fs::path victim = folder / "elsewhere" / "victim.txt";
    const fs::path nowhere = folder / "elsewhere" / "nowhere.txt";
    ASSERT_TRUE(fs::exists(victim));
    TwoCores update;
    for (const wchar_t* name : {L"to-a-file.prom", L"to-nowhere.prom"}) {
        const std::wstring path = (folder / name).wstring();
        MetricsFile sink(path, 1, 7);
        ASSERT_EQ(sink.TemporaryPath(), path + L".7.tmp");
        sink.Take(update.Record(), 1000, 1000);
        EXPECT_EQ(sink.LastWrite(), MetricsWrite::TemporaryRefused);
        EXPECT_FALSE(fs::exists(path));
        std::ifstream kept(victim, std::ios::binary);
        const std::string victimText((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
        EXPECT_EQ(victimText, "not the plug-in's\n");
        EXPECT_FALSE(fs::exists(nowhere));
    }
}

// A full disk keeps the old whole file and leaves no temporary; once there is room again the
// next write goes through. check-metrics-full-disk.sh mounts the small file system this runs in.
TEST(MetricsFileFullDisk, KeepsTheOldWholeFile)
{
    const char* fixture = std::getenv("VADERUR_FULL_DISK_FIXTURE");
    if (!fixture)
        GTEST_SKIP() << "run by check-metrics-full-disk.sh, which mounts a small file system";
    const fs::path folder = fixture;
    const std::wstring path = (folder / L"vaderur.prom").wstring();
    TwoCores update;
    MetricsFile sink(path, 1);
    sink.Take(update.Record(), 1000, 1000);
    ASSERT_EQ(sink.LastWrite(), MetricsWrite::Written);
    std::ifstream before(fs::path(path), std::ios::binary);
    const std::string old((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
    before.close();

    // Fill every block that is left.
    const std::wstring fillerPath = (folder / L"filler").wstring();
    {
        KernelHandle filler(::CreateFileW(fillerPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(filler);
        const std::string block(512, 'x');
        DWORD written = 0;
        for (int i = 0; i < 100000 && ::WriteFile(filler.Get(), block.data(), 512, &written, nullptr) && written == 512;
             ++i) {
        }
        ::WriteFile(filler.Get(), block.data(), 1, &written, nullptr);
    }
    update.temperatures[0] = 77;
    sink.Take(update.Record(), 2000, 2000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::WriteFailed);
    std::ifstream kept(fs::path(path), std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>()), old);
    kept.close();
    EXPECT_FALSE(fs::exists(sink.TemporaryPath()));

    ASSERT_TRUE(::DeleteFileW(fillerPath.c_str()));
    sink.Take(update.Record(), 3000, 3000);
    EXPECT_EQ(sink.LastWrite(), MetricsWrite::Written);
    std::ifstream after(fs::path(path), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("vaderur_core_temperature_celsius{core=\"0\"} 77\n"), std::string::npos);
}

}  // namespace
