// Reads "Vaderur.ini" into a new GraphSettings record (owned by the caller) and, when asked,
// the WindowOptions; creates the file from its default text when it cannot be opened.
#pragma once

#include "settings/GraphSettings.h"

#include <memory>
#include <optional>
#include <string>

// The text written to a new settings file, one character per byte, LF line ends.
extern const char16_t defaultSettingsText[];

// Never throws on a hand-edited file; an unreadable or uncreatable file gives defaults.
// RangeMax falls back on the TjMax of the process-wide snapshot copy.
std::unique_ptr<GraphSettings> ReadSettings(WindowOptions* options);

// The value token of the first line (after the first) whose key matches, or nothing.
std::optional<std::u16string> FindValue(const std::optional<std::u16string>& text,
                                        const std::u16string& key);
