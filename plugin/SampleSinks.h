// The sample sinks that "Vaderur.ini" asks for: the CSV log (CsvLog=1) and the metrics file
// (MetricsFile=PATH, MetricsInterval=N). Made once, when the plug-in object builds its window;
// the plug-in object owns them.
#pragma once

#include "core/SampleSink.h"
#include "settings/GraphSettings.h"

#include <cstdint>

SampleSinks MakeSampleSinks(const WindowOptions& options, uint32_t paneCount);
