// The settings file of the test's current folder, "Vaderur.ini", written and read byte for
// byte: the one writer the tests that drive the plug-in share.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace testsupport {

// The lines after the section header, one per entry ("GraphWidth=600;"); CR LF on disk. An
// entry may itself be a blank line or another section's header.
inline void WriteSettings(const std::vector<std::string>& entries)
{
    std::string text = "[Zentrix Vaderur]\r\n";
    for (const std::string& entry : entries)
        text += entry + "\r\n";
    FILE* file = std::fopen("Vaderur.ini", "wb");
    if (!file)
        return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

inline std::string ReadSettingsFile()
{
    std::string text;
    FILE* file = std::fopen("Vaderur.ini", "rb");
    if (!file)
        return text;
    char buffer[512];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

inline bool SettingsFileExists()
{
    return ::GetFileAttributesW(L"Vaderur.ini") != INVALID_FILE_ATTRIBUTES;
}

inline void RemoveSettings() { ::DeleteFileW(L"Vaderur.ini"); }

}  // namespace testsupport
