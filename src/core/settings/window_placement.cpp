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

std::int32_t OntoScreen(std::int32_t start, std::int32_t size, std::int32_t screen) {
    if (start + size > screen) {
        start = screen - size;
    }
    return std::max(start, 0);
}

} // namespace

WindowPoint PlaceWindow(WindowControls& window, std::int32_t left, std::int32_t top) {
    auto rect = window.GetRect();
    auto screen = window.GetScreen();
    rect.left = OntoScreen(left, rect.width, screen.width);
    rect.top = OntoScreen(top, rect.height, screen.height);
    window.SetRect(rect);
    return {rect.left, rect.top};
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
