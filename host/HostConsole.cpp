#include "host/HostConsole.h"

#include <windows.h>

#include <iterator>

namespace {

void Write(DWORD which, const std::wstring& text)
{
    const HANDLE out = GetStdHandle(which);
    if (!out || out == INVALID_HANDLE_VALUE || text.empty())
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr, nullptr);
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// Replaces each insert of a message-table text ("%N", with its "!format!" if any) by insert
// for N = 1 and by nothing otherwise; a dropped insert takes one space beside it along.
std::wstring FillInserts(const std::wstring& text, const std::wstring& insert)
{
    std::wstring filled;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%' || i + 1 == text.size() || text[i + 1] < L'1' || text[i + 1] > L'9') {
            filled += text[i];
            continue;
        }
        size_t end = i + 1;
        unsigned number = 0;
        for (; end < text.size() && text[end] >= L'0' && text[end] <= L'9'; ++end)
            number = number * 10 + static_cast<unsigned>(text[end] - L'0');
        const size_t format = end < text.size() && text[end] == L'!' ? text.find(L'!', end + 1) : std::wstring::npos;
        if (format != std::wstring::npos)
            end = format + 1;
        if (number == 1 && !insert.empty())
            filled += insert;
        else if (!filled.empty() && filled.back() == L' ')
            filled.pop_back();
        else if (end < text.size() && text[end] == L' ')
            ++end;
        i = end - 1;
    }
    return filled;
}

}  // namespace

void PrintOut(const std::wstring& text)
{
    Write(STD_OUTPUT_HANDLE, text);
}

void PrintError(const std::wstring& text)
{
    Write(STD_ERROR_HANDLE, L"zentrix-host: " + text + L"\n");
}

std::wstring WidenUtf8(const std::string& utf8)
{
    const int chars = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (chars <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), chars);
    return wide;
}

std::wstring SystemErrorText(unsigned long code, const std::wstring& file)
{
    wchar_t buffer[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text = FillInserts(std::wstring(buffer, length), file.substr(file.find_last_of(L"\\/") + 1));
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        text = L"system error";
    return text + L" (error " + std::to_wstring(code) + L")";
}
