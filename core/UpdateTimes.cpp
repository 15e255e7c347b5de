#include "core/UpdateTimes.h"

#include <cstdlib>

UpdateTimes::UpdateTimes(int32_t initialCapacity, int32_t limit)
    : growStep(initialCapacity > 0 ? initialCapacity : 0), slotLimit(limit)
{
    Allocate(growStep);
}

UpdateTimes::~UpdateTimes()
{
    std::free(items);
}

void UpdateTimes::Allocate(int32_t slots)
{
    items = slots > 0 ? static_cast<int64_t*>(std::calloc(static_cast<size_t>(slots), sizeof(int64_t))) : nullptr;
    capacity = items ? slots : 0;
}

void UpdateTimes::Push(int64_t unixMilliseconds)
{
    if (!items)
        return;
    ++head;
    if (head == capacity) {
        // The same rule as the sample histories: grow by the first size, or turn circular.
        const int64_t grown = static_cast<int64_t>(capacity) + growStep;
        int64_t* larger = grown >= slotLimit
                              ? nullptr
                              : static_cast<int64_t*>(std::realloc(items, static_cast<size_t>(grown) * sizeof(int64_t)));
        if (larger) {
            items = larger;
            capacity = static_cast<int32_t>(grown);
        } else {
            head = 0;
        }
    }
    items[head] = unixMilliseconds;
    if (count < capacity)
        ++count;
}

void UpdateTimes::Clear()
{
    head = -1;
    count = 0;
    std::free(items);
    items = nullptr;
    Allocate(growStep);
}

int64_t UpdateTimes::TimeAt(int32_t k) const
{
    if (k < 0 || k >= count)
        return 0;
    int64_t index = static_cast<int64_t>(head) - k;
    if (index < 0)
        index += capacity;
    return items[index];
}
