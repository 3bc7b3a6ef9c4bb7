#include "gui/windows/twips.h"

#include <QPaintDevice>
#include <cmath>

namespace tellavin {

namespace {

constexpr double kTwipsPerInch = 1440.0;

int Convert(int twips, int dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

} // namespace

int TwipsToPixelsX(int twips, const QPaintDevice& device) {
    return Convert(twips, device.logicalDpiX());
}

int TwipsToPixelsY(int twips, const QPaintDevice& device) {
    return Convert(twips, device.logicalDpiY());
}

} // namespace tellavin
