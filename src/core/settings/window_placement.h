#pragma once

#include "settings/window_controls.h"

#include <cstdint>

namespace tellavin {

struct WindowPoint {
    std::int32_t left = 0;
    std::int32_t top = 0;
};

// Moves the window to (left, top), in pixels, keeping its size, after
// bringing it onto the screen: a right or bottom edge beyond the screen is
// pulled back onto it, then a negative left or top becomes 0, so that the
// top-left corner (and the title bar) stays reachable even for a window
// larger than the screen. Returns where the window went.
WindowPoint PlaceWindow(WindowControls& window, std::int32_t left, std::int32_t top);

// The nearest whole number (halves to even) held to the 16-bit range.
std::int16_t RoundTo16Bits(double value);

// Positions and sizes are stored as 16-bit counts of twips. A pixel count
// becomes twips rounded to the nearest whole number (halves to even) and held
// to the 16-bit range, so a window placed far away still saves. A scale that
// is not positive counts as 15 twips per pixel.
std::int16_t TwipsFromPixels(double pixels, double twipsPerPixel);
std::int32_t PixelsFromTwips(std::int32_t twips, double twipsPerPixel);

} // namespace tellavin
