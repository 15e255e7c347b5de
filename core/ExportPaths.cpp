#include "core/ExportPaths.h"

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
    size_t partLength = 0;
    while (part[partLength] != L'\0') {
        if (length + partLength + 1 >= exportPathCapacity) {
            fits = false;
            return *this;
        }
        ++partLength;
    }
    for (size_t i = 0; i < partLength; ++i)
        text[length + i] = part[i];
    length += partLength;
    text[length] = L'\0';
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
