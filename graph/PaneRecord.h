// Guarded reading of a GraphSettings record handed to a pane: a pointer that does not lead
// to readable memory is refused instead of faulting. Used by both pane classes.
#pragma once

#include "settings/GraphSettings.h"

#include <cstddef>

// True when the size bytes at address can all be read.
bool ReadableMemory(const void* address, size_t size);

// A record is accepted when everything before its title can be read and its Size is 148.
bool AcceptedRecord(const GraphSettings* record);

// Copies the record's title into title (41 characters); "Untitled" when it cannot be read.
void CopyRecordTitle(const GraphSettings& record, wchar_t* title, size_t capacity);
