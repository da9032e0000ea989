// The Win32 control for each kind of the form's table: the window class and
// styles it is made of, the drawing of the flat speed buttons, the bevel line
// and the panel's frame, and the clicks of controls that Windows does not report as clicks.
#pragma once

#include <string>

#include "form/controls.hpp"
#include "win/windows_api.hpp"

namespace oradel::win {

// Creates the control of `row` as a child of `parent` with the identifier
// `id`, at no size yet and without its text; it sends WM_COMMAND with
// BN_CLICKED to its parent when clicked and its row names a click.
HWND CreateNativeControl(const ControlRow& row, HWND parent, int id);

// Draws a control that Windows leaves to its owner: a speed button or a bevel line.
void DrawControl(const DRAWITEMSTRUCT& item, const ControlRow& row);

// The text of a window or control, as long as it is.
std::wstring WindowText(HWND window);

}  // namespace oradel::win
