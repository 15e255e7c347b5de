#include "plugin/SampleDistribution.h"

#include "core/SnapshotCopy.h"
#include "window/MainWindow.h"

#include <array>

namespace {
constexpr uint32_t stateAhead = 8;
constexpr uint32_t slotsAhead = 4;
}  // namespace

void DistributeSamples(MainWindow& window, const SampleSinks& sinks)
{
    const PaneList& panes = window.Panes();
    if (panes.empty())
        return;
    // What each pane stored, for the tray icon and the sinks.
    std::array<int32_t, maxSnapshotCores> temperatures{};
    std::array<int32_t, maxSnapshotCores> loads{};
    uint32_t pushed = 0;
    {
        PaneLock::Exclusive hold(PanesLock());
        // There are never more panes than the 256 entries of the snapshot's load block, so
        // every read below stays inside the copy.
        for (uint32_t i = 0; i < panes.size() && i < maxSnapshotCores; ++i) {
            temperatures[i] = TruncateTemperature(snapshotCopy.coreTemperature[i]);
            loads[i] = static_cast<int32_t>(snapshotCopy.coreLoad[i]);
            // A second after the last update, what a push touches is mostly not in the cache:
            // the pane's lines are asked for some panes ahead, and the slots, whose addresses
            // those lines hold, half as far ahead.
            if (i + stateAhead < panes.size() && panes[i + stateAhead])
                panes[i + stateAhead]->PrefetchPushState();
            if (i + slotsAhead < panes.size() && panes[i + slotsAhead])
                panes[i + slotsAhead]->PrefetchPushSlots();
            if (CZiveVazudEx* pane = panes[i])
                pane->PushSamples(temperatures[i], loads[i]);
            pushed = i + 1;
        }
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
