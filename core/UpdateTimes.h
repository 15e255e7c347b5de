// The wall-clock time of every update, newest first, kept beside the panes' sample histories:
// one 8-byte time per update whatever the core count. Owned by the main window, pushed and
// cleared together with the panes' samples, so TimeAt(k) is the time of every pane's sample
// k steps back from its newest, through growth and wrap-around alike.
#pragma once

#include <cstdint>

class UpdateTimes {
public:
    static constexpr int32_t defaultSlotLimit = 2147483647;

    // Grows like the sample histories: by initialCapacity slots at a time, and circular at
    // its current size once growth would reach slotLimit or cannot be allocated. 0 or less
    // slots give a store that keeps nothing.
    explicit UpdateTimes(int32_t initialCapacity, int32_t slotLimit = defaultSlotLimit);
    ~UpdateTimes();
    UpdateTimes(const UpdateTimes&) = delete;
    UpdateTimes& operator=(const UpdateTimes&) = delete;

    // Milliseconds since 1970-01-01 UTC of the newest update.
    void Push(int64_t unixMilliseconds);
    // Forgets every time and returns to the initial capacity ("Clear history").
    void Clear();
    // The time k updates back from the newest (k = 0); 0 when no time is kept for it.
    int64_t TimeAt(int32_t k) const;

    int32_t Count() const { return count; }
    int32_t Capacity() const { return capacity; }

private:
    int64_t* items = nullptr;
    int32_t capacity = 0;
    int32_t growStep = 0;
    int32_t head = -1;
    int32_t count = 0;
    int32_t slotLimit;

    void Allocate(int32_t slots);
};
