// The fixed-layout records exchanged with the Zentrix host. Shared with the host's own
// build, so every offset and size is pinned by a static_assert; nothing here owns anything.
#pragma once

#include <cstddef>
#include <cstdint>

struct PluginRecord;
struct SensorSnapshot;

// The host's close request, called with the address of the plug-in's record.
using CloseRequestProc = void (*)(PluginRecord*);

// Filled by the plug-in (three texts) and by the host (window, module, close callback).
// The window and module are Windows handles; they are kept as plain pointers here so the
// layout can be checked on any platform.
struct PluginInfo {
    const wchar_t* versionText;
    const wchar_t* nameText;
    const wchar_t* descriptionText;
    void* hostWindow;
    void* hostInstance;
    CloseRequestProc closeRequest;
};

// The operation table handed to the host by GetPlugin. The operations take no plug-in
// pointer: each forwards to the one live plug-in object.
struct PluginRecord {
    uint32_t firstWord;
    uint32_t secondWord;
    PluginInfo* info;
    int (*Start)();
    void (*Update)(const SensorSnapshot*);
    void (*Stop)();
    int (*Configure)();
    void (*Remove)();
};

constexpr uint32_t maxSnapshotCores = 256;
constexpr size_t snapshotSize = 0xA80;

// The host's sensor readings. Only the named fields are read; the rest is carried along.
struct SensorSnapshot {
    uint32_t coreLoad[maxSnapshotCores];   // percent, by core number
    uint32_t tjMax;                        // degrees Celsius; 0 when unknown
    uint8_t unread1[0x600 - 0x404];
    uint32_t coreCount;
    uint8_t unread2[4];
    float coreTemperature[(snapshotSize - 0x608) / 4];  // degrees Celsius, by core number
};

static_assert(sizeof(void*) == 8, "the host records are laid out for 64-bit processes");

static_assert(offsetof(PluginInfo, versionText) == 0);
static_assert(offsetof(PluginInfo, nameText) == 8);
static_assert(offsetof(PluginInfo, descriptionText) == 16);
static_assert(offsetof(PluginInfo, hostWindow) == 24);
static_assert(offsetof(PluginInfo, hostInstance) == 32);
static_assert(offsetof(PluginInfo, closeRequest) == 40);
static_assert(sizeof(PluginInfo) == 48);

static_assert(offsetof(PluginRecord, firstWord) == 0);
static_assert(offsetof(PluginRecord, secondWord) == 4);
static_assert(offsetof(PluginRecord, info) == 8);
static_assert(offsetof(PluginRecord, Start) == 16);
static_assert(offsetof(PluginRecord, Update) == 24);
static_assert(offsetof(PluginRecord, Stop) == 32);
static_assert(offsetof(PluginRecord, Configure) == 40);
static_assert(offsetof(PluginRecord, Remove) == 48);
static_assert(sizeof(PluginRecord) == 56);

static_assert(offsetof(SensorSnapshot, coreLoad) == 0x000);
static_assert(offsetof(SensorSnapshot, tjMax) == 0x400);
static_assert(offsetof(SensorSnapshot, coreCount) == 0x600);
static_assert(offsetof(SensorSnapshot, coreTemperature) == 0x608);
static_assert(sizeof(SensorSnapshot) == snapshotSize);
