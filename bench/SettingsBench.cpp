// Times ReadSettings on the default settings file and on a several-kilobyte one, and StoreFlag's
// rewrite, in a scratch folder of its own. Prints BENCH lines; asserts nothing.
#include "settings/FileReplace.h"
#include "settings/IniText.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsReader.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

constexpr int rounds = 5;

// The best mean of several rounds, in microseconds per call.
double MicrosecondsPerCall(int callsPerRound, const std::function<void()>& call)
{
    double best = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < callsPerRound; ++i)
            call();
        const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
        const double mean = spent.count() / callsPerRound;
        if (round == 0 || mean < best)
            best = mean;
    }
    return best;
}

void WriteBytes(const std::string& bytes)
{
    std::ofstream(IniText::fileName, std::ios::binary | std::ios::trunc) << bytes;
}

void Report(const char* metric, double microseconds, const std::string& note)
{
    std::printf("BENCH|%s|%.2f|us|%s\n", metric, microseconds, note.c_str());
}

std::string LargeSettingsFile()
{
    std::string bytes = EncodeSettingsText(defaultSettingsText);
    std::string extra;
    for (int line = 0; line < 60; ++line)
        extra += "; note " + std::to_string(line) + ": " + std::string(90, '-') + "\r\n";
    // The comments go before [General], so the window keys are found after a long scan.
    bytes.insert(bytes.find("[General]"), extra);
    return bytes;
}

}  // namespace

int main()
{
    const std::filesystem::path home = std::filesystem::current_path();
    const std::filesystem::path folder = std::filesystem::temp_directory_path()
        / ("vaderur-settings-bench-" + std::to_string(CurrentProcessNumber()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    constexpr uint32_t tjMax = 100;
    WindowOptions options{};
    const std::string note = std::to_string(rounds) + " rounds, best mean";

    WriteBytes(EncodeSettingsText(defaultSettingsText));
    Report("settings read (default file)", MicrosecondsPerCall(2000, [&] { ReadSettings(&options, tjMax); }),
           std::to_string(EncodeSettingsText(defaultSettingsText).size()) + " bytes, with options; " + note);
    Report("settings read without options (default file)",
           MicrosecondsPerCall(2000, [] { ReadSettings(nullptr, tjMax); }), "reload colours; " + note);

    const std::string large = LargeSettingsFile();
    WriteBytes(large);
    Report("settings read (large file)", MicrosecondsPerCall(500, [&] { ReadSettings(&options, tjMax); }),
           std::to_string(large.size()) + " bytes, with options; " + note);

    WriteBytes(EncodeSettingsText(defaultSettingsText));
    bool on = false;
    Report("settings flag store (default file)", MicrosecondsPerCall(500, [&] { StoreFlag(u"StartMinimized", on = !on); }),
           "read, one entry set, temporary file written and moved into place; " + note);

    std::filesystem::current_path(home);
    std::filesystem::remove_all(folder);
    return 0;
}
