// The program's message loop: the form's shortcuts first, then the dialog
// keys (Tab between controls, Space on a check box), then the controls.
#pragma once

#include "win/main_window.hpp"

namespace oradel::win {

// Delivers one message taken from the queue.
void DeliverMessage(MainWindow& window, MSG& message);

// Runs until the window is closed; the exit code of WM_QUIT.
int RunMessageLoop(MainWindow& window);

}  // namespace oradel::win
