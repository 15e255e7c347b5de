#include "win32/Clock.h"

#include <windows.h>

namespace {
constexpr int64_t ticksPerMillisecond = 10000;
constexpr int64_t millisecondsFrom1601To1970 = 11644473600000;
}  // namespace

int64_t ClockNowUnixMilliseconds()
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    return ticks / ticksPerMillisecond - millisecondsFrom1601To1970;
}

LogClockTime LocalLogClockTime()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

bool LocalTimeOf(int64_t unixMilliseconds, LogClockTime& out)
{
    const uint64_t ticks = static_cast<uint64_t>(unixMilliseconds + millisecondsFrom1601To1970) * ticksPerMillisecond;
    const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME system{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&utc, &system) || !::SystemTimeToTzSpecificLocalTime(nullptr, &system, &local))
        return false;
    out = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, local.wMilliseconds};
    return true;
}
