#include "tests/windows/screenshot.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "text/utf16.hpp"

namespace oradel::win {
namespace {

constexpr DWORD kWaitMilliseconds = 30000;
constexpr DWORD kPollMilliseconds = 50;

// Lets the window and its controls finish painting.
void PaintPending(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    GdiFlush();
}

}  // namespace

std::filesystem::path WindowsPathOfUnixPath(const std::string& unixPath) {
    std::string path = unixPath.starts_with('/') ? "Z:" + unixPath : unixPath;
    std::ranges::replace(path, '/', '\\');
    return std::filesystem::path(Utf16FromUtf8(path));
}

bool TakeScreenshot(HWND window, const std::string& name) {
    const char* folder = std::getenv("ORADEL_SCREENSHOT_DIR");
    if (folder == nullptr || *folder == '\0') return false;
    const std::filesystem::path base = WindowsPathOfUnixPath(folder) / name;
    std::filesystem::path picture = base;
    picture += ".png";
    std::filesystem::remove(picture);
    PaintPending(window);
    Sleep(300);  // the X server shows what Wine drew
    PaintPending(window);
    RECT frame{};
    GetWindowRect(window, &frame);
    // Written whole under another name first, so that the script never reads half a request.
    std::filesystem::path request = base;
    request += ".request";
    std::filesystem::path pending = request;
    pending += ".tmp";
    std::ofstream(pending) << frame.left << ' ' << frame.top << ' ' << frame.right - frame.left
                           << ' ' << frame.bottom - frame.top << '\n';
    std::filesystem::rename(pending, request);
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        if (std::filesystem::exists(picture)) return true;
        Sleep(kPollMilliseconds);
    }
    return false;
}

}  // namespace oradel::win
