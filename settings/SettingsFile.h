// The bytes of "Vaderur.ini" and the text they stand for: one character per byte, CR LF on disk,
// LF in memory, Ctrl-Z ends the text. Reading and the safe writing of the whole file; used by IniText.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Each byte becomes the character of its value; CR LF becomes LF, a lone CR stays; a 0x1A byte
// ends the text. A byte-order mark has no meaning: its bytes are ordinary characters.
std::u16string DecodeSettingsBytes(std::string_view bytes);

// Each character becomes the byte of its code and every LF becomes CR LF. A character above 255
// has no byte and is written as "?".
std::string EncodeSettingsText(std::u16string_view text);

// The whole file from the current directory, or nothing when it cannot be opened.
std::optional<std::string> ReadSettingsFileBytes();

// Writes text as a new settings file, only when none exists yet (through a temporary file, so
// the file never appears half written). False when a file is there or nothing could be written.
bool CreateSettingsFile(std::u16string_view text);

// Writes text as the settings file (LF becomes CR LF) through a replaced temporary file.
bool WriteSettingsFile(const std::u16string& text);
