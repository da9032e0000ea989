#include "win/diagnostics_window.hpp"

#include <string>

#include "engine/messages.hpp"
#include "form/controls.hpp"
#include "form/form.hpp"
#include "text/utf16.hpp"
#include "win/windows_ui_api.hpp"

namespace oradel::win {
namespace {

constexpr wchar_t kClassName[] = L"OradelDiagnostics";
constexpr int kListId = 1, kCloseId = 2;
// Pixels at 96 dpi.
constexpr int kWidth = 760, kHeight = 420, kMargin = 8, kButtonWidth = 100, kButtonHeight = 26;
constexpr int kColumnWidths[] = {70, 130, 540};

struct DiagnosticsWindow {
    const DiagnosticsRequest& request;
    HFONT font;
    UINT dpi;
    HWND list = nullptr;
    HWND close = nullptr;
    bool done = false;

    int Scaled(int pixels) const {
        return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    }
    void Create(HWND window);
    void Layout(HWND window);
    void OpenSelected();
};

void DiagnosticsWindow::Create(HWND window) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    list = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
        0, 0, window, reinterpret_cast<HMENU>(kListId), instance, nullptr);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    const std::string headings[] = {request.lineHeading, request.severityHeading,
                                    request.textHeading};
    for (int column = 0; column < 3; ++column) {
        std::wstring text = Utf16FromUtf8(headings[column]);
        LVCOLUMNW format{};
        format.mask = LVCF_TEXT | LVCF_WIDTH;
        format.cx = Scaled(kColumnWidths[column]);
        format.pszText = text.data();
        ListView_InsertColumn(list, column, &format);
    }
    for (std::size_t index = 0; index < request.rows.size(); ++index) {
        const DiagnosticRow& row = request.rows[index];
        std::wstring cells[] = {std::to_wstring(row.line), Utf16FromUtf8(row.severity),
                                Utf16FromUtf8(row.text)};
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(index);
        item.pszText = cells[0].data();
        item.lParam = static_cast<LPARAM>(index);
        ListView_InsertItem(list, &item);
        for (int column = 1; column < 3; ++column) {
            ListView_SetItemText(list, static_cast<int>(index), column, cells[column].data());
        }
    }
    // The line and severity columns widen to their longest entry or heading.
    for (int column = 0; column < 2; ++column) {
        ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
        if (ListView_GetColumnWidth(list, column) < Scaled(kColumnWidths[column])) {
            ListView_SetColumnWidth(list, column, Scaled(kColumnWidths[column]));
        }
    }
    const std::wstring closeText =
        Utf16FromUtf8(Message(MessageId::CheckClose).Text(kWindowLanguage));
    close = CreateWindowExW(0, L"BUTTON", closeText.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                            window, reinterpret_cast<HMENU>(kCloseId), instance, nullptr);
    for (HWND control : {list, close}) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    Layout(window);
    SetFocus(list);
    if (!request.rows.empty()) {
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void DiagnosticsWindow::Layout(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const int margin = Scaled(kMargin), buttonWidth = Scaled(kButtonWidth),
              buttonHeight = Scaled(kButtonHeight);
    MoveWindow(list, margin, margin, client.right - 2 * margin,
               client.bottom - 3 * margin - buttonHeight, TRUE);
    MoveWindow(close, client.right - margin - buttonWidth, client.bottom - margin - buttonHeight,
               buttonWidth, buttonHeight, TRUE);
}

void DiagnosticsWindow::OpenSelected() {
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (selected < 0 || static_cast<std::size_t>(selected) >= request.rows.size()) return;
    request.openAtLine(request.rows[static_cast<std::size_t>(selected)].line);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<DiagnosticsWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            self->Create(window);
            return 0;
        case WM_SIZE:
            self->Layout(window);
            return 0;
        case WM_NOTIFY: {
            const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
            if (notice->idFrom == kListId && notice->code == LVN_ITEMACTIVATE) {
                self->OpenSelected();
            }
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kCloseId || LOWORD(wParam) == IDCANCEL) DestroyWindow(window);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            self->done = true;
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RegisterClassOnce() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &windowClass)) return;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

}  // namespace

void ShowDiagnosticsWindow(HWND owner, HFONT font, const DiagnosticsRequest& request) {
    RegisterClassOnce();
    DiagnosticsWindow state{request, font,
                            owner != nullptr ? GetDpiForWindow(owner) : GetDpiForSystem()};
    if (state.dpi == 0) state.dpi = USER_DEFAULT_SCREEN_DPI;
    const std::wstring title = Utf16FromUtf8(std::string(kWindowTitle) + ": " + request.title);
    RECT ownerRect{};
    if (owner != nullptr) GetWindowRect(owner, &ownerRect);
    const HWND window =
        CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, title.c_str(),
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE,
                        ownerRect.left + 40, ownerRect.top + 40, state.Scaled(kWidth),
                        state.Scaled(kHeight), owner, nullptr, GetModuleHandleW(nullptr), &state);
    if (window == nullptr) return;
    if (owner != nullptr) EnableWindow(owner, FALSE);
    MSG message{};
    while (!state.done) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is asked to end: the main loop is to see that too,
            // and the window, which points at `state`, must not outlive it.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            DestroyWindow(window);
            break;
        }
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}

}  // namespace oradel::win
