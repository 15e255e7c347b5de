// The settings text turned into values: the three number conversions of the file format, the
// rules that derive RangeMax and the two intervals, and the filling of the records from a text.
// Pure functions on strings; ReadSettings supplies the file and the TjMax.
#pragma once

#include "settings/GraphSettings.h"
#include "settings/MetricsOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Optional white space, optional sign, decimal digits up to the first other character.
// No digits give 0; beyond the signed 32-bit range gives its nearest end.
int32_t ParseDecimal(std::u16string_view value);

// Optional white space, optional sign, optional "0x"/"0X", hexadecimal digits. No digits give 0;
// beyond 32 bits gives 0xFFFFFFFF; "-" negates modulo 2^32.
uint32_t ParseHexadecimal(std::u16string_view value);

// Decimal seconds ("." separator, optional exponent) to whole milliseconds, truncated; from
// 4294967294 ms up it is 4294967294, and a negative time is 0.
uint32_t PollIntervalFromSeconds(std::u16string_view value);

// The longest period a Windows timer runs (USER_TIMER_MAXIMUM), about 24.8 days.
constexpr uint32_t longestTimerPeriodMs = 0x7FFFFFFF;

// Whole minutes to milliseconds; 0 is off. A negative number of minutes is off, and more
// minutes than a timer can wait (more than 35791) are the longest timer period, so a large
// value never wraps into a short one.
uint32_t LogIntervalFromMinutes(int32_t minutes);

// The floor of the value scale.
constexpr int32_t lowestRangeMax = 100;

// RangeMax as read (0 when absent) to the top of the value scale: 0 takes TjMax, a TjMax of 0
// takes 100, and anything below 100 is 100.
int32_t RangeMaxFrom(int32_t readValue, uint32_t tjMax);

// Fills the graph keys of settings (every other field is left as it is) and, when options is
// given, all the window options, from the settings text. No text means every key is absent.
void ParseSettings(const std::optional<std::u16string>& text, uint32_t tjMax, GraphSettings& settings,
                   WindowOptions* options);

// The value token of the first line (after the first) whose key matches, or nothing.
std::optional<std::u16string> FindValue(const std::optional<std::u16string>& text,
                                        const std::u16string& key);
