#include "core/HottestCore.h"

#include "core/TextFormat.h"

#include <cmath>

CoreReading HottestCore(const int32_t* temperatures, const int32_t* loads, uint32_t count)
{
    CoreReading hottest;
    for (uint32_t i = 0; i < count; ++i) {
        if (hottest.known && temperatures[i] <= hottest.temperature)
            continue;
        hottest.known = true;
        hottest.core = i;
        hottest.temperature = temperatures[i];
        hottest.load = loads[i];
    }
    return hottest;
}

CoreReading HottestCore(const UpdateRecord& update)
{
    CoreReading hottest;
    const uint32_t reported = update.reportedCores < update.paneCount ? update.reportedCores : update.paneCount;
    for (uint32_t i = 0; i < reported; ++i) {
        if (update.sensorTemperatures && !std::isfinite(update.sensorTemperatures[i]))
            continue;
        if (hottest.known && update.temperatures[i] <= hottest.temperature)
            continue;
        hottest.known = true;
        hottest.core = i;
        hottest.temperature = update.temperatures[i];
        hottest.load = update.loads[i];
    }
    return hottest;
}

void FormatIconDigits(const CoreReading& reading, char16_t (&digits)[iconDigitsCapacity])
{
    if (!reading.known) {
        textformat::CopyText(u"--", digits, iconDigitsCapacity);
        return;
    }
    // Beyond three characters the icon shows that the value is off its scale, never a
    // made-up number at the edge of it.
    if (reading.temperature > 999)
        textformat::CopyText(u"1k+", digits, iconDigitsCapacity);
    else if (reading.temperature < -99)
        textformat::CopyText(u"LO", digits, iconDigitsCapacity);
    else
        textformat::CopyText(textformat::Digits<char16_t>::Decimal(reading.temperature).Text(), digits,
                             iconDigitsCapacity);
}

void FormatCoreTooltip(const CoreReading& reading, const char16_t* temperatureUnit, const char16_t* loadUnit,
                       char16_t* tooltip, size_t capacity)
{
    using textformat::Append;
    using textformat::Digits;
    if (capacity == 0)
        return;
    tooltip[0] = u'\0';
    if (!reading.known)
        return;
    size_t used = Append(u"Core #", tooltip, 0, capacity);
    used = Append(Digits<char16_t>::Decimal(reading.core).Text(), tooltip, used, capacity);
    used = Append(u": ", tooltip, used, capacity);
    FormatCoreValue(reading.temperature, reading.load, temperatureUnit, loadUnit, tooltip, used, capacity);
}

size_t FormatCoreValue(int32_t temperature, int32_t load, const char16_t* temperatureUnit, const char16_t* loadUnit,
                       char16_t* text, size_t used, size_t capacity)
{
    using textformat::Append;
    using textformat::Digits;
    used = Append(Digits<char16_t>::Decimal(temperature).Text(), text, used, capacity);
    used = Append(u" ", text, used, capacity);
    used = Append(temperatureUnit, text, used, capacity);
    used = Append(u", load ", text, used, capacity);
    used = Append(Digits<char16_t>::Decimal(load).Text(), text, used, capacity);
    used = Append(u" ", text, used, capacity);
    return Append(loadUnit, text, used, capacity);
}
