// The resources of Vaderur.dll that the window uses: the menu with its ids and texts, the
// accelerator table that nothing loads, the two strings and the About box template.
#include "resources/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

struct Library {
    HMODULE module = ::LoadLibraryW(L"Vaderur.dll");
    ~Library()
    {
        if (module)
            ::FreeLibrary(module);
    }
};

TEST(WindowResources, TheMenuAcceleratorsStringsAndAboutBoxAreTheProducts)
{
    const Library library;
    const HMODULE module = library.module;
    ASSERT_NE(module, nullptr);
    HMENU menu = ::LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_NE(menu, nullptr);
    const struct {
        const wchar_t* popup;
        std::vector<std::pair<UINT, const wchar_t*>> items;  // id 0: separator
    } popups[] = {
        {L"&File", {{IDM_EXIT, L"E&xit"}}},
        {L"&View",
         {{IDM_USE_BARS, L"Use &bars"},
          {IDM_USE_LINE, L"Use &line"},
          {0, nullptr},
          {IDM_TRAY_ICON, L"System &tray icon"},
          {IDM_START_MINIMIZED, L"Start &minimized"}}},
        {L"&Actions",
         {{IDM_CLEAR_HISTORY, L"Clear &history"},
          {IDM_CREATE_PNG, L"Create &PNG"},
          {0, nullptr},
          {IDM_OPEN_FOLDER, L"Open &folder"},
          {0, nullptr},
          {IDM_RELOAD_COLORS, L"Reload &colors"}}},
        {L"&Help", {{IDM_ABOUT, L"&About ..."}}},
    };
    ASSERT_EQ(::GetMenuItemCount(menu), 4);
    for (int p = 0; p < 4; ++p) {
        wchar_t text[64] = {};
        ::GetMenuStringW(menu, p, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, popups[p].popup);
        HMENU sub = ::GetSubMenu(menu, p);
        ASSERT_NE(sub, nullptr);
        ASSERT_EQ(::GetMenuItemCount(sub), static_cast<int>(popups[p].items.size())) << p;
        for (int i = 0; i < ::GetMenuItemCount(sub); ++i) {
            const auto& [id, itemText] = popups[p].items[i];
            const UINT state = ::GetMenuState(sub, i, MF_BYPOSITION);
            if (id == 0) {
                EXPECT_NE(state & MF_SEPARATOR, 0u) << p << "/" << i;
                continue;
            }
            EXPECT_EQ(state & (MF_CHECKED | MF_GRAYED | MF_DISABLED), 0u) << p << "/" << i;
            EXPECT_EQ(::GetMenuItemID(sub, i), id);
            ::GetMenuStringW(sub, i, text, 64, MF_BYPOSITION);
            EXPECT_STREQ(text, itemText);
        }
    }
    ::DestroyMenu(menu);

    HACCEL accelerators = ::LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(::CopyAcceleratorTableW(accelerators, entries, 4), 2);
    EXPECT_EQ(entries[0].key, '?');
    EXPECT_EQ(entries[1].key, '/');
    for (const ACCEL& a : {entries[0], entries[1]}) {
        EXPECT_EQ(a.cmd, IDM_ABOUT);
        EXPECT_EQ(a.fVirt & (FALT | FVIRTKEY | FCONTROL | FSHIFT), FALT);
    }
    ::DestroyAcceleratorTable(accelerators);

    wchar_t text[100] = {};
    ::LoadStringW(module, IDS_APP_TITLE, text, 100);
    EXPECT_STREQ(text, L"Zentrix Vaderur Beta 1.2");
    ::LoadStringW(module, IDC_MOLTAVIS, text, 100);
    EXPECT_STREQ(text, L"MOLTAVIS");

    // The About box is an extended template with the style the plug-in has always had.
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDD_ABOUTBOX), MAKEINTRESOURCEW(5));
    ASSERT_NE(found, nullptr);
    const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(module, found)));
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words[0], 1);
    EXPECT_EQ(words[1], 0xFFFF);
    DWORD style = 0;
    std::memcpy(&style, words + 6, sizeof style);
    EXPECT_EQ(style, 0x00C800C0u);
    EXPECT_EQ(words[8], 4);  // controls
}

}  // namespace
