#include "settings/IniText.h"

#include "settings/SettingsFile.h"

IniText::IniText()
{
    loaded = Load();
}

bool IniText::Load()
{
    std::optional<std::string> bytes = ReadSettingsFileBytes();
    if (!bytes)
        return false;
    text = DecodeSettingsBytes(*bytes);
    // A file that holds no characters leaves an empty text and counts as not loaded.
    return !text->empty();
}

bool IniText::SetValue(const std::u16string& key, const std::u16string& value)
{
    const std::u16string old = text.value_or(std::u16string());
    // A plain, case-sensitive search: the first occurrence may lie in a comment or a longer key.
    const size_t at = old.find(key);
    if (at == 0)
        return false;
    if (at == std::u16string::npos) {
        text = old + u"\n" + key + u"=" + value + u";";
        return true;
    }
    // The old entry runs to the next ";", which stays with everything after it. With no ";"
    // left in the text the entry ends with its line and gets a ";" of its own.
    std::u16string entry = key + u"=" + value;
    size_t end = old.find(u';', at);
    if (end == std::u16string::npos) {
        end = old.find(u'\n', at);
        if (end == std::u16string::npos)
            end = old.size();
        entry += u';';
    }
    text = old.substr(0, at) + entry + old.substr(end);
    return true;
}

bool IniText::Write() const
{
    return text && WriteSettingsFile(*text);
}

void StoreFlag(const std::u16string& key, bool on)
{
    StoreValues({{key, on ? u"1" : u"0"}});
}

bool StoreValues(const std::vector<std::pair<std::u16string, std::u16string>>& entries)
{
    IniText ini;
    if (!ini.loaded)
        return false;
    // When a key stands at the very start SetValue changes nothing; the unchanged text is
    // written all the same.
    for (const auto& [key, value] : entries)
        ini.SetValue(key, value);
    return ini.Write();
}
