#include "win/main_window.hpp"

#include <exception>
#include <utility>

#include "engine/errors.hpp"
#include "text/utf16.hpp"
#include "win/native_controls.hpp"

namespace oradel::win {
namespace {

// The keys the form has shortcuts for.
std::optional<Key> FormKey(WPARAM virtualKey) {
    switch (virtualKey) {
        case 'O':
            return Key::O;
        case VK_RETURN:
            return Key::Enter;
        case VK_F1:
            return Key::F1;
        case VK_F7:
            return Key::F7;
        case VK_ESCAPE:
            return Key::Escape;
        default:
            return std::nullopt;
    }
}

// A multi-line edit control separates its lines with CR LF.
std::string WithLineEnds(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(from, start);
        result.append(text.substr(start, end - start));
        if (end == std::string_view::npos) return result;
        result.append(to);
        start = end + from.size();
    }
}

bool ContainsFocus(HWND control) {
    HWND focus = GetFocus();
    return focus != nullptr && (focus == control || IsChild(control, focus));
}

}  // namespace

MainWindow::MainWindow(Desktop& desktop, FormSetup setup)
    : desktop_(desktop), form_(*this, std::move(setup)) {}

MainWindow::~MainWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // Nothing may unwind through Windows' own frames: a failure is shown and the window goes on.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& failure) {
        self->ShowMessage(FailureText(failure, kWindowLanguage));
        return 0;
    }
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (const NativeControl* control = FromHandle(item.hwndItem)) {
                DrawControl(item, *control->row);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return OnControlColour(message, reinterpret_cast<HDC>(wParam),
                                   reinterpret_cast<HWND>(lParam));
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SIZE:
            if (!coveringControl_.empty()) PlaceControl(Find(coveringControl_));
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CLOSE:
            form_.Closing();
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// A click on a control runs its command.
void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const NativeControl* control = FromHandle(reinterpret_cast<HWND>(lParam));
    if (control == nullptr || HIWORD(wParam) != BN_CLICKED) return;
    if (control->row->click != FormCommand::None) form_.Run(control->row->click);
}

// Text and background in the table's colours, where it names any.
LRESULT MainWindow::OnControlColour(UINT message, HDC dc, HWND handle) {
    const NativeControl* control = FromHandle(handle);
    if (control == nullptr || (!control->row->textColour && !control->row->background)) {
        return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(handle));
    }
    if (const std::optional<Rgb> text = control->row->textColour) {
        SetTextColor(dc, RGB(text->red, text->green, text->blue));
    }
    if (const std::optional<Rgb> background = control->row->background) {
        SetBkColor(dc, RGB(background->red, background->green, background->blue));
        return reinterpret_cast<LRESULT>(control->background.get());
    }
    const int system = message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(system));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(system));
}

// The focus leaves with the window and comes back to the control that had it.
void MainWindow::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
        return;
    }
    if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_)) {
        SetFocus(lastFocus_);
    } else {
        FocusFirstControl();
    }
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    // The controls hold the old fonts until PlaceControls hands them the new ones.
    const std::unique_ptr<FontSet> previousFonts = std::exchange(fonts_, nullptr);
    fonts_ = std::make_unique<FontSet>(dpi_);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitWindowSize();
    PlaceControls();
}

// The first of the dropped files is taken as if chosen in the open dialog.
void MainWindow::OnDropFiles(HDROP drop) {
    std::wstring file(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    file.resize(DragQueryFileW(drop, 0, file.data(), static_cast<UINT>(file.size())));
    DragFinish(drop);
    if (!file.empty()) form_.FileGiven(std::filesystem::path(file));
}

void MainWindow::OpenGivenFile(const std::filesystem::path& file) {
    form_.FileGiven(file);
}

bool MainWindow::TranslateShortcut(const MSG& message) {
    if (message.message != WM_KEYDOWN || window_ == nullptr) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    const std::optional<Key> key = FormKey(message.wParam);
    if (!key) return false;
    return form_.KeyPressed(*key, GetKeyState(VK_CONTROL) < 0);
}

bool MainWindow::IsChecked(std::string_view checkBox) const {
    return SendMessageW(Find(checkBox).handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetChecked(std::string_view checkBox, bool ticked) {
    SendMessageW(Find(checkBox).handle, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string MainWindow::Text(std::string_view control) const {
    return WithLineEnds(Utf8FromUtf16(WindowText(Find(control).handle)), "\r\n", "\n");
}

void MainWindow::SetText(std::string_view control, const std::string& text) {
    SetWindowTextW(Find(control).handle, Utf16FromUtf8(WithLineEnds(text, "\n", "\r\n")).c_str());
}

void MainWindow::SetCaption(std::string_view control, const std::string& caption) {
    const NativeControl& native = Find(control);
    SetWindowTextW(native.handle, Utf16FromUtf8(caption).c_str());
    PlaceControl(native);
    InvalidateRect(native.handle, nullptr, TRUE);
}

// Windows leaves nothing focused when the focused control is disabled; the
// first control that can take it does, so that the keys keep reaching the form.
void MainWindow::SetEnabled(std::string_view control, bool enabled) {
    HWND handle = Find(control).handle;
    const bool hadFocus = ContainsFocus(handle);
    EnableWindow(handle, enabled ? TRUE : FALSE);
    if (!enabled && hadFocus) FocusFirstControl();
}

// A control that hides with the focus in it hands the focus to the first
// control; the covering control takes the focus when it shows.
void MainWindow::SetVisible(std::string_view control, bool visible) {
    HWND handle = Find(control).handle;
    const bool hadFocus = ContainsFocus(handle);
    ShowWindow(handle, visible ? SW_SHOWNA : SW_HIDE);
    if (!visible && hadFocus) FocusFirstControl();
    if (visible && control == coveringControl_) SetFocus(handle);
}

void MainWindow::ShowMessage(const std::string& text) {
    desktop_.ShowMessage(window_, Utf16FromUtf8(text));
}

bool MainWindow::AskYesNo(const std::string& text) {
    return desktop_.AskYesNo(window_, Utf16FromUtf8(text));
}

std::optional<std::filesystem::path> MainWindow::ChooseFileToOpen(const OpenFileRequest& request) {
    return desktop_.ChooseFileToOpen(window_, request);
}

void MainWindow::OpenDocument(const std::filesystem::path& file) {
    desktop_.OpenWithShell(file.wstring());
}

void MainWindow::OpenTextAtLine(const std::filesystem::path& file, std::size_t line) {
    desktop_.OpenTextAtLine(file, line);
}

void MainWindow::ShowDiagnostics(const DiagnosticsRequest& request) {
    desktop_.ShowDiagnostics(window_, fonts_->ForStyle(kRegular), request);
}

void MainWindow::OpenAddress(const std::string& address) {
    desktop_.OpenWithShell(Utf16FromUtf8(address));
}

void MainWindow::SetClientHeight(int height) {
    clientHeight_ = height;
    FitWindowSize();
}

void MainWindow::CoverClientArea(std::string_view control) {
    const NativeControl& native = Find(control);
    coveringControl_ = native.row->name;
    PlaceControl(native);
    SetWindowPos(native.handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace oradel::win
