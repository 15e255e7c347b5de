#include "settings/SettingsFile.h"

#include "settings/FileReplace.h"
#include "settings/IniText.h"

#include <cstdio>
#include <memory>
#include <string_view>

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

// The folder part of a path, its last separator included; "" for a bare name.
std::string FolderOf(const std::string& path)
{
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// Beside the file it replaces, so that moving it into place never crosses a volume.
std::string TemporaryFileBeside(const std::string& target)
{
    return FolderOf(target) + IniText::fileName + "." + std::to_string(CurrentProcessNumber()) + ".tmp";
}

// Exactly the names TemporaryFileBeside gives: "Vaderur.ini.<process number>.tmp".
bool IsSettingsTemporaryName(std::string_view name)
{
    const std::string_view prefix = IniText::fileName;
    const std::string_view suffix = ".tmp";
    if (name.size() < prefix.size() + 2 + suffix.size() || name.substr(0, prefix.size()) != prefix
        || name[prefix.size()] != '.' || name.substr(name.size() - suffix.size()) != suffix)
        return false;
    const std::string_view number = name.substr(prefix.size() + 1, name.size() - prefix.size() - 1 - suffix.size());
    return number.find_first_not_of("0123456789") == std::string_view::npos;
}

enum class Written { yes, no, notOpened };

Written WriteBytes(const std::string& path, const std::string& bytes)
{
    File file(OpenFile(path.c_str(), "wb"));
    if (!file)
        return Written::notOpened;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    // fclose flushes; a full disk shows up here.
    return std::fclose(file.release()) == 0 && written ? Written::yes : Written::no;
}

enum class Placement { replaceExisting, onlyWhenMissing };

// Writes the bytes to a temporary file and moves it into place. The temporary file is gone
// afterwards on every path: moved, or removed after a failed write or move. A replaced file
// is the one the name finally resolves to, so a symbolic link keeps pointing at it; a
// read-only file is the user's and stays as it is.
bool WriteThroughTemporaryFile(std::u16string_view text, Placement placement)
{
    const std::string bytes = EncodeSettingsText(text);
    const bool replacing = placement == Placement::replaceExisting;
    const std::string target = replacing ? FinalPathOf(IniText::fileName) : std::string(IniText::fileName);
    if (replacing && IsReadOnlyFile(target.c_str()))
        return false;
    // A move would leave the other names with the old text: such a file is rewritten where it is.
    if (replacing && HasOtherNames(target.c_str()))
        return WriteBytes(target, bytes) == Written::yes;
    // Temporaries a killed process left here go now (older than this one, open nowhere).
    RemoveStaleFiles(FolderOf(target), IsSettingsTemporaryName);
    const std::string temporary = TemporaryFileBeside(target);
    const Written written = WriteBytes(temporary, bytes);
    if (written == Written::notOpened)
        return false;  // whatever has that name is not ours
    const bool placed = written == Written::yes
        && (replacing ? ReplaceFileWith(temporary.c_str(), target.c_str())
                      : MoveToNewFile(temporary.c_str(), target.c_str()));
    if (!placed)
        RemoveFile(temporary.c_str());
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
    File file(OpenFile(IniText::fileName, "rb"));
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
