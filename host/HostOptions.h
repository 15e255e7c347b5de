// The reference host's command line, parsed into the settings of one run. Portable: the
// Windows entry point hands it the wide arguments; main owns the result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class SourceKind { System, Replay, Synthetic };

struct HostOptions {
    std::wstring pluginPath;           // empty: Vaderur.dll beside the host executable
    SourceKind source = SourceKind::System;
    std::wstring replayFile;           // the CSV log of the replay source
    uint32_t cores = 4;                // synthetic source only
    uint32_t intervalMs = 1000;        // poll period
    uint32_t updates = 0;              // 0: until the plug-in window is closed or the log ends
    bool fast = false;                 // replay or synthetic without waiting between polls
    bool exportPngs = false;           // "Create &PNG" after the last update
    uint32_t exportTimeoutMs = 60000;  // bound on the wait for the PNGs
    uint32_t holdMs = 0;               // the plug-in stays loaded this long after the run (its files stay)
    std::wstring screenshotFile;       // empty: no screenshot
    bool withoutPlugin = false;        // run the sources and timer alone (CPU share baseline)
    bool help = false;
};

struct OptionsResult {
    bool ok = false;
    HostOptions options;
    std::wstring error;  // one line, names the offending option when !ok
};

constexpr uint32_t minimumIntervalMs = 10;
constexpr uint32_t maximumCores = 256;

// args excludes the program name.
OptionsResult ParseHostOptions(const std::vector<std::wstring>& args);

// The text that --help prints.
std::wstring HostUsageText();
