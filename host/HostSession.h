// One run of the reference host, from loading the plug-in to releasing it: the sensor
// source, the host window, the poll timer, the export and the screenshot. Called by main.
#pragma once

#include "host/HostOptions.h"

// Exit codes of the host.
constexpr int exitSuccess = 0;
constexpr int exitRunFailed = 1;
constexpr int exitBadCommandLine = 2;

// Runs the host as the options say and returns its exit code. Prints what it does.
int RunHost(const HostOptions& options);
