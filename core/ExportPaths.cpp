#include "core/ExportPaths.h"

#include <string>

namespace {

// Skips the text when name starts with it; null otherwise.
const wchar_t* After(const wchar_t* name, const wchar_t* text)
{
    for (; *text != L'\0'; ++name, ++text) {
        if (*name != *text)
            return nullptr;
    }
    return name;
}

// Skips one or more decimal digits; null when there is none.
const wchar_t* AfterDigits(const wchar_t* name)
{
    const wchar_t* end = name;
    while (*end >= L'0' && *end <= L'9')
        ++end;
    return end == name ? nullptr : end;
}

}  // namespace

std::wstring LongPathForm(std::wstring_view path)
{
    if (path.size() < classicPathLimit || path.substr(0, 4) == L"\\\\?\\")
        return std::wstring(path);
    if (path.substr(0, 2) == L"\\\\")
        return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    return drive ? L"\\\\?\\" + std::wstring(path) : std::wstring(path);
}

ExportPath::ExportPath(const wchar_t* folder, const wchar_t* title, const wchar_t* extension)
{
    Append(folder).Append(L"\\").Append(title).Append(extension);
}

ExportPath& ExportPath::Append(const wchar_t* part)
{
    if (!fits)
        return *this;
    if (!part) {
        fits = false;
        return *this;
    }
    const std::wstring_view added(part);
    // Room for the longest prefix the long form adds ("\\?\UNC\" in place of "\\").
    if (text.size() + added.size() + 6 > longestPath) {
        fits = false;
        return *this;
    }
    text += added;
    usable = LongPathForm(text);
    return *this;
}

bool IsPictureTemporaryName(const wchar_t* name)
{
    const wchar_t* rest = name ? After(name, L"Core #") : nullptr;
    rest = rest ? AfterDigits(rest) : nullptr;
    if (!rest)
        return false;
    if (const wchar_t* threadPart = After(rest, L"."))
        if (const wchar_t* afterThread = AfterDigits(threadPart))
            rest = afterThread;
    const wchar_t* end = After(rest, L".tmp");
    return end && *end == L'\0';
}
