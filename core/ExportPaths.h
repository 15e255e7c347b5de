// Builds the export's file names ("<folder>\<title>.png" and friends), and the long form the
// system needs for a path past the classic 260 characters. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The buffer GetOutputFolder fills (the folder handed to the shell), terminator included.
constexpr size_t exportPathCapacity = 260;
// The longest path the wide file calls take, in the "\\?\" form, without terminator.
constexpr size_t longestPath = 32767;
// From this length on a path goes to the system in the "\\?\" form: the classic calls stop at
// 260 characters for a file and at 248 for a folder.
constexpr size_t classicPathLimit = 248;

// "\\?\C:\..." or "\\?\UNC\server\..." for a full path of classicPathLimit characters or
// more; a shorter one, a relative one and one already in that form as they are.
std::wstring LongPathForm(std::wstring_view path);

class ExportPath {
public:
    ExportPath() = default;
    // "<folder>\<title><extension>"
    ExportPath(const wchar_t* folder, const wchar_t* title, const wchar_t* extension);

    ExportPath& Append(const wchar_t* text);

    // False once anything appended was missing or made the path longer than the system takes
    // (the text then stays at what came before).
    bool Fits() const { return fits; }
    // The path as the file calls take it: in the long form when it is that long.
    const wchar_t* Text() const { return usable.c_str(); }
    // The path as built.
    const std::wstring& Plain() const { return text; }
    size_t Length() const { return text.size(); }

private:
    std::wstring text;
    std::wstring usable;
    bool fits = true;
};

// True for a name the export gives its temporary PNGs, exactly: "Core #<n>.tmp", and
// "Core #<n>.<thread id>.tmp" of earlier versions.
bool IsPictureTemporaryName(const wchar_t* name);
