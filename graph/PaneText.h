// The texts a graph pane builds: value labels ("%d%s"), its mutex name (the title followed by
// its address in uppercase hex) and bounded copies of record texts. Built by hand so that no
// printf family dialect matters; templates over the 16-bit character type of the caller.
#pragma once

#include <cstddef>
#include <cstdint>

namespace panetext {

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

// "<value><unit>": the range and value labels.
template <typename Char>
void FormatValueText(int32_t value, const Char* unit, Char* out, size_t capacity)
{
    Char digits[12] = {};
    size_t pos = 11;  // digits[11] stays the terminator
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[--pos] = static_cast<Char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits[--pos] = static_cast<Char>('-');
    if (capacity == 0)
        return;
    out[0] = Char{};
    Append(unit, out, Append(digits + pos, out, 0, capacity), capacity);
}

// "<title><ADDRESS>": the address in uppercase hexadecimal without leading zeros.
template <typename Char>
void FormatMutexName(const Char* title, uint64_t address, Char* out, size_t capacity)
{
    Char digits[17] = {};
    size_t pos = 16;
    do {
        const unsigned nibble = static_cast<unsigned>(address & 0xF);
        digits[--pos] = static_cast<Char>(nibble < 10 ? '0' + nibble : 'A' + nibble - 10);
        address >>= 4;
    } while (address != 0);
    if (capacity == 0)
        return;
    out[0] = Char{};
    Append(digits + pos, out, Append(title, out, 0, capacity), capacity);
}

}  // namespace panetext
