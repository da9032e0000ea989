#include "win/fonts.hpp"

#include "form/controls.hpp"
#include "text/utf16.hpp"

namespace oradel::win {
namespace {

constexpr int kLayoutDpi = 120;

int CALLBACK NoteTrueType(const LOGFONTW*, const TEXTMETRICW*, DWORD fontType, LPARAM found) {
    if (fontType & TRUETYPE_FONTTYPE) *reinterpret_cast<bool*>(found) = true;
    return 1;
}

bool IsTrueTypeInstalled(const std::wstring& family) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    family.copy(query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, NoteTrueType, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The first family of the form's list that Windows has as TrueType; without
// any of them the TrueType face of MS Sans Serif, which Windows' mapper replaces.
std::wstring ChooseFace() {
    for (std::string_view family : kFontFamilies) {
        std::wstring wide = Utf16FromUtf8(family);
        if (IsTrueTypeInstalled(wide)) return wide;
    }
    return L"Microsoft Sans Serif";
}

FontHandle MakeFont(const std::wstring& face, UINT dpi, bool bold, bool italic) {
    LOGFONTW font{};
    // Negative: the characters' height without the line's leading, as the layout gives it.
    font.lfHeight = -ScaledLength(kFontPixelHeight, dpi);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return FontHandle(CreateFontIndirectW(&font));
}

}  // namespace

int ScaledLength(int pixelsAt120Dpi, UINT dpi) {
    return MulDiv(pixelsAt120Dpi, static_cast<int>(dpi), kLayoutDpi);
}

FontSet::FontSet(UINT dpi) : face_(ChooseFace()) {
    for (unsigned style = 0; style < fonts_.size(); ++style) {
        fonts_[style] = MakeFont(face_, dpi, style & kBold, style & kItalic);
    }
}

HFONT FontSet::ForStyle(unsigned style) const {
    return fonts_[style & (kBold | kItalic)].get();
}

}  // namespace oradel::win
