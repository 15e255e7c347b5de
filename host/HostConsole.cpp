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

std::wstring SystemErrorText(unsigned long code)
{
    wchar_t buffer[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        text = L"system error";
    return text + L" (error " + std::to_wstring(code) + L")";
}
