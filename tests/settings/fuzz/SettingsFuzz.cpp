// libFuzzer target: arbitrary file bytes through the byte-to-text translation, every key lookup,
// every value conversion and the entry rewrite, with the invariants each of them promises.
// Built and run by scripts/fuzz.sh.
#include "settings/IniText.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsParsing.h"
#include "settings/SettingsReader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char16_t* const keys[] = {
    u"BGColor",     u"FrameColor",    u"GraphColor",     u"LoadGraphColor", u"MessageColor",
    u"GridColor",   u"TextColor",     u"TitleColor",     u"XAxisColor",     u"ShowXAxis",
    u"ShowSyatrayIcon", u"StartMinimized", u"RangeMax",  u"RangeMin",       u"PollInterval",
    u"LogInterval", u"GraphWidth",    u"GraphHeight",    u"Transparency",   u"AlwaysOnTop",
};

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void ConvertEveryWay(std::u16string_view value)
{
    ParseHexadecimal(value);
    Require(PollIntervalFromSeconds(value) <= 4294967294u);
    Require(LogIntervalFromMinutes(ParseDecimal(value)) <= longestTimerPeriodMs);
}

void CheckLookup(const std::u16string& text, const std::u16string& key)
{
    const std::optional<std::u16string> value = FindValue(text, key);
    if (!value)
        return;
    Require(!value->empty());
    Require(value->find_first_of(u"=;\n") == std::u16string::npos);
    ConvertEveryWay(*value);
}

void CheckSetValue(const std::u16string& text, const std::u16string& key, const std::u16string& value)
{
    IniText ini;
    ini.text = text;
    const bool set = ini.SetValue(key, value);
    Require(ini.text.has_value());
    if (!set) {
        Require(*ini.text == text);
        return;
    }
    Require(ini.text->find(key + u"=" + value) != std::u16string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = DecodeSettingsBytes(bytes);
    Require(text.size() <= size);
    Require(text.find(u'\x1A') == std::u16string::npos);
    Require(DecodeSettingsBytes(EncodeSettingsText(text)) == text);

    uint32_t tjMax = 0;
    std::memcpy(&tjMax, data, size < sizeof tjMax ? size : sizeof tjMax);
    GraphSettings settings{};
    WindowOptions options{};
    ParseSettings(text, tjMax, settings, &options);
    Require(settings.RangeMax >= lowestRangeMax);

    for (const char16_t* key : keys)
        CheckLookup(text, key);
    // A key taken from the input itself: its first line, separators and all.
    const std::u16string ownKey = text.substr(0, text.find(u'\n'));
    CheckLookup(text, ownKey);
    ConvertEveryWay(text);

    CheckSetValue(text, u"ShowSyatrayIcon", u"1");
    CheckSetValue(text, u"StartMinimized", u"0");
    if (!ownKey.empty())
        CheckSetValue(text, ownKey.substr(0, 16), u"1");
    return 0;
}
