#include "export/SnapshotExport.h"

#include "graph/CZiveVazudEx.h"

void SaveEveryPane(const PaneList& panes, SRWLOCK& paneTurn, const std::atomic<bool>& cancelled)
{
    for (CZiveVazudEx* pane : panes) {
        ::AcquireSRWLockExclusive(&paneTurn);
        const bool go = !cancelled.load() && pane;
        if (go) {
            try {
                pane->SaveSnapshot();
            } catch (...) {
                // One pane's failure never stops the others.
            }
        }
        ::ReleaseSRWLockExclusive(&paneTurn);
        if (cancelled.load())
            break;
    }
}
