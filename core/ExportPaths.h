// Builds the export's file names ("<folder>\<title>.png" and friends) in a fixed buffer of
// 260 characters, refusing any name that does not fit instead of cutting it. Portable.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t exportPathCapacity = 260;  // characters, terminator included

class ExportPath {
public:
    ExportPath() = default;
    // "<folder>\<title><extension>"
    ExportPath(const wchar_t* folder, const wchar_t* title, const wchar_t* extension);

    ExportPath& Append(const wchar_t* text);

    // False once anything appended did not fit (the text then stays at what did fit whole).
    bool Fits() const { return fits; }
    const wchar_t* Text() const { return text; }
    size_t Length() const { return length; }

private:
    wchar_t text[exportPathCapacity] = {};
    size_t length = 0;
    bool fits = true;
};

// True for a name the export gives its temporary PNGs, exactly: "Core #<n>.tmp", and
// "Core #<n>.<thread id>.tmp" of earlier versions.
bool IsPictureTemporaryName(const wchar_t* name);
