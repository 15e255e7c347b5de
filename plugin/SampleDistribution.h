// Turns the snapshot copy into one temperature and one load sample per pane, asks the main
// window to show them and hands the update to the sample sinks. Runs on the host's thread at
// the end of every Update.
#pragma once

#include "core/SampleSink.h"
#include "export/SnapshotExport.h"

#include <cstdint>

class MainWindow;

void DistributeSamples(MainWindow& window, const SampleSinks& sinks);

// One temperature and one load sample into each of the first count panes (a missing pane is
// skipped). The caller holds the panes' lock exclusively.
void PushToPanes(const PaneList& panes, const int32_t* temperatures, const int32_t* loads, uint32_t count);
