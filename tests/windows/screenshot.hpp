// Screenshots of a real window under Wine: the test asks the script that runs
// it (wine_gui.sh) to capture the X screen, since only the X server sees what
// is finally drawn.
#pragma once

#include <string>

#include "win/windows_api.hpp"

namespace oradel::win {

// Writes NAME.png of `window` into the folder ORADEL_SCREENSHOT_DIR names and
// waits for it; false when that folder is not set or no picture came.
bool TakeScreenshot(HWND window, const std::string& name);

}  // namespace oradel::win
