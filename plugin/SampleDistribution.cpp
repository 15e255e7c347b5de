#include "plugin/SampleDistribution.h"

#include "core/SnapshotCopy.h"
#include "window/MainWindow.h"

void DistributeSamples(MainWindow& window)
{
    const PaneList& panes = window.Panes();
    if (panes.empty())
        return;
    {
        PaneLock::Exclusive hold(PanesLock());
        // There are never more panes than the 256 entries of the snapshot's load block, so
        // every read below stays inside the copy.
        for (uint32_t i = 0; i < panes.size() && i < maxSnapshotCores; ++i) {
            if (CZiveVazudEx* pane = panes[i])
                pane->PushSamples(TruncateTemperature(snapshotCopy.coreTemperature[i]),
                                  static_cast<int32_t>(snapshotCopy.coreLoad[i]));
        }
    }
    window.Repaint();
}
