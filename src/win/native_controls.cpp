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

// A speed button never keeps the focus: it goes back where it came from.
LRESULT CALLBACK SpeedButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR) {
    if (message == WM_SETFOCUS) {
        HWND previous = reinterpret_cast<HWND>(wParam);
        SetFocus(previous != nullptr && IsWindow(previous) ? previous
                                                           : GetAncestor(button, GA_ROOT));
        return 0;
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

NativeKind KindOf(const ControlSpec& spec) {
    switch (spec.type) {
        case ControlType::SpeedButton:
            return {L"BUTTON", BS_OWNERDRAW, 0};
        case ControlType::Label:
            return {
                L"STATIC",
                static_cast<DWORD>(SS_NOPREFIX | ((spec.style & kCentred) ? SS_CENTER : SS_LEFT)),
                0};
        case ControlType::Bevel:
            return {L"STATIC", SS_OWNERDRAW, 0};
        case ControlType::CheckBox:
            return {L"BUTTON",
                    static_cast<DWORD>(BS_AUTOCHECKBOX |
                                       ((spec.style & kCaptionLeft) ? BS_LEFTTEXT : 0)),
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

// Flat, its caption in its colour, sunken while pressed.
void DrawSpeedButton(const DRAWITEMSTRUCT& item, const ControlSpec& spec) {
    RECT face = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &face, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, &face, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    if (pressed) OffsetRect(&face, 1, 1);
    wchar_t caption[256] = L"";
    GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
    COLORREF colour = GetSysColor(COLOR_BTNTEXT);
    if (item.itemState & ODS_DISABLED) {
        colour = GetSysColor(COLOR_GRAYTEXT);
    } else if (spec.textColour) {
        colour = RGB(spec.textColour->red, spec.textColour->green, spec.textColour->blue);
    }
    SetTextColor(item.hDC, colour);
    SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ previousFont = SelectObject(
        item.hDC, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    DrawTextW(item.hDC, caption, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, previousFont);
}

}  // namespace

HWND CreateNativeControl(const ControlSpec& spec, HWND parent, int id) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterPanelClass(instance);
    const NativeKind kind = KindOf(spec);
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (spec.takesFocus ? WS_TABSTOP : 0u) | kind.style;
    HWND control =
        CreateWindowExW(kind.extendedStyle, kind.windowClass, L"", style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (control == nullptr) return nullptr;
    if (spec.type == ControlType::SpeedButton) {
        SetWindowSubclass(control, SpeedButtonProcedure, 0, 0);
    } else if (spec.click != FormCommand::None) {
        SetWindowSubclass(control, ClickableTextProcedure, 0, 0);
    }
    // Visual styles draw a check box's caption in the theme's colour; one of
    // its own colour is drawn classic, so that the colour shows.
    if (spec.type == ControlType::CheckBox && spec.textColour) SetWindowTheme(control, L"", L"");
    return control;
}

void DrawControl(const DRAWITEMSTRUCT& item, const ControlSpec& spec) {
    if (spec.type == ControlType::Bevel) {
        DrawBevel(item);
    } else if (spec.type == ControlType::SpeedButton) {
        DrawSpeedButton(item, spec);
    }
}

}  // namespace oradel::win
