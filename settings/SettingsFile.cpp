#include "settings/SettingsFile.h"

#include "settings/FileReplace.h"
#include "settings/IniText.h"

#include <cstdio>
#include <memory>

namespace {

constexpr char carriageReturn = '\r';
constexpr char lineFeed = '\n';
constexpr unsigned char endOfText = 0x1A;  // Ctrl-Z
constexpr char16_t largestByteCharacter = 0xFF;
constexpr char unwritableCharacter = '?';

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Beside the settings file, so that moving it into place never crosses a volume.
std::string TemporaryFileName()
{
    return std::string(IniText::fileName) + "." + std::to_string(CurrentProcessNumber()) + ".tmp";
}

enum class Placement { replaceExisting, onlyWhenMissing };

// Writes the bytes to a temporary file and moves it into place. The temporary file is gone
// afterwards on every path: moved, or removed after a failed write or move.
bool WriteThroughTemporaryFile(std::u16string_view text, Placement placement)
{
    const std::string bytes = EncodeSettingsText(text);
    const std::string temporary = TemporaryFileName();
    File file(std::fopen(temporary.c_str(), "wb"));
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    // fclose flushes; a full disk shows up here.
    written = std::fclose(file.release()) == 0 && written;
    const bool placed = written
        && (placement == Placement::replaceExisting ? ReplaceFileWith(temporary.c_str(), IniText::fileName)
                                                    : MoveToNewFile(temporary.c_str(), IniText::fileName));
    if (!placed)
        std::remove(temporary.c_str());
    return placed;
}

}  // namespace

std::u16string DecodeSettingsBytes(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == endOfText)
            break;
        // The LF that follows stands for the pair.
        if (byte == carriageReturn && i + 1 < bytes.size() && bytes[i + 1] == lineFeed)
            continue;
        text.push_back(static_cast<char16_t>(byte));
    }
    return text;
}

std::string EncodeSettingsText(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char16_t character : text) {
        if (character == lineFeed)
            bytes.push_back(carriageReturn);
        bytes.push_back(character <= largestByteCharacter ? static_cast<char>(character) : unwritableCharacter);
    }
    return bytes;
}

std::optional<std::string> ReadSettingsFileBytes()
{
    File file(std::fopen(IniText::fileName, "rb"));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.append(chunk, got);
    return bytes;
}

bool CreateSettingsFile(std::u16string_view text)
{
    return WriteThroughTemporaryFile(text, Placement::onlyWhenMissing);
}

bool WriteSettingsFile(const std::u16string& text)
{
    return WriteThroughTemporaryFile(text, Placement::replaceExisting);
}
