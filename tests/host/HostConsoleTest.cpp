// The host's system error texts: the message table's "%1" inserts are filled with what the
// caller names, or left out, never printed as they stand.
#include "host/HostConsole.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(HostConsole, SystemErrorTextsFillOrDropTheirInserts)
{
    struct Case {
        unsigned long code;  // texts with a "%1" under Wine and Windows alike
        const wchar_t* file;
        const wchar_t* name;  // what fills "%1"
    };
    const Case cases[] = {
        {ERROR_BAD_EXE_FORMAT, L"C:\\plug-ins\\text.dll", L"text.dll"},
        {ERROR_BAD_EXE_FORMAT, L"", L""},
        {ERROR_INVALID_ORDINAL, L"x.dll", L"x.dll"},
        {ERROR_INVALID_EXE_SIGNATURE, L"", L""},
        {ERROR_MR_MID_NOT_FOUND, L"logs/a.csv", L"a.csv"},
        {ERROR_MR_MID_NOT_FOUND, L"", L""},
    };
    for (const Case& c : cases) {
        const std::wstring text = SystemErrorText(c.code, c.file);
        const std::string shown(text.begin(), text.end());
        EXPECT_EQ(text.find(L'%'), std::wstring::npos) << shown;
        EXPECT_EQ(text.find(L"  "), std::wstring::npos) << shown;
        EXPECT_NE(text.front(), L' ') << shown;
        EXPECT_TRUE(EndsWith(text, L" (error " + std::to_wstring(c.code) + L")")) << shown;
        if (*c.name != L'\0') {
            EXPECT_NE(text.find(c.name), std::wstring::npos) << shown;
            EXPECT_EQ(text.find(L"\\"), std::wstring::npos) << shown;
        }
    }
    // A text without inserts is passed on as the system words it.
    wchar_t plain[512] = {};
    ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND, 0, plain,
                     512, nullptr);
    std::wstring expected = plain;
    while (!expected.empty() && (expected.back() == L'\n' || expected.back() == L'\r' || expected.back() == L'.'))
        expected.pop_back();
    EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND, L"unused.csv"), expected + L" (error 2)");
}

}  // namespace
