#pragma once

#include "settings/window_controls.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace tellavin {

struct WindowPoint {
    std::int32_t left = 0;
    std::int32_t top = 0;
};

// Where a window's rectangle goes to lie on an area (a screen): a right or
// bottom edge beyond the area is pulled back onto it, then a left or top
// edge before the area is moved onto it, so that the top-left corner (and
// the title bar) stays reachable even for a window larger than the area.
WindowPoint BroughtOnto(const WindowRect& window, const WindowRect& area);

// The index of the area (of the screens) nearest to a point: one that
// holds it, else the one whose edge lies closest; 0 when there is none.
std::size_t NearestArea(WindowPoint point, std::span<const WindowRect> areas);

// Moves the window to (left, top), in pixels, keeping its size, after
// bringing it onto the screen (BroughtOnto, the screen's top-left corner
// at 0, 0). Returns where the window went.
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
