// The plug-in as the host sees it: Vaderur.dll loaded by name, driven through its exports.
#include "tests/plugin/HostHarness.h"

#include "tests/support/DllFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

class PluginDll : public testsupport::DllFixture {
protected:
    void SetUp() override
    {
        DllFixture::SetUp();
        if (HasFatalFailure())
            return;
        hostWindow = testhost::CreateHostWindow();
    }
    PluginRecord* Attach()
    {
        PluginRecord* record = getPlugin();
        record->info->hostWindow = hostWindow;
        record->info->hostInstance = module;
        record->info->closeRequest = RecordCloseRequest;
        return record;
    }
};

TEST_F(PluginDll, TheRecordIsTheSameAcrossCallsAndKeepsTheHostFields)
{
    PluginRecord* first = Attach();
    EXPECT_EQ(first->firstWord, 1u);
    EXPECT_EQ(first->secondWord, 1u);
    ASSERT_NE(first->info, nullptr);
    EXPECT_STREQ(first->info->versionText, L"1.2");
    EXPECT_STREQ(first->info->nameText, L"Zentrix Vaderur");
    EXPECT_EQ(std::wstring(first->info->descriptionText).rfind(L"Zentrix Vaderur plugin by ", 0), 0u);
    PluginInfo* info = first->info;

    PluginRecord* second = getPlugin();
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->info, info);
    EXPECT_EQ(info->hostWindow, hostWindow);
    EXPECT_EQ(info->hostInstance, module);
    EXPECT_EQ(info->closeRequest, &RecordCloseRequest);
    for (auto op : {reinterpret_cast<void*>(second->Start), reinterpret_cast<void*>(second->Update),
                    reinterpret_cast<void*>(second->Stop), reinterpret_cast<void*>(second->Configure),
                    reinterpret_cast<void*>(second->Remove)})
        EXPECT_NE(op, nullptr);
}

TEST_F(PluginDll, ReleaseWithoutAnObjectDoesNothingAndANewObjectFollows)
{
    releasePlugin();
    releasePlugin();
    PluginRecord* record = Attach();
    ASSERT_NE(record, nullptr);
    releasePlugin();
    releasePlugin();
    record = Attach();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->firstWord, 1u);
}

TEST_F(PluginDll, StartAndStopBeforeTheFirstUpdateDoNothing)
{
    PluginRecord* record = Attach();
    EXPECT_EQ(record->Start(), 0);
    record->Stop();
    record->Remove();
    testhost::Pump();
    EXPECT_EQ(testhost::PluginMainWindow(), nullptr);
}

TEST_F(PluginDll, ANullSnapshotCreatesNoWindow)
{
    PluginRecord* record = Attach();
    record->Update(nullptr);
    testhost::Pump();
    EXPECT_EQ(testhost::PluginMainWindow(), nullptr);
    EXPECT_EQ(record->Start(), 0);
}

TEST_F(PluginDll, TheFirstSnapshotFixesThePaneCount)
{
    PluginRecord* record = Attach();
    SensorSnapshot four = testhost::MakeSnapshot(4);
    record->Update(&four);
    testhost::Pump();
    HWND main = testhost::PluginMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(testhost::ChildWindows(main).size(), 4u);

    SensorSnapshot eight = testhost::MakeSnapshot(8);
    for (int i = 0; i < 3; ++i)
        record->Update(&eight);
    testhost::Pump();
    EXPECT_EQ(testhost::PluginMainWindow(), main);
    EXPECT_EQ(testhost::ChildWindows(main).size(), 4u);

    record->Stop();
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_EQ(record->Start(), 0);
    EXPECT_TRUE(::IsWindowVisible(main));
}

TEST_F(PluginDll, ConfigureShowsItsNoticeOwnedByTheHostWindow)
{
    PluginRecord* record = Attach();
    const DWORD hostThread = ::GetCurrentThreadId();
    std::atomic<bool> seen{false};
    std::wstring caption, text;
    HWND owner = nullptr;

    // The message box runs a modal loop on this thread; a watcher finds it, reads it and ends it.
    std::thread watcher([&] {
        for (int tries = 0; tries < 500 && !seen; ++tries) {
            ::EnumThreadWindows(
                hostThread,
                [](HWND w, LPARAM p) -> BOOL {
                    wchar_t cls[64] = {};
                    ::GetClassNameW(w, cls, 64);
                    if (std::wcscmp(cls, L"#32770") != 0 || !::IsWindowVisible(w))
                        return TRUE;
                    *reinterpret_cast<HWND*>(p) = w;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&owner));
            if (owner) {
                HWND box = owner;
                wchar_t buffer[200] = {};
                ::GetWindowTextW(box, buffer, 200);
                caption = buffer;
                for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
                    wchar_t cls[64] = {};
                    ::GetClassNameW(c, cls, 64);
                    ::GetWindowTextW(c, buffer, 200);
                    if (std::wcscmp(cls, L"Static") == 0 && buffer[0])
                        text = buffer;
                }
                owner = ::GetWindow(box, GW_OWNER);
                seen = true;
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(10);  // polling a foreign thread's windows, bounded by the try count
        }
    });
    const int result = record->Configure();
    watcher.join();
    EXPECT_EQ(result, 1);
    ASSERT_TRUE(seen);
    EXPECT_EQ(caption, L"Notice");
    EXPECT_EQ(text, L"Please use the plugin menu for settings.");
    EXPECT_EQ(owner, hostWindow);
}

TEST_F(PluginDll, ClosingTheWindowAsksTheHostAndKeepsTheWindow)
{
    PluginRecord* record = Attach();
    SensorSnapshot two = testhost::MakeSnapshot(2);
    record->Update(&two);
    HWND main = testhost::PluginMainWindow();
    ASSERT_NE(main, nullptr);
    ::SendMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(closeRequests.size(), 1u);
    EXPECT_EQ(closeRequests[0], record);
    EXPECT_TRUE(::IsWindow(main));
    releasePlugin();
    EXPECT_FALSE(::IsWindow(main));
}

}  // namespace
