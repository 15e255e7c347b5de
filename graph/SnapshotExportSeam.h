// A test's view of one export step: a hook called right after a pane's BMP file is written
// and closed, before GDI+ converts it. Nothing in the plug-in sets it.
#pragma once

using BmpWrittenHook = void (*)(const wchar_t* bmpPath);

// Null removes the hook.
void SetBmpWrittenHook(BmpWrittenHook hook);
