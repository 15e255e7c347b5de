#include "plugin/SampleDistribution.h"

#include "core/SnapshotCopy.h"
#include "window/MainWindow.h"

#include <algorithm>
#include <array>

void PushToPanes(const PaneList& panes, const int32_t* temperatures, const int32_t* loads, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        if (CZiveVazudEx* pane = panes[i])
            pane->PushSamples(temperatures[i], loads[i]);
}

void DistributeSamples(MainWindow& window, const SampleSinks& sinks)
{
    const PaneList& panes = window.Panes();
    if (panes.empty())
        return;
    // What each pane stored, for the tray icon and the sinks. There are never more panes than
    // the 256 entries of the snapshot's load block, so every read stays inside the copy.
    std::array<int32_t, maxSnapshotCores> temperatures{};
    std::array<int32_t, maxSnapshotCores> loads{};
    const uint32_t pushed = static_cast<uint32_t>(std::min<size_t>(panes.size(), maxSnapshotCores));
    SnapshotSamples(temperatures.data(), loads.data(), pushed);
    {
        PaneLock::Exclusive hold(PanesLock());
        PushToPanes(panes, temperatures.data(), loads.data(), pushed);
        window.RecordUpdateTime();
    }
    UpdateRecord update;
    update.tjMax = SnapshotTjMax();
    update.paneCount = pushed;
    update.reportedCores = SnapshotCoreCount();
    update.temperatures = temperatures.data();
    update.loads = loads.data();
    update.sensorTemperatures = snapshotCopy.coreTemperature;
    window.ShowUpdate(update);
    for (const auto& sink : sinks)
        sink->Accept(update);
}
