#include "tests/host/HostProcess.h"

#include "win32/Handles.h"

#include <gtest/gtest.h>

std::wstring TestBinaryFolder()
{
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    const std::wstring path = name;
    return path.substr(0, path.find_last_of(L'\\'));
}

namespace {

std::wstring CurrentFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

std::wstring MakeCaseFolder(const std::wstring& name, const std::wstring& pluginDll)
{
    const std::wstring folder = CurrentFolder() + L"\\" + name + L"-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    EmptyFolder(folder);
    const std::wstring binaries = TestBinaryFolder();
    EXPECT_TRUE(CopyFileW((binaries + L"\\zentrix-host.exe").c_str(), (folder + L"\\zentrix-host.exe").c_str(), FALSE));
    if (!pluginDll.empty()) {
        EXPECT_TRUE(CopyFileW((binaries + L"\\" + pluginDll).c_str(), (folder + L"\\Vaderur.dll").c_str(), FALSE));
    }
    return folder;
}

HostResult RunHost(const std::wstring& folder, const std::wstring& arguments, DWORD timeoutMs,
                   const WhileHostRuns& whileRunning)
{
    HostResult result;
    const std::wstring outputPath = folder + L"\\host-output.txt";
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    {
        KernelHandle output(CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output) {
            ADD_FAILURE() << "cannot create the host's output file";
            return result;
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = output.Get();
        startup.hStdError = output.Get();
        const std::wstring exe = folder + L"\\zentrix-host.exe";
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                            &startup, &process)) {
            ADD_FAILURE() << "cannot start zentrix-host.exe: error " << GetLastError();
            return result;
        }
        KernelHandle processHandle(process.hProcess);
        KernelHandle threadHandle(process.hThread);
        if (whileRunning)
            whileRunning(process.dwThreadId);
        if (WaitForSingleObject(processHandle.Get(), timeoutMs) == WAIT_TIMEOUT) {
            result.timedOut = true;
            TerminateProcess(processHandle.Get(), 99);
            WaitForSingleObject(processHandle.Get(), 10000);
        }
        GetExitCodeProcess(processHandle.Get(), &result.exitCode);
    }
    result.output = ReadFileText(outputPath);
    return result;
}

std::string ReadFileText(const std::wstring& path)
{
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (!file)
        return text;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

void WriteFileText(const std::wstring& path, const std::string& text)
{
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* n, const std::wstring& value) : name(n)
{
    SetEnvironmentVariableW(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment()
{
    SetEnvironmentVariableW(name.c_str(), nullptr);
}
