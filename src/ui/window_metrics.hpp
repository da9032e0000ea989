// The window's layout is drawn at 120 pixels per inch; Qt places widgets in
// device-independent pixels of 96 per inch and scales those to the screen.
#pragma once

namespace oradel {

// A length of the layout in device-independent pixels, rounded to the nearest.
constexpr int Scaled(int pixelsAt120Dpi) {
    return (pixelsAt120Dpi * 96 + 60) / 120;
}

constexpr int kWindowWidth = Scaled(746);
// Added below the lowest control to give the window's height; not scaled.
constexpr int kHeightAllowance = 70;

// The window's text: MS Sans Serif 13 pixels high at 120 pixels per inch.
constexpr double kFontPointSize = 13 * 72.0 / 120;

}  // namespace oradel
