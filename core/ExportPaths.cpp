#include "core/ExportPaths.h"

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
