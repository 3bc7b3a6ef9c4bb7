#include "settings/window_placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tellavin {

namespace {

// A screen that reports no sensible scale is taken at 96 dots per inch.
double UsableScale(double twipsPerPixel) {
    return twipsPerPixel > 0 ? twipsPerPixel : 15.0;
}

std::int32_t OntoArea(std::int32_t start, std::int32_t size, std::int32_t areaStart,
                      std::int32_t areaSize) {
    if (start + size > areaStart + areaSize) {
        start = areaStart + areaSize - size;
    }
    return std::max(start, areaStart);
}

// How far a coordinate lies outside [start, start + size).
std::int64_t DistanceOutside(std::int32_t at, std::int32_t start, std::int32_t size) {
    if (at < start) {
        return std::int64_t(start) - at;
    }
    const std::int64_t end = std::int64_t(start) + size - 1;
    return at > end ? at - end : 0;
}

} // namespace

WindowPoint BroughtOnto(const WindowRect& window, const WindowRect& area) {
    return {OntoArea(window.left, window.width, area.left, area.width),
            OntoArea(window.top, window.height, area.top, area.height)};
}

std::size_t NearestArea(WindowPoint point, std::span<const WindowRect> areas) {
    std::size_t nearest = 0;
    std::int64_t nearestDistance = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const auto& area = areas[i];
        const std::int64_t distance = DistanceOutside(point.left, area.left, area.width) +
                                      DistanceOutside(point.top, area.top, area.height);
        if (distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

WindowPoint PlaceWindow(WindowControls& window, std::int32_t left, std::int32_t top) {
    auto rect = window.GetRect();
    auto screen = window.GetScreen();
    rect.left = left;
    rect.top = top;
    const auto placed = BroughtOnto(rect, {0, 0, screen.width, screen.height});
    rect.left = placed.left;
    rect.top = placed.top;
    window.SetRect(rect);
    return placed;
}

std::int16_t RoundTo16Bits(double value) {
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(value),
                                                double(std::numeric_limits<std::int16_t>::min()),
                                                double(std::numeric_limits<std::int16_t>::max())));
}

std::int16_t TwipsFromPixels(double pixels, double twipsPerPixel) {
    return RoundTo16Bits(pixels * UsableScale(twipsPerPixel));
}

std::int32_t PixelsFromTwips(std::int32_t twips, double twipsPerPixel) {
    return static_cast<std::int32_t>(std::nearbyint(twips / UsableScale(twipsPerPixel)));
}

} // namespace tellavin
