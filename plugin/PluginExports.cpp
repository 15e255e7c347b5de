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
        delete pluginInstance;
    } catch (...) {
    }
    pluginInstance = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
