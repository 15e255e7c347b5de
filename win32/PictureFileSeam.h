// A test's view of one step of saving a picture: a hook called right after the BMP file is
// written and closed, before GDI+ converts it. Nothing in the plug-in sets it.
#pragma once

using BmpWrittenHook = void (*)(const wchar_t* bmpPath);

// Null removes the hook.
void SetBmpWrittenHook(BmpWrittenHook hook);
