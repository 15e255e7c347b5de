#include "settings/StoredPlacement.h"

#include "settings/SettingsParsing.h"

#include <algorithm>

namespace {

// Held far inside int32 so that the right and bottom edges never overflow.
constexpr int32_t coordinateLimit = 1000000;

std::optional<int32_t> NumberOf(const std::optional<std::u16string>& text, const std::u16string& key)
{
    const std::optional<std::u16string> value = FindValue(text, key);
    if (!value)
        return std::nullopt;
    return ParseDecimal(*value);
}

}  // namespace

bool RemembersPlacement(const std::optional<std::u16string>& settingsText)
{
    return NumberOf(settingsText, u"RememberPlacement").value_or(0) == 1;
}

std::optional<StoredPlacement> ReadStoredPlacement(const std::optional<std::u16string>& settingsText)
{
    if (!RemembersPlacement(settingsText))
        return std::nullopt;
    const auto left = NumberOf(settingsText, u"WindowLeft");
    const auto top = NumberOf(settingsText, u"WindowTop");
    const auto width = NumberOf(settingsText, u"WindowWidth");
    const auto height = NumberOf(settingsText, u"WindowHeight");
    if (!left || !top || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    const auto held = [](int32_t v) { return std::clamp(v, -coordinateLimit, coordinateLimit); };
    StoredPlacement stored;
    stored.rect = {held(*left), held(*top), held(*left) + held(*width), held(*top) + held(*height)};
    stored.maximized = NumberOf(settingsText, u"WindowMaximized").value_or(0) != 0;
    return stored;
}
