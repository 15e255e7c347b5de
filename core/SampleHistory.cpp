#include "core/SampleHistory.h"

#include <cstdlib>
#include <cstring>
#include <new>

template <typename Value>
BasicSampleHistory<Value>::BasicSampleHistory(int32_t initialCapacity, int32_t limit)
    : slotLimit(limit)
{
    Reallocate(initialCapacity);
}

template <typename Value>
BasicSampleHistory<Value>::~BasicSampleHistory()
{
    FreeBlocks(0);
}

template <typename Value>
bool BasicSampleHistory<Value>::AddBlock()
{
    auto* block = static_cast<Value*>(std::calloc(static_cast<size_t>(growStep), sizeof(Value)));
    if (!block)
        return false;
    try {
        blocks.push_back(block);
    } catch (const std::bad_alloc&) {
        std::free(block);
        return false;
    }
    capacity += growStep;
    return true;
}

template <typename Value>
void BasicSampleHistory<Value>::FreeBlocks(size_t keep)
{
    while (blocks.size() > keep) {
        std::free(blocks.back());
        blocks.pop_back();
    }
}

template <typename Value>
void BasicSampleHistory<Value>::EnterNextBlock()
{
    // head has reached the next block (capacity is always a whole number of blocks).
    writeOffset = 0;
    // At the limit, or out of memory: keep every stored sample and overwrite the oldest.
    // Compared in 64 bits: capacity + growStep may not fit an int32.
    if (head == capacity && (int64_t{capacity} + growStep >= slotLimit || !AddBlock()))
        head = 0;
    writeBlock = blocks[static_cast<size_t>(head / growStep)];
}

template <typename Value>
void BasicSampleHistory<Value>::Clear()
{
    head = -1;
    count = 0;
    if (!valid)
        return;
    FreeBlocks(1);
    capacity = growStep;
    std::memset(blocks.front(), 0, static_cast<size_t>(growStep) * sizeof(Value));
    writeBlock = blocks.front();
    writeOffset = -1;
}

template <typename Value>
void BasicSampleHistory<Value>::Reallocate(int32_t initialCapacity)
{
    FreeBlocks(0);
    writeBlock = nullptr;
    writeOffset = -1;
    growStep = initialCapacity;
    head = -1;
    count = 0;
    capacity = 0;
    valid = initialCapacity > 0 && AddBlock();
    if (valid)
        writeBlock = blocks.front();
}

template <typename Value>
Value BasicSampleHistory<Value>::ValueAt(int32_t k) const
{
    if (!valid)
        return 0;
    int64_t idx = static_cast<int64_t>(head) - k;
    if (idx < 0)
        idx += capacity;
    if (idx < 0 || idx >= capacity)
        return 0;
    return blocks[static_cast<size_t>(idx / growStep)][idx % growStep];
}

template class BasicSampleHistory<int32_t>;
template class BasicSampleHistory<int64_t>;
