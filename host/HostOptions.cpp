#include "host/HostOptions.h"

#include <optional>

namespace {

// Plain decimal digits only: no sign, no spaces, no hexadecimal.
std::optional<uint32_t> ParseCount(const std::wstring& text, uint32_t low, uint32_t high)
{
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - L'0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::wstring Decimal(uint32_t value)
{
    return std::to_wstring(value);
}

class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::wstring>& a) : args(a) {}

    bool AtEnd() const { return next >= args.size(); }

    // Splits "--name=value" so that the value is handed out by the next TakeValue.
    std::wstring TakeOption()
    {
        std::wstring arg = args[next++];
        inlineValue.reset();
        const size_t equals = arg.find(L'=');
        if (arg.rfind(L"--", 0) == 0 && equals != std::wstring::npos) {
            inlineValue = arg.substr(equals + 1);
            arg.resize(equals);
        }
        return arg;
    }

    std::optional<std::wstring> TakeValue()
    {
        if (inlineValue) {
            std::optional<std::wstring> value = std::move(inlineValue);
            inlineValue.reset();
            return value;
        }
        if (AtEnd())
            return std::nullopt;
        return args[next++];
    }

    bool HasUnusedInlineValue() const { return inlineValue.has_value(); }

private:
    const std::vector<std::wstring>& args;
    size_t next = 0;
    std::optional<std::wstring> inlineValue;
};

struct CountOption {
    const wchar_t* name;
    uint32_t HostOptions::*field;
    uint32_t low;
    uint32_t high;
};

const CountOption countOptions[] = {
    {L"--interval", &HostOptions::intervalMs, minimumIntervalMs, 86400000},
    {L"--updates", &HostOptions::updates, 0, 0xFFFFFFFFu},
    {L"--cores", &HostOptions::cores, 1, maximumCores},
    {L"--export-timeout", &HostOptions::exportTimeoutMs, 100, 3600000},
    {L"--hold", &HostOptions::holdMs, 0, 3600000},
};

struct FlagOption {
    const wchar_t* name;
    bool HostOptions::*field;
};

const FlagOption flagOptions[] = {
    {L"--fast", &HostOptions::fast},
    {L"--export", &HostOptions::exportPngs},
    {L"--no-plugin", &HostOptions::withoutPlugin},
    {L"--help", &HostOptions::help},
    {L"-h", &HostOptions::help},
    {L"/?", &HostOptions::help},
};

std::wstring SeeHelp()
{
    return L" (zentrix-host --help lists the options)";
}

}  // namespace

OptionsResult ParseHostOptions(const std::vector<std::wstring>& args)
{
    OptionsResult result;
    HostOptions& options = result.options;
    bool coresGiven = false;
    ArgumentReader reader(args);

    auto fail = [&result](std::wstring message) {
        result.ok = false;
        result.error = std::move(message);
        return result;
    };

    while (!reader.AtEnd()) {
        const std::wstring name = reader.TakeOption();

        bool matched = false;
        for (const FlagOption& flag : flagOptions) {
            if (name == flag.name) {
                if (reader.HasUnusedInlineValue())
                    return fail(name + L" takes no value" + SeeHelp());
                options.*flag.field = true;
                matched = true;
            }
        }
        for (const CountOption& count : countOptions) {
            if (name != count.name)
                continue;
            const std::optional<std::wstring> text = reader.TakeValue();
            if (!text)
                return fail(name + L" needs a number" + SeeHelp());
            const std::optional<uint32_t> value = ParseCount(*text, count.low, count.high);
            if (!value)
                return fail(name + L" needs a whole number from " + Decimal(count.low) + L" to " +
                            Decimal(count.high) + L", not '" + *text + L"'");
            options.*count.field = *value;
            coresGiven = coresGiven || count.field == &HostOptions::cores;
            matched = true;
        }
        if (matched)
            continue;

        if (name == L"--plugin" || name == L"--screenshot") {
            const std::optional<std::wstring> path = reader.TakeValue();
            if (!path || path->empty())
                return fail(name + L" needs a file name" + SeeHelp());
            (name == L"--plugin" ? options.pluginPath : options.screenshotFile) = *path;
        } else if (name == L"--source") {
            const std::optional<std::wstring> kind = reader.TakeValue();
            if (kind && *kind == L"system") {
                options.source = SourceKind::System;
            } else if (kind && *kind == L"synthetic") {
                options.source = SourceKind::Synthetic;
            } else if (kind && *kind == L"replay") {
                const std::optional<std::wstring> file = reader.TakeValue();
                if (!file || file->empty() || file->rfind(L"--", 0) == 0)
                    return fail(L"--source replay needs the CSV file to replay" + SeeHelp());
                options.source = SourceKind::Replay;
                options.replayFile = *file;
            } else {
                return fail(L"--source needs system, synthetic or replay FILE, not '" +
                            kind.value_or(L"") + L"'");
            }
        } else if (name.rfind(L"-", 0) == 0) {
            return fail(L"unknown option '" + name + L"'" + SeeHelp());
        } else {
            return fail(L"unexpected argument '" + name + L"'" + SeeHelp());
        }
    }

    if (options.help) {
        result.ok = true;
        return result;
    }
    if (coresGiven && options.source != SourceKind::Synthetic)
        return fail(L"--cores applies to the synthetic source only; the system source counts "
                    L"the processors and a replay log has its own columns");
    if (options.fast && options.source == SourceKind::System)
        return fail(L"--fast needs the replay or synthetic source: loads are measured between "
                    L"polls, so the system source runs at its interval");
    if (options.withoutPlugin && (options.exportPngs || !options.screenshotFile.empty()))
        return fail(L"--no-plugin runs without a plug-in window, so --export and --screenshot "
                    L"have nothing to act on");
    if (options.source == SourceKind::Synthetic && options.updates == 0 && options.fast)
        return fail(L"--fast with the synthetic source needs --updates: that source never ends");
    result.ok = true;
    return result;
}

std::wstring HostUsageText()
{
    return L"zentrix-host: a stand-in for the Zentrix monitor that drives a graphing plug-in.\n"
           L"It loads the plug-in DLL, opens a small host window, polls a sensor source on a\n"
           L"timer and hands every snapshot of per-core temperature and load to the plug-in.\n"
           L"\n"
           L"Usage: zentrix-host [options]\n"
           L"  --plugin PATH        the plug-in DLL (default: Vaderur.dll beside zentrix-host.exe)\n"
           L"  --source system      per-core load from the operating system and temperatures from\n"
           L"                       the CPU's sensors (Linux hwmon under Wine), or modelled from\n"
           L"                       the load where none can be read (the default)\n"
           L"  --source synthetic   a deterministic CPU whose cores warm up and cool down\n"
           L"  --source replay FILE replays a CSV log, one row per poll (see README)\n"
           L"  --cores N            cores of the synthetic source, 1 to 256 (default 4)\n"
           L"  --interval MS        poll period in milliseconds, at least 10 (default 1000)\n"
           L"  --updates N          end after N updates (default: run until the plug-in window\n"
           L"                       or the host window is closed, or the log ends)\n"
           L"  --fast               replay or synthetic: poll as fast as possible\n"
           L"  --export             after the last update ask the plug-in for \"Create &PNG\" and\n"
           L"                       wait until every Core #i.png beside zentrix-host.exe is written\n"
           L"  --export-timeout MS  how long to wait for the PNGs (default 60000)\n"
           L"  --screenshot FILE    save the plug-in window as a PNG before releasing the plug-in\n"
           L"  --hold MS            keep the plug-in loaded MS milliseconds after the run and the\n"
           L"                       export, so its files (the metrics file) can still be read\n"
           L"  --no-plugin          run the source and timer without a plug-in (for measuring the\n"
           L"                       plug-in's CPU share)\n"
           L"  --help               this text\n"
           L"\n"
           L"Exit codes: 0 the run ended normally, 1 the plug-in, the source, the export or the\n"
           L"screenshot failed, 2 the command line is wrong.\n";
}
