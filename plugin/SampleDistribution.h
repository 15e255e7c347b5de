// Turns the snapshot copy into one temperature and one load sample per pane, then asks the
// main window to repaint. Runs on the host's thread at the end of every Update.
#pragma once

class MainWindow;

void DistributeSamples(MainWindow& window);
