// Turns the snapshot copy into one temperature and one load sample per pane, asks the main
// window to show them and hands the update to the sample sinks. Runs on the host's thread at
// the end of every Update.
#pragma once

#include "core/SampleSink.h"

class MainWindow;

void DistributeSamples(MainWindow& window, const SampleSinks& sinks);
