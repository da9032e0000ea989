#include "win/native_controls.hpp"

#include "win/windows_ui_api.hpp"

namespace oradel::win {
namespace {

constexpr wchar_t kPanelClass[] = L"OradelPanel";

// The panel hands its children's notifications and colour questions to the
// window, which knows the controls; it draws its own frame.
LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(panel), message, wParam, lParam);
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(panel, &paint);
            RECT frame;
            GetClientRect(panel, &frame);
            // A raised outer and a lowered inner bevel, one pixel each.
            DrawEdge(dc, &frame, EDGE_BUMP, BF_RECT);
            EndPaint(panel, &paint);
            return 0;
        }
        default:
            return DefWindowProcW(panel, message, wParam, lParam);
    }
}

void RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXW panelClass{};
    if (GetClassInfoExW(instance, kPanelClass, &panelClass)) return;
    panelClass.cbSize = sizeof panelClass;
    panelClass.lpfnWndProc = PanelProcedure;
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    panelClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    panelClass.lpszClassName = kPanelClass;
    RegisterClassExW(&panelClass);
}

// Marks a speed button under the mouse, which shows its edge.
constexpr wchar_t kHotProperty[] = L"OradelHot";

void SetHot(HWND button, bool hot) {
    if (hot) {
        SetPropW(button, kHotProperty, reinterpret_cast<HANDLE>(1));
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
    } else {
        RemovePropW(button, kHotProperty);
    }
    InvalidateRect(button, nullptr, FALSE);
}

// A speed button never keeps the focus: it goes back where it came from.
// It is flat until the mouse is over it.
LRESULT CALLBACK SpeedButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_SETFOCUS: {
            HWND previous = reinterpret_cast<HWND>(wParam);
            SetFocus(previous != nullptr && IsWindow(previous) ? previous
                                                               : GetAncestor(button, GA_ROOT));
            return 0;
        }
        case WM_MOUSEMOVE:
            if (GetPropW(button, kHotProperty) == nullptr) SetHot(button, true);
            break;
        case WM_MOUSELEAVE:
        case WM_NCDESTROY:
            SetHot(button, false);
            break;
        default:
            break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

// A click on the help text reaches the window as the click of a button.
LRESULT CALLBACK ClickableTextProcedure(HWND text, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR) {
    const LRESULT result = DefSubclassProc(text, message, wParam, lParam);
    if (message == WM_LBUTTONUP) {
        const int id = GetDlgCtrlID(text);
        PostMessageW(GetParent(text), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(text));
    }
    return result;
}

struct NativeKind {
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

NativeKind KindOf(const ControlRow& row) {
    switch (row.type) {
        case ControlType::SpeedButton:
            return {L"BUTTON", BS_OWNERDRAW, 0};
        case ControlType::Label:
            return {
                L"STATIC",
                static_cast<DWORD>(SS_NOPREFIX | ((row.style & kCentred) ? SS_CENTER : SS_LEFT)),
                0};
        case ControlType::Bevel:
            return {L"STATIC", SS_OWNERDRAW, 0};
        case ControlType::CheckBox:
            return {L"BUTTON",
                    static_cast<DWORD>(BS_AUTOCHECKBOX |
                                       ((row.style & kCaptionLeft) ? BS_LEFTTEXT : 0)),
                    0};
        case ControlType::Panel:
            return {kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
        case ControlType::Edit:
            return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlType::Memo:
            return {L"EDIT",
                    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                        WS_HSCROLL,
                    WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

void DrawBevel(const DRAWITEMSTRUCT& item) {
    RECT area = item.rcItem;
    FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, &area, EDGE_ETCHED, BF_TOP);
}

// Flat, its caption in its colour; raised under the mouse, sunken while pressed.
void DrawSpeedButton(const DRAWITEMSTRUCT& item, const ControlRow& row) {
    RECT face = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &face, GetSysColorBrush(COLOR_BTNFACE));
    if (pressed) {
        DrawEdge(item.hDC, &face, BDR_SUNKENOUTER, BF_RECT);
    } else if (GetPropW(item.hwndItem, kHotProperty) != nullptr) {
        DrawEdge(item.hDC, &face, BDR_RAISEDINNER, BF_RECT);
    }
    if (pressed) OffsetRect(&face, 1, 1);
    wchar_t caption[256] = L"";
    GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
    COLORREF colour = GetSysColor(COLOR_BTNTEXT);
    if (item.itemState & ODS_DISABLED) {
        colour = GetSysColor(COLOR_GRAYTEXT);
    } else if (row.textColour) {
        colour = RGB(row.textColour->red, row.textColour->green, row.textColour->blue);
    }
    SetTextColor(item.hDC, colour);
    SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ previousFont = SelectObject(
        item.hDC, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    DrawTextW(item.hDC, caption, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, previousFont);
}

}  // namespace

HWND CreateNativeControl(const ControlRow& row, HWND parent, int id) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterPanelClass(instance);
    const NativeKind kind = KindOf(row);
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (row.takesFocus ? WS_TABSTOP : 0u) | kind.style;
    HWND control =
        CreateWindowExW(kind.extendedStyle, kind.windowClass, L"", style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (control == nullptr) return nullptr;
    if (row.type == ControlType::SpeedButton) {
        SetWindowSubclass(control, SpeedButtonProcedure, 0, 0);
    } else if (row.click != FormCommand::None) {
        SetWindowSubclass(control, ClickableTextProcedure, 0, 0);
    }
    // Visual styles draw a check box's caption in the theme's colour; one of
    // its own colour is drawn classic, so that the colour shows.
    if (row.type == ControlType::CheckBox && row.textColour) SetWindowTheme(control, L"", L"");
    return control;
}

void DrawControl(const DRAWITEMSTRUCT& item, const ControlRow& row) {
    if (row.type == ControlType::Bevel) {
        DrawBevel(item);
    } else if (row.type == ControlType::SpeedButton) {
        DrawSpeedButton(item, row);
    }
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace oradel::win
