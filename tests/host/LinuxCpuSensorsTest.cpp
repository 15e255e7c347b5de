#include "host/LinuxCpuSensors.h"
#include "host/ProcessorLoad.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A Linux /sys tree held in a map: "path" -> text; folders are implied by their files.
class FakeSysfs : public SensorFileView {
public:
    void Add(const std::string& path, const std::string& text) { files[path] = text; }

    std::optional<std::string> ReadText(const std::string& path) const override
    {
        const auto found = files.find(path);
        if (found == files.end())
            return std::nullopt;
        return found->second;
    }

    std::vector<std::string> ListFolder(const std::string& path) const override
    {
        std::vector<std::string> names;
        const std::string prefix = path + "/";
        for (const auto& entry : files) {
            if (entry.first.rfind(prefix, 0) != 0)
                continue;
            const std::string rest = entry.first.substr(prefix.size());
            const std::string name = rest.substr(0, rest.find('/'));
            if (names.empty() || names.back() != name)
                names.push_back(name);
        }
        return names;
    }

private:
    std::map<std::string, std::string> files;
};

void AddCoreTopology(FakeSysfs& sys, uint32_t cpu, uint32_t package, uint32_t core)
{
    const std::string topology = "/sys/devices/system/cpu/cpu" + std::to_string(cpu) + "/topology/";
    sys.Add(topology + "physical_package_id", std::to_string(package) + "\n");
    sys.Add(topology + "core_id", std::to_string(core) + "\n");
}

TEST(ParseMilliCelsius, ReadsSysfsTextAsTenthsOfADegree)
{
    struct Case {
        const char* text;
        std::optional<int32_t> tenths;
    };
    const Case cases[] = {
        {"45000\n", 450}, {"45049", 450}, {"45050\n", 451}, {"-5000\n", -50}, {"0\n", 0},
        {"150000", 1500}, {"150100", std::nullopt}, {"-45000", std::nullopt}, {"", std::nullopt},
        {"abc\n", std::nullopt}, {"45.0\n", std::nullopt}, {"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseMilliCelsius(c.text), c.tenths) << c.text;
}

TEST(CpuSensors, IntelCoreSensorsFollowTheTopologyWithHyperThreads)
{
    FakeSysfs sys;
    sys.Add("/sys/class/hwmon/hwmon0/name", "acpitz\n");
    sys.Add("/sys/class/hwmon/hwmon0/temp1_input", "27800\n");
    const std::string c = "/sys/class/hwmon/hwmon3";
    sys.Add(c + "/name", "coretemp\n");
    sys.Add(c + "/temp1_label", "Package id 0\n");
    sys.Add(c + "/temp1_input", "55000\n");
    sys.Add(c + "/temp1_crit", "100000\n");
    sys.Add(c + "/temp2_label", "Core 0\n");
    sys.Add(c + "/temp2_input", "51000\n");
    sys.Add(c + "/temp2_crit", "100000\n");
    sys.Add(c + "/temp3_label", "Core 4\n");
    sys.Add(c + "/temp3_input", "53000\n");
    // Four logical processors on two cores (ids 0 and 4), siblings numbered after the cores.
    AddCoreTopology(sys, 0, 0, 0);
    AddCoreTopology(sys, 1, 0, 4);
    AddCoreTopology(sys, 2, 0, 0);
    AddCoreTopology(sys, 3, 0, 4);

    const auto plan = FindCpuTemperatureSensors(sys, 5);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->tjMax, 100u);
    ASSERT_EQ(plan->inputOfCpu.size(), 5u);
    auto inputOf = [&](uint32_t cpu) { return plan->inputs[plan->inputOfCpu[cpu]]; };
    EXPECT_EQ(inputOf(0), c + "/temp2_input");
    EXPECT_EQ(inputOf(1), c + "/temp3_input");
    EXPECT_EQ(inputOf(2), c + "/temp2_input");
    EXPECT_EQ(inputOf(3), c + "/temp3_input");
    EXPECT_EQ(inputOf(4), c + "/temp2_input");  // no topology: the core sensors in turn
    EXPECT_NE(plan->description.find("coretemp"), std::string::npos);
}

TEST(CpuSensors, IntelWithoutCoreLabelsUsesThePackageSensor)
{
    FakeSysfs sys;
    sys.Add("/sys/class/hwmon/hwmon1/name", "coretemp\n");
    sys.Add("/sys/class/hwmon/hwmon1/temp1_label", "Package id 0\n");
    sys.Add("/sys/class/hwmon/hwmon1/temp1_input", "60000\n");
    AddCoreTopology(sys, 0, 0, 0);
    const auto plan = FindCpuTemperatureSensors(sys, 2);
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->inputs.size(), 1u);
    EXPECT_EQ(plan->inputOfCpu, (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(plan->tjMax, 0u);
}

TEST(CpuSensors, AmdPrefersTdieThenTctlForEveryCore)
{
    FakeSysfs sys;
    const std::string k = "/sys/class/hwmon/hwmon2";
    sys.Add(k + "/name", "k10temp\n");
    sys.Add(k + "/temp1_label", "Tctl\n");
    sys.Add(k + "/temp1_input", "68000\n");
    sys.Add(k + "/temp3_label", "Tccd1\n");
    sys.Add(k + "/temp3_input", "61000\n");
    auto plan = FindCpuTemperatureSensors(sys, 3);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->inputs, (std::vector<std::string>{k + "/temp1_input"}));
    EXPECT_EQ(plan->inputOfCpu, (std::vector<uint32_t>{0, 0, 0}));
    EXPECT_NE(plan->description.find("Tctl"), std::string::npos);

    sys.Add(k + "/temp2_label", "Tdie\n");
    sys.Add(k + "/temp2_input", "58000\n");
    plan = FindCpuTemperatureSensors(sys, 3);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->inputs, (std::vector<std::string>{k + "/temp2_input"}));
}

TEST(CpuSensors, ThermalZoneTakesTjMaxFromTheCriticalTripPoint)
{
    FakeSysfs sys;
    const std::string acpi = "/sys/class/thermal/thermal_zone0";
    sys.Add(acpi + "/type", "acpitz\n");
    sys.Add(acpi + "/temp", "30000\n");
    const std::string pkg = "/sys/class/thermal/thermal_zone10";
    sys.Add(pkg + "/type", "x86_pkg_temp\n");
    sys.Add(pkg + "/temp", "47000\n");
    sys.Add(pkg + "/trip_point_0_type", "passive\n");
    sys.Add(pkg + "/trip_point_0_temp", "90000\n");
    sys.Add(pkg + "/trip_point_1_type", "critical\n");
    sys.Add(pkg + "/trip_point_1_temp", "105000\n");
    const auto plan = FindCpuTemperatureSensors(sys, 2);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->inputs, (std::vector<std::string>{pkg + "/temp"}));
    EXPECT_EQ(plan->tjMax, 105u);
}

TEST(CpuSensors, NothingReadableMeansNoPlan)
{
    FakeSysfs empty;
    EXPECT_FALSE(FindCpuTemperatureSensors(empty, 4));

    FakeSysfs unreadable;
    unreadable.Add("/sys/class/hwmon/hwmon0/name", "coretemp\n");
    unreadable.Add("/sys/class/hwmon/hwmon0/temp2_label", "Core 0\n");
    unreadable.Add("/sys/class/hwmon/hwmon0/temp2_input", "N/A\n");
    unreadable.Add("/sys/class/hwmon/hwmon1/name", "acpitz\n");
    unreadable.Add("/sys/class/hwmon/hwmon1/temp1_input", "40000\n");
    unreadable.Add("/sys/class/thermal/thermal_zone0/type", "x86_pkg_temp\n");
    unreadable.Add("/sys/class/thermal/thermal_zone0/temp", "-273000\n");
    EXPECT_FALSE(FindCpuTemperatureSensors(unreadable, 4));
    EXPECT_FALSE(FindCpuTemperatureSensors(unreadable, 0));
}

TEST(LoadPercent, BusyShareOfTheIntervalWithKernelTimeIncludingIdle)
{
    struct Case {
        ProcessorTimes before, after;
        uint32_t load;
    };
    const Case cases[] = {
        {{100, 200, 50}, {100, 300, 150}, 100},   // no idle at all
        {{100, 200, 50}, {200, 300, 50}, 0},      // all idle
        {{0, 0, 0}, {75, 100, 0}, 25},
        {{0, 0, 0}, {50, 75, 25}, 50},
        {{0, 0, 0}, {2, 3, 0}, 33},
        {{0, 0, 0}, {1, 3, 0}, 67},               // rounds to nearest
        {{10, 10, 10}, {10, 10, 10}, 0},          // counters did not move
        {{10, 20, 30}, {5, 40, 40}, 0},           // idle went backwards
        {{0, 0, 0}, {200, 100, 0}, 0},            // idle beyond the total
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadPercent(c.before, c.after), c.load) << c.after.idle << " " << c.after.kernel;
}

}  // namespace
