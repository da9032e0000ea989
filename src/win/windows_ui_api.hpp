// The Windows headers of the window's sources: windows.h, then those that
// need it first (common controls and dialogs, the shell, visual styles).
#pragma once

#include "win/windows_api.hpp"
// Only after windows.h:
#include <commctrl.h>
#include <commdlg.h>
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>
#include <uxtheme.h>
