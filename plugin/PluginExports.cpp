// The library's entry points: GetPlugin, ReleasePlugin, DllMain and the five operations of
// the record, each forwarding to the one live plug-in object. No exception may reach the
// host: each entry point ends any that escapes from below.
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"

#include <windows.h>

namespace {

int StartOperation()
{
    try {
        return pluginInstance ? pluginInstance->Start() : 0;
    } catch (...) {
        return 0;
    }
}

void UpdateOperation(const SensorSnapshot* snapshot)
{
    try {
        if (pluginInstance)
            pluginInstance->Update(snapshot);
    } catch (...) {
    }
}

void StopOperation()
{
    try {
        if (pluginInstance)
            pluginInstance->Stop();
    } catch (...) {
    }
}

int ConfigureOperation()
{
    try {
        return pluginInstance ? pluginInstance->Configure() : 1;
    } catch (...) {
        return 1;
    }
}

void RemoveOperation() {}

}  // namespace

extern "C" PluginRecord* GetPlugin()
{
    try {
        if (!pluginInstance)
            pluginInstance = new CVaderurWnd;
        PluginRecord* record = pluginInstance->Record();
        record->firstWord = 1;
        record->secondWord = 1;
        record->Start = StartOperation;
        record->Update = UpdateOperation;
        record->Stop = StopOperation;
        record->Configure = ConfigureOperation;
        record->Remove = RemoveOperation;
        return record;
    } catch (...) {
        return nullptr;
    }
}

extern "C" void ReleasePlugin()
{
    try {
        delete pluginInstance;  // the window object destroys the window and unregisters its class
    } catch (...) {
    }
    pluginInstance = nullptr;
}

#if defined(__GLIBCXX__)
// libstdc++'s own release of its emergency exception buffer (about 73 KB, taken when the
// library starts); nothing else gives it back when a statically linked copy is unloaded.
namespace __gnu_cxx {
void __freeres();
}
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // Only on FreeLibrary (reserved is null): at process exit everything goes anyway.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
#if defined(__GLIBCXX__)
        __gnu_cxx::__freeres();
#endif
    }
    return TRUE;
}
