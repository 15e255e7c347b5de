// The settings file "Vaderur.ini" held in memory as one wide string, one character per byte.
// Lives for one operation: built, loaded, changed, written and dropped by its user.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

class IniText {
public:
    static constexpr const char* fileName = "Vaderur.ini";

    // Loads the file from the current directory; loaded tells whether that worked.
    IniText();

    bool Load();
    // Replaces or appends key=value; false (and nothing changes) when the key text stands
    // at the very start of the text.
    bool SetValue(const std::u16string& key, const std::u16string& value);
    // Writes the whole text back, CR LF line ends, through a temporary file that replaces
    // the old one, so a failure never leaves a cut settings file.
    bool Write() const;

    bool loaded = false;
    std::optional<std::u16string> text;
};

// Sets key to "1" or "0" in the settings file and rewrites it; a missing file stays missing.
void StoreFlag(const std::u16string& key, bool on);

// Sets every key to its value in the settings file and rewrites it once, as StoreFlag does;
// false when nothing was written (no file, a read-only one, a failed write).
bool StoreValues(const std::vector<std::pair<std::u16string, std::u16string>>& entries);

