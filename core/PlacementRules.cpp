#include "core/PlacementRules.h"

#include <algorithm>

plot::Box RescaleBox(const plot::Box& box, int32_t fromDpi, int32_t toDpi)
{
    if (fromDpi <= 0 || toDpi <= 0)
        return box;
    const auto convert = [&](int32_t v) {
        const int64_t product = int64_t{v} * toDpi;
        const int64_t half = fromDpi / 2;
        return static_cast<int32_t>(product >= 0 ? (product + half) / fromDpi : (product - half) / fromDpi);
    };
    return {convert(box.left), convert(box.top), convert(box.right), convert(box.bottom)};
}

int64_t SharedArea(const plot::Box& a, const plot::Box& b)
{
    const int64_t width = int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
    const int64_t height = int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

bool ShownEnough(const plot::Box& rect, int64_t areaOnMonitors)
{
    const int64_t area = (int64_t{rect.right} - rect.left) * (int64_t{rect.bottom} - rect.top);
    return area > 0 && 4 * areaOnMonitors >= area;
}
