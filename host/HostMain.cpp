// zentrix-host.exe: the reference host. Reads the command line and hands it to the run;
// no exception leaves main.
#include "host/HostConsole.h"
#include "host/HostOptions.h"
#include "host/HostSession.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace {

std::vector<std::wstring> CommandLineArguments()
{
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return args;
    for (int i = 1; i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

}  // namespace

int main()
{
    try {
        SetConsoleOutputCP(CP_UTF8);
        const OptionsResult parsed = ParseHostOptions(CommandLineArguments());
        if (!parsed.ok) {
            PrintError(parsed.error);
            return exitBadCommandLine;
        }
        if (parsed.options.help) {
            PrintOut(HostUsageText());
            return exitSuccess;
        }
        return RunHost(parsed.options);
    } catch (const std::bad_alloc&) {
        PrintError(L"out of memory");
    } catch (...) {
        PrintError(L"an unexpected error ended the run");
    }
    return exitRunFailed;
}
