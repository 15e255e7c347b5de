#include "settings/FileReplace.h"
#include "settings/IniText.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsReader.h"
#include "ScratchFolder.h"

#include <chrono>
#include <filesystem>

namespace {

using Folder = std::vector<std::string>;
const std::string settingsFile = IniText::fileName;

TEST(SettingsFileEncoding, ReadsOneCharacterPerByteWithCrLfAsLf)
{
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", u"a\nb\n"},
        {"a\nb", u"a\nb"},                    // bare LF stays LF
        {"a\rb\r", u"a\rb\r"},                // a lone CR is an ordinary character
        {"a\r\r\nb", u"a\r\nb"},
        {"ab\x1A" "cd\r\n", u"ab"},           // Ctrl-Z ends the text
        {"\x1A" "abc", u""},
        {"\xEF\xBB\xBF[x]", u"\u00EF\u00BB\u00BF[x]"},  // a byte-order mark is three characters
        {"\x80\xFF", u"\u0080\u00FF"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeSettingsBytes(c.bytes), c.text) << c.bytes;
}

TEST(SettingsFileEncoding, WritesEveryLfAsCrLfAndEachCharacterAsItsByte)
{
    EXPECT_EQ(EncodeSettingsText(u"a\nb\n\n"), "a\r\nb\r\n\r\n");
    EXPECT_EQ(EncodeSettingsText(u"a\rb"), "a\rb");
    EXPECT_EQ(EncodeSettingsText(u"\u00E9\u00FF"), "\xE9\xFF");
    EXPECT_EQ(EncodeSettingsText(u"\u20AC=1;"), "?=1;");

    // Everything a file can hold survives a write and a read.
    std::u16string every;
    for (char16_t c = 0; c <= 0xFF; ++c) {
        if (c != 0x1A)
            every.push_back(c);
    }
    every += u"\r\n\r\r\n\n\r";
    EXPECT_EQ(DecodeSettingsBytes(EncodeSettingsText(every)), every);
}

class IniTextFile : public ScratchFolder {};

TEST_F(IniTextFile, ReadsSmallAndLargeFilesWhole)
{
    WriteFile(settingsFile, "[a]\r\nb");
    IniText small;
    EXPECT_TRUE(small.loaded);
    EXPECT_EQ(small.text, u"[a]\nb");

    // Several kilobytes with lines far longer than 99 characters.
    std::string bytes = "[Zentrix Vaderur]\r\n";
    std::u16string expected = u"[Zentrix Vaderur]\n";
    for (int line = 0; line < 60; ++line) {
        const std::string content = "; " + std::string(static_cast<size_t>(40 + line * 7), 'x') + std::to_string(line);
        bytes += content + (line % 2 ? "\r\n" : "\n");
        expected += Wide(content) + u"\n";
    }
    ASSERT_GT(bytes.size(), 8000u);
    WriteFile(settingsFile, bytes);
    IniText large;
    EXPECT_TRUE(large.loaded);
    EXPECT_EQ(large.text, expected);
}

TEST_F(IniTextFile, MissingOrEmptyFileIsNotLoaded)
{
    IniText missing;
    EXPECT_FALSE(missing.loaded);
    EXPECT_FALSE(missing.text.has_value());

    for (const std::string& bytes : {std::string(), std::string("\x1A" "BGColor=1;")}) {
        WriteFile(settingsFile, bytes);
        IniText empty;
        EXPECT_FALSE(empty.loaded);
        EXPECT_EQ(empty.text, u"");
    }

    // A failed open leaves the text as it was.
    WriteFile(settingsFile, "[a]\r\n");
    IniText ini;
    std::filesystem::remove(settingsFile);
    EXPECT_FALSE(ini.Load());
    EXPECT_EQ(ini.text, u"[a]\n");
}

TEST(IniTextSetValue, ReplacesOrAppendsOneEntry)
{
    struct Case {
        const char* name;
        std::u16string text;
        std::u16string key;
        std::u16string value;
        bool result;
        std::u16string after;
    };
    const std::u16string lacksKey = u"[Zentrix Vaderur]\nShowSyatrayIcon=0;\n\n";
    const Case cases[] = {
        {"replaces the value", u"[Zentrix Vaderur]\nShowSyatrayIcon=0;\nStartMinimized=0;", u"ShowSyatrayIcon", u"1",
         true, u"[Zentrix Vaderur]\nShowSyatrayIcon=1;\nStartMinimized=0;"},
        {"drops a longer old value whole", u"[h]\nShowSyatrayIcon=12345; note\n", u"ShowSyatrayIcon", u"0", true,
         u"[h]\nShowSyatrayIcon=0; note\n"},
        {"appends after the trailing line feeds", lacksKey, u"StartMinimized", u"1", true,
         lacksKey + u"\nStartMinimized=1;"},
        {"refuses a key at the very start", u"StartMinimized=0;\nA=1;", u"StartMinimized", u"1", false,
         u"StartMinimized=0;\nA=1;"},
        {"matches case exactly, so another case is appended", u"[h]\nshowsyatrayicon=1;\n", u"ShowSyatrayIcon",
         u"0", true, u"[h]\nshowsyatrayicon=1;\n\nShowSyatrayIcon=0;"},
        {"replaces from inside a comment to the next ;", u"[h]\n; set ShowSyatrayIcon here\nShowSyatrayIcon=0;\nB=1;",
         u"ShowSyatrayIcon", u"1", true, u"[h]\n; set ShowSyatrayIcon=1;\nB=1;"},
        {"finds the key inside a longer key", u"[h]\nXShowXAxis=0;\nShowXAxis=0;", u"ShowXAxis", u"1", true,
         u"[h]\nXShowXAxis=1;\nShowXAxis=0;"},
        {"ends an entry without ; at its line", u"[h]\nStartMinimized=0\nA=1", u"StartMinimized", u"1", true,
         u"[h]\nStartMinimized=1;\nA=1"},
        {"ends an entry without ; at the end of the text", u"[h]\nStartMinimized", u"StartMinimized", u"1", true,
         u"[h]\nStartMinimized=1;"},
    };
    for (const Case& c : cases) {
        IniText ini;
        ini.text = c.text;
        EXPECT_EQ(ini.SetValue(c.key, c.value), c.result) << c.name;
        EXPECT_EQ(ini.text, c.after) << c.name;
    }
}

class StoreFlagFile : public ScratchFolder {};

TEST_F(StoreFlagFile, RewritesOneEntryWithCrLfAndNothingElse)
{
    const std::string before = EncodeSettingsText(defaultSettingsText);
    WriteFile(settingsFile, before);
    StoreFlag(u"ShowSyatrayIcon", true);
    std::string expected = before;
    expected.replace(expected.find("ShowSyatrayIcon=0"), 17, "ShowSyatrayIcon=1");
    EXPECT_EQ(ReadFile(settingsFile), expected);

    StoreFlag(u"StartMinimized", true);
    StoreFlag(u"ShowSyatrayIcon", false);
    expected.replace(expected.find("ShowSyatrayIcon=1"), 17, "ShowSyatrayIcon=0");
    expected.replace(expected.find("StartMinimized=0"), 16, "StartMinimized=1");
    EXPECT_EQ(ReadFile(settingsFile), expected);
    EXPECT_EQ(FolderContents(), Folder{settingsFile});  // no temporary file is left

    WriteFile(settingsFile, "[h]\nStartMinimized=0;\n");
    StoreFlag(u"StartMinimized", true);
    EXPECT_EQ(ReadFile(settingsFile), "[h]\r\nStartMinimized=1;\r\n");
}

// A link among the stale temporaries (made on the Unix side by make-settings-links.sh; Wine
// shows it as the file it leads to) is never followed: the sweep leaves that file alone.
TEST_F(StoreFlagFile, TheSweepNeverRemovesWhatALinkAmongTheTemporariesLeadsTo)
{
    const std::filesystem::path links = home / "unix-links";
    if (!std::filesystem::exists(links / "elsewhere" / "victim.txt"))
        GTEST_SKIP() << "no links made on the Unix side (tests/settings/make-settings-links.sh)";
    std::filesystem::current_path(links);
    WriteFile(settingsFile, EncodeSettingsText(defaultSettingsText));
    StoreFlag(u"StartMinimized", true);
    const std::optional<std::string> victim = ReadFile((links / "elsewhere" / "victim.txt").string());
    std::filesystem::current_path(folder);
    EXPECT_EQ(victim, std::optional<std::string>("not the plug-in's\n"));
}

// The current folder's name may hold characters no 8-bit code page has: the toggles are
// still saved, and the file's own bytes stay one per character.
TEST_F(StoreFlagFile, BothTogglesAreSavedInFoldersNamedInAnyScript)
{
    const char* const names[] = {u8"\u041F\u0440\u0438\u0432\u0435\u0442", u8"\u65E5\u672C\u8A9E",
                                 u8"emoji \U0001F600", u8"mixed \u00E9 \u0416 \u4E2D \U0001F321"};
    const std::string before = EncodeSettingsText(defaultSettingsText);
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const std::filesystem::path named = folder / std::filesystem::u8path(name);
        std::filesystem::create_directory(named);
        std::filesystem::current_path(named);
        WriteFile(settingsFile, before);
        StoreFlag(u"ShowSyatrayIcon", true);
        StoreFlag(u"StartMinimized", true);
        std::string expected = before;
        expected.replace(expected.find("ShowSyatrayIcon=0"), 17, "ShowSyatrayIcon=1");
        expected.replace(expected.find("StartMinimized=0"), 16, "StartMinimized=1");
        EXPECT_EQ(ReadFile(settingsFile), expected);
        EXPECT_EQ(FolderContents(), Folder{settingsFile});
        std::filesystem::current_path(folder);
    }
}

TEST_F(StoreFlagFile, StoreValuesRewritesEveryKeyInOneWriteAndLeavesAReadOnlyFileAlone)
{
    namespace fs = std::filesystem;
    WriteFile(settingsFile, "[h]\nWindowTop=5;\nA=1;\n");
    EXPECT_TRUE(StoreValues({{u"WindowLeft", u"-12"}, {u"WindowTop", u"40"}, {u"WindowMaximized", u"1"}}));
    EXPECT_EQ(ReadFile(settingsFile), "[h]\r\nWindowTop=40;\r\nA=1;\r\n\r\nWindowLeft=-12;\r\nWindowMaximized=1;");
    EXPECT_EQ(FolderContents(), Folder{settingsFile});

    const std::optional<std::string> before = ReadFile(settingsFile);
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(settingsFile, writable, fs::perm_options::remove);
    EXPECT_FALSE(StoreValues({{u"WindowLeft", u"7"}}));
    EXPECT_EQ(ReadFile(settingsFile), before);
    fs::permissions(settingsFile, fs::perms::owner_write, fs::perm_options::add);

    fs::remove(settingsFile);
    EXPECT_FALSE(StoreValues({{u"WindowLeft", u"7"}}));
    EXPECT_EQ(FolderContents(), Folder{});
}

TEST_F(StoreFlagFile, KeyAtTheStartRewritesTheFileUnchanged)
{
    WriteFile(settingsFile, "StartMinimized=0;\nA=1;\n");
    StoreFlag(u"StartMinimized", true);
    EXPECT_EQ(ReadFile(settingsFile), "StartMinimized=0;\r\nA=1;\r\n");
}

TEST_F(StoreFlagFile, MissingOrEmptyFileStaysAsItIs)
{
    StoreFlag(u"ShowSyatrayIcon", true);
    EXPECT_EQ(FolderContents(), Folder{});

    WriteFile(settingsFile, "");
    StoreFlag(u"ShowSyatrayIcon", true);
    EXPECT_EQ(ReadFile(settingsFile), "");
    EXPECT_EQ(FolderContents(), Folder{settingsFile});
}

TEST_F(StoreFlagFile, KeyInAnotherCaseIsAppendedAndTheEarlierLineStillWins)
{
    WriteFile(settingsFile, "[h]\r\nshowsyatrayicon=1;\r\n");
    StoreFlag(u"ShowSyatrayIcon", false);
    EXPECT_EQ(ReadFile(settingsFile), "[h]\r\nshowsyatrayicon=1;\r\n\r\nShowSyatrayIcon=0;");
    EXPECT_TRUE(ReadSettings(nullptr, 0)->ShowSyatrayIcon);
}

class SafeRewrite : public ScratchFolder {};

TEST_F(SafeRewrite, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    WriteFile(settingsFile, "[h]\r\nShowSyatrayIcon=0;\r\n");
    // The temporary file cannot be created when a folder has taken its name.
    const std::string temporary = settingsFile + "." + std::to_string(CurrentProcessNumber()) + ".tmp";
    std::filesystem::create_directory(temporary);
    StoreFlag(u"ShowSyatrayIcon", true);
    EXPECT_FALSE(WriteSettingsFile(u"[h]\n"));
    EXPECT_EQ(ReadFile(settingsFile), "[h]\r\nShowSyatrayIcon=0;\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(temporary));
    std::filesystem::remove(temporary);

    // The file cannot be replaced when a folder has taken the settings file's name.
    std::filesystem::remove(settingsFile);
    std::filesystem::create_directory(settingsFile);
    EXPECT_FALSE(WriteSettingsFile(u"[h]\n"));
    EXPECT_TRUE(std::filesystem::is_directory(settingsFile));
    EXPECT_EQ(FolderContents(), Folder{settingsFile});
}

TEST_F(SafeRewrite, AReadOnlyFileIsLeftAsItIs)
{
    namespace fs = std::filesystem;
    const std::string before = "[h]\r\nShowSyatrayIcon=0;\r\n";
    WriteFile(settingsFile, before);
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(settingsFile, writable, fs::perm_options::remove);

    EXPECT_FALSE(WriteSettingsFile(u"[h]\nShowSyatrayIcon=1;\n"));
    EXPECT_EQ(ReadFile(settingsFile), before);
    EXPECT_EQ(fs::status(settingsFile).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(FolderContents(), Folder{settingsFile});
    fs::permissions(settingsFile, fs::perms::owner_write, fs::perm_options::add);
}

// The name may be a symbolic or a hard link to the file the user keeps elsewhere: the rewrite
// goes to that file, and the link stays a link.
TEST_F(SafeRewrite, LinksStillNameTheRewrittenFile)
{
    namespace fs = std::filesystem;
    const std::string before = "[h]\r\nShowSyatrayIcon=0;\r\n";
    fs::create_directory("kept");
    const std::string kept = "kept/Vaderur.ini";
    WriteFile(kept, before);
    std::error_code noSymlinks;
    fs::create_symlink(fs::absolute(kept), settingsFile, noSymlinks);
    if (!noSymlinks) {
        EXPECT_TRUE(WriteSettingsFile(u"[h]\n"));
        EXPECT_TRUE(fs::is_symlink(settingsFile));
        EXPECT_EQ(ReadFile(kept), "[h]\r\n");
        EXPECT_EQ(FolderContents(), (Folder{settingsFile, "kept"}));
        EXPECT_EQ(fs::directory_iterator("kept")->path().filename().string(), settingsFile);
        fs::remove(settingsFile);
    }

    fs::create_hard_link(kept, settingsFile);
    EXPECT_TRUE(WriteSettingsFile(u"[x]\n"));
    EXPECT_EQ(ReadFile(kept), "[x]\r\n");
    WriteFile(kept, "[y]\r\n");
    EXPECT_EQ(ReadFile(settingsFile), "[y]\r\n") << "still one file under two names";
    EXPECT_EQ(FolderContents(), (Folder{settingsFile, "kept"}));
    if (noSymlinks)
        GTEST_SKIP() << "symbolic links cannot be made here: " << noSymlinks.message();
}

TEST_F(SafeRewrite, CreatingNeverReplacesAFile)
{
    EXPECT_TRUE(CreateSettingsFile(u"[new]\n"));
    EXPECT_EQ(ReadFile(settingsFile), "[new]\r\n");
    EXPECT_FALSE(CreateSettingsFile(u"[newer]\n"));
    EXPECT_EQ(ReadFile(settingsFile), "[new]\r\n");
    EXPECT_EQ(FolderContents(), Folder{settingsFile});
}

// A process killed between writing its temporary file and moving it leaves the temporary
// behind: the next write in the folder removes such files, when they are older than this
// process, and only names of exactly our naming.
TEST_F(SafeRewrite, WritingRemovesOnlyOldTemporariesOfItsOwnNaming)
{
    namespace fs = std::filesystem;
    const std::vector<std::string> ours = {"Vaderur.ini.1.tmp", "Vaderur.ini.4294967295.tmp"};
    const std::vector<std::string> others = {"Vaderur.ini.tmp",    "Vaderur.ini..tmp",  "Vaderur.ini.1.2.tmp",
                                             "Vaderur.ini.x1.tmp", "Vaderur.ini.1.tmpx", "Vaderur.ini.1",
                                             "Other.ini.1.tmp",    "xVaderur.ini.1.tmp", "Vaderur.ini 1.tmp"};
    const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto* names : {&ours, &others}) {
        for (const std::string& name : *names) {
            WriteFile(name, "old");
            fs::last_write_time(name, anHourAgo);
        }
    }
    // Of our naming, but written after this process started: another running process's.
    WriteFile("Vaderur.ini.2.tmp", "new");

    EXPECT_TRUE(CreateSettingsFile(u"[h]\n"));
    for (const std::string& name : ours)
        EXPECT_FALSE(fs::exists(name)) << name;
    for (const std::string& name : others)
        EXPECT_TRUE(fs::exists(name)) << name;
    EXPECT_TRUE(fs::exists("Vaderur.ini.2.tmp"));

    // A rewrite cleans up as the creation does.
    WriteFile("Vaderur.ini.3.tmp", "old");
    fs::last_write_time("Vaderur.ini.3.tmp", anHourAgo);
    EXPECT_TRUE(WriteSettingsFile(u"[x]\n"));
    EXPECT_FALSE(fs::exists("Vaderur.ini.3.tmp"));
    EXPECT_EQ(ReadFile(settingsFile), "[x]\r\n");
}

}  // namespace
