#include "graph/SampleHistory.h"

#include <algorithm>
#include <cstring>
#include <new>

SampleHistory::SampleHistory(int32_t initialCapacity, int32_t limit)
    : capacity(initialCapacity), growStep(initialCapacity), slotLimit(limit)
{
    valid = initialCapacity > 0 && Allocate(initialCapacity);
}

SampleHistory::~SampleHistory()
{
    delete[] items;
}

bool SampleHistory::Allocate(int32_t slots)
{
    items = new (std::nothrow) int32_t[static_cast<size_t>(slots)];
    if (!items)
        return false;
    std::memset(items, 0, static_cast<size_t>(slots) * sizeof(int32_t));
    return true;
}

bool SampleHistory::Push(int32_t value)
{
    if (!valid)
        return false;
    ++head;
    if (head == capacity) {
        // Compared in 64 bits: capacity + growStep may not fit an int32.
        const int64_t grown = static_cast<int64_t>(capacity) + growStep;
        int32_t* larger = grown >= slotLimit
                              ? nullptr
                              : new (std::nothrow) int32_t[static_cast<size_t>(grown)];
        if (larger) {
            std::copy(items, items + capacity, larger);
            delete[] items;
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
    delete[] items;
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
