// The window's font at one screen resolution: the form's family and pixel
// height (given at 120 dpi), in the four styles the controls table uses.
#pragma once

#include <array>
#include <string>

#include "win/gdi_objects.hpp"

namespace oradel::win {

class FontSet {
  public:
    explicit FontSet(UINT dpi);
    // The font of a control with these TextStyle bits (bold, italic; others are ignored).
    HFONT ForStyle(unsigned style) const;
    // The face asked for: the first of the form's families that is an installed
    // TrueType font ("Microsoft Sans Serif" on Windows, never the bitmap MS Sans Serif).

  private:
    std::wstring face_;
    std::array<FontHandle, 4> fonts_;  // regular, bold, italic, bold italic
};

// A length of the 120-dpi layout at `dpi`, rounded to the nearest pixel.
int ScaledLength(int pixelsAt120Dpi, UINT dpi);

}  // namespace oradel::win
