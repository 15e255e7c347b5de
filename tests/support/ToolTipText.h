// Reads a tooltip control's tools back as a user would see them: the text of one tool, and
// each tool in turn. Shared by the tests of the hover readout and the heat map's cell tips.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace testsupport {

// The text the tooltip control holds now for the tool (owner, id); capacity in characters.
inline std::wstring ToolText(HWND tips, HWND owner, UINT_PTR id, size_t capacity = 1024)
{
    std::vector<wchar_t> text(capacity, L'\0');
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = owner;
    tool.uId = id;
    tool.lpszText = text.data();
    ::SendMessageW(tips, TTM_GETTEXTW, capacity, reinterpret_cast<LPARAM>(&tool));
    return text.data();
}

// The index-th tool of the control (TTM_ENUMTOOLSW); false when there is none.
inline bool ToolAt(HWND tips, UINT index, TTTOOLINFOW& tool)
{
    tool = TTTOOLINFOW{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    return ::SendMessageW(tips, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)) != 0;
}

}  // namespace testsupport
