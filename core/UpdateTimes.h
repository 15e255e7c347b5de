// The wall-clock time of every update, newest first, kept beside the panes' sample histories:
// one 8-byte time per update whatever the core count. Owned by the main window, pushed and
// cleared together with the panes' samples, so TimeAt(k) is the time of every pane's sample
// k steps back from its newest, through growth and wrap-around alike.
#pragma once

#include "core/SampleHistory.h"

#include <cstdint>

class UpdateTimes {
public:
    static constexpr int32_t defaultSlotLimit = SampleHistory::defaultSlotLimit;

    // Grows like the sample histories: by initialCapacity slots at a time, and circular at
    // its current size once growth would reach slotLimit or cannot be allocated. 0 or less
    // slots give a store that keeps nothing.
    explicit UpdateTimes(int32_t initialCapacity, int32_t slotLimit = defaultSlotLimit)
        : times(initialCapacity, slotLimit)
    {
    }

    // Milliseconds since 1970-01-01 UTC of the newest update.
    void Push(int64_t unixMilliseconds) { times.Push(unixMilliseconds); }
    // Forgets every time and returns to the initial capacity ("Clear history").
    void Clear() { times.Clear(); }
    // The time k updates back from the newest (k = 0); 0 when no time is kept for it.
    int64_t TimeAt(int32_t k) const { return k >= 0 && k < times.Count() ? times.ValueAt(k) : 0; }

    int32_t Count() const { return times.Count(); }
    int32_t Capacity() const { return times.Capacity(); }

private:
    BasicSampleHistory<int64_t> times;
};
