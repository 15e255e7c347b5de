#include "core/SampleHistory.h"

#include <cstdlib>

SampleHistory::SampleHistory(int32_t initialCapacity, int32_t limit)
    : capacity(initialCapacity), growStep(initialCapacity), slotLimit(limit)
{
    valid = initialCapacity > 0 && Allocate(initialCapacity);
}

SampleHistory::~SampleHistory()
{
    std::free(items);
}

bool SampleHistory::Allocate(int32_t slots)
{
    items = static_cast<int32_t*>(std::calloc(static_cast<size_t>(slots), sizeof(int32_t)));
    return items != nullptr;
}

bool SampleHistory::Push(int32_t value)
{
    if (!valid)
        return false;
    ++head;
    if (head == capacity) {
        // Compared in 64 bits: capacity + growStep may not fit an int32. realloc keeps the
        // stored samples at their indices and, for large buffers, usually moves no bytes.
        const int64_t grown = static_cast<int64_t>(capacity) + growStep;
        int32_t* larger = grown >= slotLimit
                              ? nullptr
                              : static_cast<int32_t*>(std::realloc(items, static_cast<size_t>(grown) * sizeof(int32_t)));
        if (larger) {
            items = larger;
            capacity = static_cast<int32_t>(grown);
        } else {
            // At the limit, or out of memory: keep every stored sample and overwrite the oldest.
            head = 0;
        }
    }
    items[head] = value;
    if (count < capacity)
        ++count;
    return true;
}

void SampleHistory::Clear()
{
    head = -1;
    count = 0;
    if (!valid)
        return;
    std::free(items);
    items = nullptr;
    capacity = growStep;
    valid = Allocate(capacity);
}

int32_t SampleHistory::ValueAt(int32_t k) const
{
    if (!valid)
        return 0;
    int64_t idx = static_cast<int64_t>(head) - k;
    if (idx < 0)
        idx += capacity;
    if (idx < 0 || idx >= capacity)
        return 0;
    return items[idx];
}
