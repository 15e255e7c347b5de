#include "host/SensorSource.h"

#include "win32/Handles.h"
#include "host/HostConsole.h"
#include "host/LinuxCpuSensors.h"
#include "host/ProcessorLoad.h"
#include "host/ThermalModel.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace {

// The record that SystemProcessorPerformanceInformation returns, one per processor.
struct ProcessorPerformanceRecord {
    LARGE_INTEGER idleTime;
    LARGE_INTEGER kernelTime;  // includes the idle time
    LARGE_INTEGER userTime;
    LARGE_INTEGER dpcTime;
    LARGE_INTEGER interruptTime;
    ULONG interruptCount;
};
static_assert(sizeof(ProcessorPerformanceRecord) == 48, "the layout ntdll fills");

constexpr int systemProcessorPerformanceInformation = 8;
using QueryProc = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
using QueryExProc = LONG(WINAPI*)(int, void*, ULONG, void*, ULONG, ULONG*);

// Reads every processor's cumulative times from ntdll, group by group.
class ProcessorTimesReader {
public:
    explicit ProcessorTimesReader(uint32_t processors) : count(processors)
    {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        if (ntdll) {
            query = reinterpret_cast<QueryProc>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
            queryEx = reinterpret_cast<QueryExProc>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformationEx")));
        }
    }

    bool Available() const { return query != nullptr; }

    // Times of processors 0..count-1; processors that could not be read keep zero times.
    bool Read(std::vector<ProcessorTimes>& times)
    {
        times.assign(count, ProcessorTimes{});
        const WORD groups = GetActiveProcessorGroupCount();
        uint32_t next = 0;
        for (WORD group = 0; group < groups && next < count; ++group) {
            std::vector<ProcessorPerformanceRecord> records(64);
            const ULONG bytes = static_cast<ULONG>(records.size() * sizeof(ProcessorPerformanceRecord));
            ULONG returned = 0;
            LONG status;
            if (groups > 1 && queryEx)
                status = queryEx(systemProcessorPerformanceInformation, &group, sizeof group, records.data(), bytes, &returned);
            else if (group == 0)
                status = query(systemProcessorPerformanceInformation, records.data(), bytes, &returned);
            else
                break;
            if (status < 0)
                return next > 0;
            const uint32_t inGroup = returned / sizeof(ProcessorPerformanceRecord);
            for (uint32_t i = 0; i < inGroup && next < count; ++i, ++next) {
                times[next].idle = static_cast<uint64_t>(records[i].idleTime.QuadPart);
                times[next].kernel = static_cast<uint64_t>(records[i].kernelTime.QuadPart);
                times[next].user = static_cast<uint64_t>(records[i].userTime.QuadPart);
            }
        }
        return next > 0;
    }

private:
    uint32_t count;
    QueryProc query = nullptr;
    QueryExProc queryEx = nullptr;
};

// Linux's /sys as Wine shows it (through the DOS name of "/", normally Z:\). Absent
// outside Wine.
class WineSysfsView : public SensorFileView {
public:
    static std::optional<WineSysfsView> Open()
    {
        using DosNameProc = WCHAR*(CDECL*)(const char*);
        const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        const auto dosName = kernel ? reinterpret_cast<DosNameProc>(reinterpret_cast<void*>(
                                          GetProcAddress(kernel, "wine_get_dos_file_name")))
                                    : nullptr;
        if (!dosName)
            return std::nullopt;
        WCHAR* root = dosName("/");
        if (!root)
            return std::nullopt;
        std::wstring prefix = root;
        HeapFree(GetProcessHeap(), 0, root);
        while (!prefix.empty() && prefix.back() == L'\\')
            prefix.pop_back();
        return WineSysfsView(prefix);
    }

    std::optional<std::string> ReadText(const std::string& path) const override
    {
        KernelHandle file(CreateFileW(DosPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return std::nullopt;
        // sysfs files claim a page whatever they hold: read until the end.
        std::string text;
        char buffer[4096];
        DWORD read = 0;
        while (text.size() < 65536 && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
            text.append(buffer, read);
        return text;
    }

    std::vector<std::string> ListFolder(const std::string& path) const override
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW((DosPath(path) + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::string narrow;
            for (wchar_t c : name)
                narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
            names.push_back(narrow);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

private:
    explicit WineSysfsView(std::wstring root) : rootPrefix(std::move(root)) {}

    std::wstring DosPath(const std::string& path) const
    {
        std::wstring dos = rootPrefix;
        for (char c : path)
            dos.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
        return dos;
    }

    std::wstring rootPrefix;
};

class SystemSensorSource : public SensorSource {
public:
    SystemSensorSource(uint32_t processors, std::optional<WineSysfsView> sysfs, std::optional<CpuTemperaturePlan> plan)
        : count(processors), reader(processors), files(std::move(sysfs)), sensors(std::move(plan)),
          previous(processors), modelled(processors)
    {
        if (sensors)
            lastTenths.assign(sensors->inputs.size(), ThermalLag::idleTemperatureTenths);
    }

    bool Next(SensorSnapshot& snapshot) override
    {
        ZeroMemory(&snapshot, sizeof snapshot);
        snapshot.coreCount = count;
        snapshot.tjMax = sensors && sensors->tjMax ? sensors->tjMax : assumedTjMax;

        std::vector<ProcessorTimes> now;
        if (reader.Read(now)) {
            for (uint32_t cpu = 0; cpu < count; ++cpu)
                snapshot.coreLoad[cpu] = LoadPercent(previous[cpu], now[cpu]);
            previous = std::move(now);
        }

        if (sensors) {
            for (size_t i = 0; i < sensors->inputs.size(); ++i) {
                const std::optional<std::string> text = files->ReadText(sensors->inputs[i]);
                if (const std::optional<int32_t> tenths = text ? ParseMilliCelsius(*text) : std::nullopt)
                    lastTenths[i] = *tenths;
            }
            for (uint32_t cpu = 0; cpu < count; ++cpu)
                snapshot.coreTemperature[cpu] = static_cast<float>(lastTenths[sensors->inputOfCpu[cpu]]) / 10.0f;
        } else {
            for (uint32_t cpu = 0; cpu < count; ++cpu)
                snapshot.coreTemperature[cpu] = static_cast<float>(modelled[cpu].Step(snapshot.coreLoad[cpu])) / 10.0f;
        }
        return true;
    }

    std::wstring Description() const override
    {
        std::wstring text = L"system: " + std::to_wstring(count) + L" logical processors, load measured by the system";
        if (sensors) {
            text += L"; temperatures measured (" + WidenUtf8(sensors->description) + L")";
            text += sensors->tjMax ? L", TjMax " + std::to_wstring(sensors->tjMax) + L" \u00B0C from the sensors"
                                   : L", TjMax 100 \u00B0C assumed";
        } else {
            text += L"; temperatures MODELLED from the load (no CPU temperature sensor could be read), TjMax 100 "
                    L"\u00B0C assumed";
        }
        return text;
    }

    std::wstring Summary() const override
    {
        return L"system, " + std::to_wstring(count) + L" processors, temperatures " +
               (sensors ? L"measured" : L"MODELLED from the load");
    }

private:
    static constexpr uint32_t assumedTjMax = 100;

    uint32_t count;
    ProcessorTimesReader reader;
    std::optional<WineSysfsView> files;
    std::optional<CpuTemperaturePlan> sensors;
    std::vector<int32_t> lastTenths;
    std::vector<ProcessorTimes> previous;
    std::vector<ThermalLag> modelled;
};

}  // namespace

std::unique_ptr<SensorSource> OpenSystemSource(std::wstring& error)
{
    DWORD processors = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
    if (processors == 0) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        processors = info.dwNumberOfProcessors;
    }
    const uint32_t count = processors > maxSnapshotCores ? maxSnapshotCores : static_cast<uint32_t>(processors);

    std::optional<WineSysfsView> sysfs = WineSysfsView::Open();
    std::optional<CpuTemperaturePlan> plan;
    if (sysfs)
        plan = FindCpuTemperatureSensors(*sysfs, count);

    // The first poll's load is the average since boot: the baseline starts at zero times.
    auto source = std::make_unique<SystemSensorSource>(count, std::move(sysfs), std::move(plan));
    std::vector<ProcessorTimes> probe;
    if (count == 0 || !ProcessorTimesReader(count).Available() || !ProcessorTimesReader(count).Read(probe)) {
        error = L"cannot read the processors' times from the system (NtQuerySystemInformation)";
        return nullptr;
    }
    return source;
}
