// Building the window from the form's table: the controls, their keyboard
// order and tooltips, and their places and fonts at the window's resolution.

#include <algorithm>
#include <stdexcept>

#include "text/utf16.hpp"
#include "win/main_window.hpp"
#include "win/native_controls.hpp"
#include "win/resource_ids.hpp"
#include "win/windows_ui_api.hpp"

namespace oradel::win {
namespace {

constexpr wchar_t kWindowClass[] = L"OradelWindow";
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExtendedStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
// Control identifiers start above IDOK and IDCANCEL, which the dialog keys send.
constexpr int kFirstId = 1000;

void StartCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, kWindowClass, &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ORADEL));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ORADEL),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

// Lets a file dropped from a program running with other rights through as well.
void AcceptDroppedFiles(HWND window) {
    constexpr UINT kCopyGlobalData = 0x0049;
    for (UINT message :
         {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData}) {
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
    }
}

// The size of the control's text in its font.
SIZE TextSize(HWND control) {
    const std::wstring text = WindowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        size.cy = metrics.tmHeight;
    }
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size;
}

RECT WorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

}  // namespace

void MainWindow::Create() {
    StartCommonControls();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClass(instance, &MainWindow::Procedure);
    CreateWindowExW(kWindowExtendedStyle, kWindowClass, Utf16FromUtf8(kWindowTitle).c_str(),
                    kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance,
                    this);
    if (window_ == nullptr) throw std::runtime_error("the window cannot be created");
    AcceptDroppedFiles(window_);
    dpi_ = GetDpiForWindow(window_);
    fonts_ = std::make_unique<FontSet>(dpi_);
    CreateControls();
    ApplyKeyboardOrder();
    AddTooltips();
    PlaceControls();
    form_.Created();
}

void MainWindow::CreateControls() {
    for (const ControlRow& row : Controls()) {
        HWND parent = row.parent.empty() ? window_ : Find(row.parent).handle;
        const int id = kFirstId + static_cast<int>(controls_.size());
        HWND handle = CreateNativeControl(row, parent, id);
        if (handle == nullptr) throw std::runtime_error("a control cannot be created");
        SetWindowTextW(handle, Utf16FromUtf8(row.caption).c_str());
        BrushHandle background;
        if (row.background) {
            const Rgb colour = *row.background;
            background.reset(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
        }
        byName_.emplace(row.name, controls_.size());
        controls_.push_back({&row, handle, std::move(background)});
    }
}

// Tab goes through the controls in their sibling order, so the keyboard order
// of the table becomes the order of the siblings under each parent.
void MainWindow::ApplyKeyboardOrder() {
    std::map<HWND, HWND> lastPlaced;  // parent -> its child placed last
    for (std::string_view name : KeyboardOrder()) {
        HWND control = Find(name).handle;
        HWND parent = GetParent(control);
        const auto previous = lastPlaced.find(parent);
        HWND after = previous == lastPlaced.end() ? HWND_TOP : previous->second;
        SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        lastPlaced[parent] = control;
    }
}

void MainWindow::AddTooltips() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    for (const NativeControl& control : controls_) {
        if (control.row->hint.empty()) continue;
        std::wstring hint = Utf16FromUtf8(control.row->hint);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(control.handle);
        tool.lpszText = hint.data();  // copied by the tooltip
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void MainWindow::PlaceControls() {
    for (const NativeControl& control : controls_) {
        SendMessageW(control.handle, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts_->ForStyle(control.row->style)), FALSE);
        PlaceControl(control);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

// At the table's place scaled to the window's resolution; a width or height
// of 0 fits the text; the control covering the client area fills it.
void MainWindow::PlaceControl(const NativeControl& control) {
    const ControlRow& row = *control.row;
    RECT place{ScaledLength(row.left, dpi_), ScaledLength(row.top, dpi_), 0, 0};
    place.right = place.left + ScaledLength(row.width, dpi_);
    place.bottom = place.top + ScaledLength(row.height, dpi_);
    if (row.width == 0 || row.height == 0) {
        const SIZE text = TextSize(control.handle);
        if (row.width == 0) place.right = place.left + text.cx;
        if (row.height == 0) place.bottom = place.top + text.cy;
    }
    if (row.name == coveringControl_) GetClientRect(window_, &place);
    SetWindowPos(control.handle, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The client area as wide as the table and as high as the form asks, plus
// the frame and title bar Windows draws at this resolution. A window that
// grows past the bottom of the screen moves up, as far as the screen's top.
void MainWindow::FitWindowSize() {
    RECT frame{0, 0, ScaledLength(kClientWidth, dpi_), ScaledLength(clientHeight_, dpi_)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExtendedStyle, dpi_);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT place;
    GetWindowRect(window_, &place);
    const RECT area = WorkArea(window_);
    const LONG top = std::max<LONG>(area.top, std::min<LONG>(place.top, area.bottom - height));
    SetWindowPos(window_, nullptr, place.left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::Show(int showCommand) {
    RECT frame;
    GetWindowRect(window_, &frame);
    const RECT area = WorkArea(window_);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, area.left + (area.right - area.left - width) / 2,
                 std::max<LONG>(area.top, area.top + (area.bottom - area.top - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    FocusFirstControl();
}

// The first control in keyboard order that can take the focus; the window
// itself when none can, so that the form's shortcuts keep working.
void MainWindow::FocusFirstControl() {
    HWND first = GetNextDlgTabItem(window_, nullptr, FALSE);
    const bool usable = first != nullptr && IsWindowVisible(first) && IsWindowEnabled(first) &&
                        (GetWindowLongPtrW(first, GWL_STYLE) & WS_TABSTOP);
    SetFocus(usable ? first : window_);
}

const MainWindow::NativeControl& MainWindow::Find(std::string_view name) const {
    const auto found = byName_.find(name);
    if (found == byName_.end()) throw std::logic_error("no control " + std::string(name));
    return controls_[found->second];
}

const MainWindow::NativeControl* MainWindow::FromHandle(HWND handle) const {
    const std::size_t index = static_cast<std::size_t>(GetDlgCtrlID(handle) - kFirstId);
    if (index >= controls_.size() || controls_[index].handle != handle) return nullptr;
    return &controls_[index];
}

HWND MainWindow::Control(std::string_view name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : controls_[found->second].handle;
}

}  // namespace oradel::win
