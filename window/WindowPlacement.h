// "RememberPlacement=1": the main window comes back where the user left it. Reads the stored
// placement when the window is built, puts the new window there when at least a quarter of it
// lies on a monitor that exists now, and writes the normal rectangle (in 96-DPI units) and the
// maximized state back to "Vaderur.ini" when the window goes. Owned by the main window; without
// the key it does nothing and the window is placed as always.
#pragma once

#include "settings/StoredPlacement.h"

#include <windows.h>

#include <optional>

class WindowPlacement {
public:
    // Reads the settings file of the current folder.
    void Read();
    bool Remembers() const { return remembers; }

    // Moves the new, still hidden window (shown at dpi) to the stored rectangle when enough of
    // it lies on the monitors; false when it stays where it is.
    bool Restore(HWND window, int dpi);
    // How the window is first shown: maximized when it was left maximized.
    int ShowCommand() const;
    // Writes the window's normal rectangle and maximized state through the settings file's
    // safe rewrite; a read-only or missing file stays as it is.
    void Store(HWND window, int dpi) const;

private:
    bool remembers = false;
    std::optional<StoredPlacement> stored;
    bool restored = false;
};
