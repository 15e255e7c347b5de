#include "core/SampleHistory.h"

#include <cstdlib>
#include <cstring>
#include <new>

SampleHistory::SampleHistory(int32_t initialCapacity, int32_t limit)
    : growStep(initialCapacity), slotLimit(limit)
{
    valid = initialCapacity > 0 && AddBlock();
    if (valid)
        writeBlock = blocks.front();
}

SampleHistory::~SampleHistory()
{
    FreeBlocks(0);
}

bool SampleHistory::AddBlock()
{
    auto* block = static_cast<int32_t*>(std::calloc(static_cast<size_t>(growStep), sizeof(int32_t)));
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

void SampleHistory::FreeBlocks(size_t keep)
{
    while (blocks.size() > keep) {
        std::free(blocks.back());
        blocks.pop_back();
    }
}

bool SampleHistory::Push(int32_t value)
{
    if (!valid)
        return false;
    ++head;
    if (++writeOffset == growStep) {
        // head has reached the next block (capacity is always a whole number of blocks).
        writeOffset = 0;
        // At the limit, or out of memory: keep every stored sample and overwrite the oldest.
        // Compared in 64 bits: capacity + growStep may not fit an int32.
        if (head == capacity && (int64_t{capacity} + growStep >= slotLimit || !AddBlock()))
            head = 0;
        writeBlock = blocks[static_cast<size_t>(head / growStep)];
    }
    writeBlock[writeOffset] = value;
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
    FreeBlocks(1);
    capacity = growStep;
    std::memset(blocks.front(), 0, static_cast<size_t>(growStep) * sizeof(int32_t));
    writeBlock = blocks.front();
    writeOffset = -1;
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
    return blocks[static_cast<size_t>(idx / growStep)][idx % growStep];
}
