// The form's lengths are pixels at 120 dots per inch; Qt places widgets in
// device-independent pixels of 96 per inch and scales those to the screen.
#pragma once

#include "form/controls.hpp"

namespace oradel {

// A length of the form in device-independent pixels, rounded to the nearest.
constexpr int Scaled(int pixelsAt120Dpi) {
    return (pixelsAt120Dpi * 96 + 60) / 120;
}

// The window's text height in points.
constexpr double kFontPointSize = kFontPixelHeight * 72.0 / 120;

}  // namespace oradel
