// Bounded text copies and number formatting into fixed buffers: value labels ("%d%s"), pane
// titles, mutex names (a title followed by an address in uppercase hex), file names. Built by
// hand so that no printf family dialect matters; templates over the caller's character type.
#pragma once

#include <cstddef>
#include <cstdint>

namespace textformat {

// Copies text up to its terminator or capacity - 1 characters, whichever comes first, and
// terminates out. Returns the number of characters copied.
template <typename To, typename From>
size_t CopyText(const From* text, To* out, size_t capacity)
{
    if (capacity == 0)
        return 0;
    size_t n = 0;
    while (text && n + 1 < capacity && text[n] != From{}) {
        out[n] = static_cast<To>(text[n]);
        ++n;
    }
    out[n] = To{};
    return n;
}

// Appends text at out[used], cut to fit; returns the new length.
template <typename Char>
size_t Append(const Char* text, Char* out, size_t used, size_t capacity)
{
    if (used >= capacity)
        return used;
    return used + CopyText(text, out + used, capacity - used);
}

// The digits of a number in a small buffer of its own, most significant first.
template <typename Char>
class Digits {
public:
    // Decimal, with a minus sign for negative values.
    static Digits Decimal(int64_t value)
    {
        Digits d;
        uint64_t magnitude = value < 0 ? 0u - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        do {
            d.Put(static_cast<Char>('0' + magnitude % 10));
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            d.Put(static_cast<Char>('-'));
        return d;
    }
    // Uppercase hexadecimal without leading zeros.
    static Digits Hex(uint64_t value)
    {
        Digits d;
        do {
            const unsigned nibble = static_cast<unsigned>(value & 0xF);
            d.Put(static_cast<Char>(nibble < 10 ? '0' + nibble : 'A' + nibble - 10));
            value >>= 4;
        } while (value != 0);
        return d;
    }
    const Char* Text() const { return buffer + first; }

private:
    void Put(Char c) { buffer[--first] = c; }
    Char buffer[24] = {};  // the last stays the terminator
    size_t first = 23;
};

// "<value><unit>": the range and value labels.
template <typename Char>
void FormatValueText(int32_t value, const Char* unit, Char* out, size_t capacity)
{
    if (capacity == 0)
        return;
    out[0] = Char{};
    Append(unit, out, Append(Digits<Char>::Decimal(value).Text(), out, 0, capacity), capacity);
}

// "<title><ADDRESS>": the address in uppercase hexadecimal without leading zeros.
template <typename Char>
void FormatMutexName(const Char* title, uint64_t address, Char* out, size_t capacity)
{
    if (capacity == 0)
        return;
    out[0] = Char{};
    Append(Digits<Char>::Hex(address).Text(), out, Append(title, out, 0, capacity), capacity);
}

}  // namespace textformat
