// Saving a list of panes as PNGs, one after the other: what every export worker runs.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

class CZiveVazudEx;

// The panes an export saves, in order (index = core number); null entries are skipped.
using PaneList = std::vector<CZiveVazudEx*>;

// Saves every pane of the list, taking paneTurn around each one and stopping before the next
// once cancelled is set. One pane's failure never stops the others.
void SaveEveryPane(const PaneList& panes, SRWLOCK& paneTurn, const std::atomic<bool>& cancelled);

// The thread procedure of an export worker (see ExportWorkers).
DWORD WINAPI SnapshotWorker(LPVOID job);
