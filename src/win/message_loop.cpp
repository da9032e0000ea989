#include "win/message_loop.hpp"

namespace oradel::win {

void DeliverMessage(MainWindow& window, MSG& message) {
    if (window.TranslateShortcut(message)) return;
    if (window.Handle() != nullptr && IsDialogMessageW(window.Handle(), &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop(MainWindow& window) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DeliverMessage(window, message);
    return static_cast<int>(message.wParam);
}

}  // namespace oradel::win
