#include "host/LinuxCpuSensors.h"

#include <algorithm>
#include <map>

namespace {

const std::string hwmonFolder = "/sys/class/hwmon";
const std::string thermalFolder = "/sys/class/thermal";
const std::string cpuFolder = "/sys/devices/system/cpu";

constexpr int32_t lowestPlausibleTenths = -400;   // -40 °C
constexpr int32_t highestPlausibleTenths = 1500;  // 150 °C

std::string_view TrimLine(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

std::optional<std::string> ReadLine(const SensorFileView& files, const std::string& path)
{
    std::optional<std::string> text = files.ReadText(path);
    if (!text)
        return std::nullopt;
    return std::string(TrimLine(*text));
}

std::optional<int64_t> ParseInteger(std::string_view text)
{
    text = TrimLine(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::optional<uint32_t> ReadNumber(const SensorFileView& files, const std::string& path)
{
    const std::optional<std::string> text = files.ReadText(path);
    if (!text)
        return std::nullopt;
    const std::optional<int64_t> value = ParseInteger(*text);
    if (!value || *value < 0 || *value > 0xFFFF)
        return std::nullopt;
    return static_cast<uint32_t>(*value);
}

// A critical temperature in millidegrees as whole degrees; 0 when absent or implausible.
uint32_t ReadCriticalDegrees(const SensorFileView& files, const std::string& path)
{
    const std::optional<std::string> text = files.ReadText(path);
    const std::optional<int64_t> milli = text ? ParseInteger(*text) : std::nullopt;
    if (!milli || *milli < 50000 || *milli > 150000)
        return 0;
    return static_cast<uint32_t>(*milli / 1000);
}

bool Readable(const SensorFileView& files, const std::string& input)
{
    const std::optional<std::string> text = files.ReadText(input);
    return text && ParseMilliCelsius(*text).has_value();
}

// Folder entries that start with prefix, ordered by the number that follows it.
std::vector<std::string> NumberedEntries(const SensorFileView& files, const std::string& folder, const std::string& prefix)
{
    std::vector<std::pair<int64_t, std::string>> numbered;
    for (const std::string& name : files.ListFolder(folder)) {
        if (name.rfind(prefix, 0) != 0)
            continue;
        if (const std::optional<int64_t> n = ParseInteger(std::string_view(name).substr(prefix.size())))
            numbered.emplace_back(*n, name);
    }
    std::sort(numbered.begin(), numbered.end());
    std::vector<std::string> names;
    for (auto& entry : numbered)
        names.push_back(folder + "/" + entry.second);
    return names;
}

struct LabelledInput {
    std::string label;
    std::string input;
    std::string critical;
};

// The tempN_input files of one hwmon folder with their labels, in N order.
std::vector<LabelledInput> TemperatureInputs(const SensorFileView& files, const std::string& folder)
{
    std::vector<std::pair<int64_t, LabelledInput>> found;
    for (const std::string& name : files.ListFolder(folder)) {
        const std::string suffix = "_input";
        if (name.rfind("temp", 0) != 0 || name.size() <= suffix.size() + 4 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string stem = name.substr(0, name.size() - suffix.size());
        const std::optional<int64_t> n = ParseInteger(std::string_view(stem).substr(4));
        if (!n)
            continue;
        LabelledInput entry;
        entry.label = ReadLine(files, folder + "/" + stem + "_label").value_or("");
        entry.input = folder + "/" + name;
        entry.critical = folder + "/" + stem + "_crit";
        found.emplace_back(*n, std::move(entry));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LabelledInput> inputs;
    for (auto& entry : found)
        if (Readable(files, entry.second.input))
            inputs.push_back(std::move(entry.second));
    return inputs;
}

std::optional<uint32_t> NumberAfter(const std::string& label, const std::string& prefix)
{
    if (label.rfind(prefix, 0) != 0)
        return std::nullopt;
    const std::optional<int64_t> n = ParseInteger(std::string_view(label).substr(prefix.size()));
    if (!n || *n < 0)
        return std::nullopt;
    return static_cast<uint32_t>(*n);
}

// Intel: one hwmon folder per package, with "Core N" sensors (N is the core id of the
// topology) and a "Package id P" sensor.
std::optional<CpuTemperaturePlan> IntelCoreSensors(const SensorFileView& files, const std::vector<std::string>& hwmons,
                                                   uint32_t logicalCpus)
{
    CpuTemperaturePlan plan;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> coreInput;  // (package, core id) -> input
    std::map<uint32_t, uint32_t> packageInput;
    std::vector<uint32_t> coreInputsInOrder;
    uint32_t packageOrdinal = 0;

    for (const std::string& folder : hwmons) {
        if (ReadLine(files, folder + "/name").value_or("") != "coretemp")
            continue;
        const std::vector<LabelledInput> inputs = TemperatureInputs(files, folder);
        uint32_t package = packageOrdinal++;
        for (const LabelledInput& entry : inputs)
            if (const auto id = NumberAfter(entry.label, "Package id "))
                package = *id;
        for (const LabelledInput& entry : inputs) {
            const uint32_t index = static_cast<uint32_t>(plan.inputs.size());
            if (const auto core = NumberAfter(entry.label, "Core ")) {
                coreInput[{package, *core}] = index;
                coreInputsInOrder.push_back(index);
            } else if (NumberAfter(entry.label, "Package id ")) {
                packageInput[package] = index;
            } else {
                continue;
            }
            plan.inputs.push_back(entry.input);
            if (plan.tjMax == 0)
                plan.tjMax = ReadCriticalDegrees(files, entry.critical);
        }
    }
    if (plan.inputs.empty())
        return std::nullopt;

    for (uint32_t cpu = 0; cpu < logicalCpus; ++cpu) {
        const std::string topology = cpuFolder + "/cpu" + std::to_string(cpu) + "/topology/";
        const std::optional<uint32_t> package = ReadNumber(files, topology + "physical_package_id");
        const std::optional<uint32_t> core = ReadNumber(files, topology + "core_id");
        uint32_t input;
        if (package && core && coreInput.count({*package, *core}))
            input = coreInput[{*package, *core}];
        else if (package && packageInput.count(*package))
            input = packageInput[*package];
        else if (!coreInputsInOrder.empty())
            input = coreInputsInOrder[cpu % coreInputsInOrder.size()];
        else
            input = packageInput.begin()->second;
        plan.inputOfCpu.push_back(input);
    }
    plan.description = "coretemp: " + std::to_string(coreInputsInOrder.size()) + " core and " +
                       std::to_string(packageInput.size()) + " package sensors";
    return plan;
}

CpuTemperaturePlan OneSensorForAll(const std::string& description, const std::string& input, uint32_t tjMax,
                                   uint32_t logicalCpus)
{
    CpuTemperaturePlan plan;
    plan.description = description;
    plan.inputs.push_back(input);
    plan.inputOfCpu.assign(logicalCpus, 0);
    plan.tjMax = tjMax;
    return plan;
}

// AMD (k10temp, zenpower) and single-sensor CPU drivers: one temperature for every core.
std::optional<CpuTemperaturePlan> PackageSensor(const SensorFileView& files, const std::vector<std::string>& hwmons,
                                                uint32_t logicalCpus)
{
    const char* const drivers[] = {"k10temp", "zenpower", "cpu_thermal", "cpu-thermal", "soc_thermal"};
    const char* const preferredLabels[] = {"Tdie", "Tctl"};
    for (const char* driver : drivers) {
        for (const std::string& folder : hwmons) {
            if (ReadLine(files, folder + "/name").value_or("") != driver)
                continue;
            const std::vector<LabelledInput> inputs = TemperatureInputs(files, folder);
            if (inputs.empty())
                continue;
            const LabelledInput* chosen = nullptr;
            for (const char* label : preferredLabels)
                for (const LabelledInput& entry : inputs)
                    if (!chosen && entry.label == label)
                        chosen = &entry;
            if (!chosen)
                chosen = &inputs.front();
            std::string description = std::string(driver) + ": ";
            description += chosen->label.empty() ? "one sensor" : chosen->label;
            description += " for every core";
            return OneSensorForAll(description, chosen->input, ReadCriticalDegrees(files, chosen->critical), logicalCpus);
        }
    }
    return std::nullopt;
}

// Thermal zones of the CPU package, with the critical trip point as TjMax.
std::optional<CpuTemperaturePlan> CpuThermalZone(const SensorFileView& files, uint32_t logicalCpus)
{
    const char* const types[] = {"x86_pkg_temp", "cpu-thermal", "cpu_thermal", "soc_thermal", "soc-thermal", "cpu"};
    const std::vector<std::string> zones = NumberedEntries(files, thermalFolder, "thermal_zone");
    for (const char* type : types) {
        for (const std::string& zone : zones) {
            if (ReadLine(files, zone + "/type").value_or("") != type || !Readable(files, zone + "/temp"))
                continue;
            uint32_t tjMax = 0;
            for (uint32_t trip = 0; trip < 16 && tjMax == 0; ++trip) {
                const std::string point = zone + "/trip_point_" + std::to_string(trip);
                const std::optional<std::string> kind = ReadLine(files, point + "_type");
                if (!kind)
                    break;
                if (*kind == "critical")
                    tjMax = ReadCriticalDegrees(files, point + "_temp");
            }
            return OneSensorForAll(std::string("thermal zone ") + type + " for every core", zone + "/temp", tjMax,
                                   logicalCpus);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<int32_t> ParseMilliCelsius(std::string_view text)
{
    const std::optional<int64_t> milli = ParseInteger(text);
    if (!milli)
        return std::nullopt;
    const int64_t tenths = *milli >= 0 ? (*milli + 50) / 100 : (*milli - 50) / 100;
    if (tenths < lowestPlausibleTenths || tenths > highestPlausibleTenths)
        return std::nullopt;
    return static_cast<int32_t>(tenths);
}

std::optional<CpuTemperaturePlan> FindCpuTemperatureSensors(const SensorFileView& files, uint32_t logicalCpus)
{
    if (logicalCpus == 0)
        return std::nullopt;
    const std::vector<std::string> hwmons = NumberedEntries(files, hwmonFolder, "hwmon");
    if (auto plan = IntelCoreSensors(files, hwmons, logicalCpus))
        return plan;
    if (auto plan = PackageSensor(files, hwmons, logicalCpus))
        return plan;
    return CpuThermalZone(files, logicalCpus);
}
