#include "plugin/SampleDistribution.h"

#include "graph/CZiveVazudEx.h"
#include "plugin/PluginState.h"
#include "plugin/SnapshotCopy.h"

namespace {

void PushToEveryPane()
{
    PaneLock::Exclusive hold(PanesLock());
    // graphCount never exceeds the 256 entries of the snapshot's load block, so every read
    // below stays inside the copy.
    for (uint32_t i = 0; graphList && i < graphCount && i < maxSnapshotCores; ++i) {
        CZiveVazudEx* pane = graphList[i];
        if (!pane)
            continue;
        pane->PushSamples(TruncateTemperature(snapshotCopy.coreTemperature[i]),
                          static_cast<int32_t>(snapshotCopy.coreLoad[i]));
    }
}

}  // namespace

void DistributeSamples()
{
    if (!graphList)
        return;
    PushToEveryPane();
    if (graphCount != 0 && mainWindow) {
        RECT client{};
        ::GetClientRect(mainWindow, &client);
        ::InvalidateRect(mainWindow, &client, TRUE);
    }
}
