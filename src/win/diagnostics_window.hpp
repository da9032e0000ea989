// The list check's window on Windows: a modal window with a report list
// (line, severity, text) and a close button. A double-click or Enter on a
// row opens the list at that row's line.
#pragma once

#include "form/form_view.hpp"
#include "win/windows_api.hpp"

namespace oradel::win {

// Shows the window over `owner`, which is disabled meanwhile, in `font`, at
// the owner's resolution; returns when the user closes it.
void ShowDiagnosticsWindow(HWND owner, HFONT font, const DiagnosticsRequest& request);

}  // namespace oradel::win
