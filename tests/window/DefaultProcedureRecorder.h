// Sees which commands a loaded module hands to DefWindowProcW: the module's import of it is
// pointed at a recorder that passes every call on, and put back by the destructor. One
// recorder at a time; the test's own thread only.
#pragma once

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

namespace testwindow {

class DefaultProcedureRecorder {
public:
    explicit DefaultProcedureRecorder(HMODULE module) : slot(ImportSlot(module, "user32.dll", "DefWindowProcW"))
    {
        if (!slot)
            return;
        original = reinterpret_cast<WNDPROC>(*slot);
        active = this;
        Store(reinterpret_cast<void*>(&Record));
    }
    ~DefaultProcedureRecorder()
    {
        if (slot)
            Store(reinterpret_cast<void*>(original));
        active = nullptr;
    }
    DefaultProcedureRecorder(const DefaultProcedureRecorder&) = delete;
    DefaultProcedureRecorder& operator=(const DefaultProcedureRecorder&) = delete;

    bool Installed() const { return slot != nullptr; }

    // Every WM_COMMAND passed on so far: the window and its wParam.
    std::vector<std::pair<HWND, WPARAM>> commands;

private:
    static LRESULT WINAPI Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_COMMAND)
            active->commands.emplace_back(window, wParam);
        return active->original(window, message, wParam, lParam);
    }

    // The import address table entry through which module calls function of library.
    static void** ImportSlot(HMODULE module, const char* library, const char* function)
    {
        auto* base = reinterpret_cast<unsigned char*>(module);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (imports.VirtualAddress == 0)
            return nullptr;
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name != 0; ++d) {
            if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), library) != 0 || d->OriginalFirstThunk == 0)
                continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                    return reinterpret_cast<void**>(&addresses->u1.Function);
            }
        }
        return nullptr;
    }

    void Store(void* value)
    {
        DWORD protection = 0;
        ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        *slot = value;
        ::VirtualProtect(slot, sizeof *slot, protection, &protection);
    }

    static inline DefaultProcedureRecorder* active = nullptr;
    void** slot;
    WNDPROC original = nullptr;
};

}  // namespace testwindow
