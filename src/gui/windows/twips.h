#pragma once

class QPaintDevice;

namespace tellavin {

// Window designs measure lengths in twips, 1440 to the logical inch; these
// turn them into pixels of the device the window is shown on.
int TwipsToPixelsX(int twips, const QPaintDevice& device);
int TwipsToPixelsY(int twips, const QPaintDevice& device);

} // namespace tellavin
