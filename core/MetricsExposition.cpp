#include "core/MetricsExposition.h"

#include "core/TextFormat.h"

#include <cmath>

namespace {

void AppendInteger(std::string& text, int64_t value)
{
    text += textformat::Digits<char>::Decimal(value).Text();
}

void AppendUnsigned(std::string& text, uint64_t value)
{
    // Counts stay far below 2^63; the cut is only for type's sake.
    AppendInteger(text, static_cast<int64_t>(value > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : value));
}

// value / 10^decimals written exactly, without trailing zeros: 57, 2 gives "0.57"; -5, 2 "-0.05".
void AppendScaled(std::string& text, int64_t value, int decimals)
{
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const bool negative = value < 0;
    const uint64_t magnitude = negative ? 0u - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    const uint64_t whole = magnitude / static_cast<uint64_t>(scale);
    uint64_t fraction = magnitude % static_cast<uint64_t>(scale);
    if (negative && magnitude != 0)
        text += '-';
    AppendUnsigned(text, whole);
    if (fraction == 0)
        return;
    std::string digits(static_cast<size_t>(decimals), '0');
    for (int i = decimals - 1; i >= 0; --i, fraction /= 10)
        digits[static_cast<size_t>(i)] = static_cast<char>('0' + fraction % 10);
    digits.erase(digits.find_last_not_of('0') + 1);
    text += '.';
    text += digits;
}

void AppendFamily(std::string& text, const char* name, const char* type, const char* help)
{
    text += "# HELP ";
    text += name;
    text += ' ';
    text += EscapeHelpText(help);
    text += "\n# TYPE ";
    text += name;
    text += ' ';
    text += type;
    text += '\n';
}

// name{core="N"[,le="B"]} - the value follows.
void AppendCoreSeries(std::string& text, const char* name, uint32_t core, const char* le = nullptr)
{
    text += name;
    text += "{core=\"";
    text += EscapeLabelValue(textformat::Digits<char>::Decimal(core).Text());
    text += '"';
    if (le) {
        text += ",le=\"";
        text += EscapeLabelValue(le);
        text += '"';
    }
    text += "} ";
}

}  // namespace

std::string EscapeLabelValue(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '"')
            out += "\\\"";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string EscapeHelpText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

void MetricsState::Record(const UpdateRecord& update, int64_t unixMilliseconds)
{
    if (cores.size() < update.paneCount)
        cores.resize(update.paneCount);
    tjMax = update.tjMax;
    ++updates;
    lastUpdateMs = unixMilliseconds;
    for (uint32_t i = 0; i < cores.size(); ++i) {
        Core& core = cores[i];
        core.reported = i < update.paneCount && i < update.reportedCores;
        core.hasTemperature = false;
        if (!core.reported)
            continue;
        core.load = update.loads ? update.loads[i] : 0;
        if (update.sensorTemperatures && !std::isfinite(update.sensorTemperatures[i]))
            continue;
        if (!update.temperatures)
            continue;
        core.hasTemperature = true;
        core.temperature = update.temperatures[i];
        size_t bucket = 0;
        while (bucket < metricsBucketBounds.size() && core.temperature > metricsBucketBounds[bucket])
            ++bucket;
        ++core.buckets[bucket];
        ++core.count;
        core.sum += core.temperature;
    }
}

void MetricsState::Format(std::string& text) const
{
    text.clear();
    if (updates == 0)
        return;
    constexpr const char* temperature = "vaderur_core_temperature_celsius";
    AppendFamily(text, temperature, "gauge", "Newest temperature of the core as the pane stored it, in degrees Celsius.");
    for (uint32_t i = 0; i < cores.size(); ++i) {
        if (cores[i].reported && cores[i].hasTemperature) {
            AppendCoreSeries(text, temperature, i);
            AppendInteger(text, cores[i].temperature);
            text += '\n';
        }
    }
    constexpr const char* load = "vaderur_core_load_ratio";
    AppendFamily(text, load, "gauge", "Newest load of the core, 0 to 1.");
    for (uint32_t i = 0; i < cores.size(); ++i) {
        if (cores[i].reported) {
            AppendCoreSeries(text, load, i);
            AppendScaled(text, cores[i].load, 2);
            text += '\n';
        }
    }
    AppendFamily(text, "vaderur_sample_temperature_celsius", "histogram",
                 "Every temperature sample of the core since the plug-in was loaded, in degrees Celsius.");
    for (uint32_t i = 0; i < cores.size(); ++i) {
        const Core& core = cores[i];
        if (!core.reported)
            continue;
        uint64_t cumulative = 0;
        for (size_t b = 0; b <= metricsBucketBounds.size(); ++b) {
            cumulative += core.buckets[b];
            const std::string bound = b < metricsBucketBounds.size()
                ? std::string(textformat::Digits<char>::Decimal(metricsBucketBounds[b]).Text()) : "+Inf";
            AppendCoreSeries(text, "vaderur_sample_temperature_celsius_bucket", i, bound.c_str());
            AppendUnsigned(text, cumulative);
            text += '\n';
        }
        AppendCoreSeries(text, "vaderur_sample_temperature_celsius_sum", i);
        AppendInteger(text, core.sum);
        text += '\n';
        AppendCoreSeries(text, "vaderur_sample_temperature_celsius_count", i);
        AppendUnsigned(text, core.count);
        text += '\n';
    }
    AppendFamily(text, "vaderur_tjmax_celsius", "gauge", "TjMax of the processor as the host reports it, in degrees Celsius.");
    text += "vaderur_tjmax_celsius ";
    AppendInteger(text, tjMax);
    text += '\n';
    AppendFamily(text, "vaderur_updates_total", "counter", "Updates the plug-in received since it was loaded.");
    text += "vaderur_updates_total ";
    AppendUnsigned(text, updates);
    text += '\n';
    AppendFamily(text, "vaderur_last_update_timestamp_seconds", "gauge", "Unix time of the newest update, in seconds.");
    text += "vaderur_last_update_timestamp_seconds ";
    AppendScaled(text, lastUpdateMs, 3);
    text += '\n';
}

bool IsRootedWindowsPath(std::wstring_view path)
{
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (!path.empty() && separator(path[0]))
        return true;
    const bool letter = path.size() >= 2 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    return letter && path[1] == L':';
}

std::wstring MetricsTemporaryName(std::wstring_view target, uint32_t processId)
{
    std::wstring name(target);
    name += L'.';
    name += textformat::Digits<wchar_t>::Decimal(processId).Text();
    name += L".tmp";
    return name;
}

bool IsMetricsTemporaryName(std::wstring_view name, std::wstring_view fileName)
{
    const std::wstring_view suffix = L".tmp";
    if (name.size() < fileName.size() + 2 + suffix.size() || name.substr(0, fileName.size()) != fileName ||
        name[fileName.size()] != L'.' || name.substr(name.size() - suffix.size()) != suffix)
        return false;
    const std::wstring_view number = name.substr(fileName.size() + 1, name.size() - fileName.size() - 1 - suffix.size());
    return number.find_first_not_of(L"0123456789") == std::wstring_view::npos;
}
