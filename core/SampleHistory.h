// A growable buffer of samples, read backwards from the newest one: SampleHistory holds a pane's
// signed 32-bit series (owned by the pane, which guards it; no lock of its own), and the same
// buffer of 64-bit values keeps the time of every update (UpdateTimes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

template <typename Value>
class alignas(64) BasicSampleHistory {
public:
    static constexpr int32_t defaultSlotLimit = 2147483647;

    // Allocates initialCapacity zero-filled slots; 0 or less gives a history that is not valid.
    // slotLimit is the capacity that growth must stay below; the default is the int32 limit,
    // and only tests pass a smaller one to reach the circular mode without gigabytes.
    explicit BasicSampleHistory(int32_t initialCapacity, int32_t slotLimit = defaultSlotLimit);
    ~BasicSampleHistory();
    BasicSampleHistory(const BasicSampleHistory&) = delete;
    BasicSampleHistory& operator=(const BasicSampleHistory&) = delete;

    // Appends one sample; false when the history is not valid. A growth that cannot be
    // allocated turns the buffer circular at its current size rather than losing samples.
    bool Push(Value value)
    {
        if (!valid)
            return false;
        ++head;
        if (++writeOffset == growStep)
            EnterNextBlock();
        writeBlock[writeOffset] = value;
        if (count < capacity)
            ++count;
        return true;
    }
    // The block being written: its samples from its first slot to the newest, oldest first
    // (none before the first push and after a clear). Once circular, the rest of the block
    // still holds the older samples that these are overwriting.
    const Value* BlockSamples() const { return writeBlock; }
    int32_t BlockCount() const { return writeBlock ? writeOffset + 1 : 0; }
    // True when the next Push enters another block (or, once circular, starts over in one).
    bool BlockFull() const { return writeBlock && writeOffset + 1 == growStep; }
    // Forgets every sample and returns to the initial capacity.
    void Clear();
    // Starts over as a history constructed with initialCapacity would (its slot limit kept).
    void Reallocate(int32_t initialCapacity);
    // The sample k steps back from the newest (k = 0); anything out of range reads as 0.
    Value ValueAt(int32_t k) const;
    Value Latest() const { return ValueAt(0); }

    int32_t Count() const { return count; }
    int32_t Capacity() const { return capacity; }
    int32_t GrowStep() const { return growStep; }
    int32_t Head() const { return head; }
    bool IsValid() const { return valid; }

private:
    // What Push reads and writes comes first, so that the 256 histories an Update at 256 cores
    // pushes to cost one cache line each (the class is aligned to one).
    Value* writeBlock = nullptr;  // the block that holds slot head
    int32_t writeOffset = -1;       // head's place in it
    int32_t growStep = 0;
    int32_t head = -1;
    int32_t count = 0;
    int32_t capacity = 0;
    bool valid = false;
    int32_t slotLimit;
    // The slots in blocks of growStep, block i holding slots i * growStep onwards. A growth
    // adds one zero-filled block and moves nothing: no copying, and no freed blocks of every
    // earlier size left between the other histories' blocks in the heap.
    std::vector<Value*> blocks;

    bool AddBlock();
    void FreeBlocks(size_t keep);
    // Push's step into the next block: a growth, or the turn to circular at the limit.
    void EnterNextBlock();
};

using SampleHistory = BasicSampleHistory<int32_t>;
