// Reads "Vaderur.ini" into a new GraphSettings record (owned by the caller) and, when asked,
// the WindowOptions; creates the file from its default text when it cannot be opened.
#pragma once

#include "settings/GraphSettings.h"

#include <cstdint>
#include <memory>

// The text written to a new settings file, one character per byte, LF line ends.
extern const char16_t defaultSettingsText[];

// Never throws on a hand-edited file; an unreadable or uncreatable file gives defaults.
// RangeMax falls back on tjMax, the processor's TjMax from the latest snapshot.
std::unique_ptr<GraphSettings> ReadSettings(WindowOptions* options, uint32_t tjMax);
