#include "win/desktop.hpp"

#include "form/controls.hpp"
#include "text/utf16.hpp"
#include "win/diagnostics_window.hpp"
#include "win/windows_ui_api.hpp"

namespace oradel::win {

// Room for a long path (the dialog's answer).
constexpr DWORD kPathCapacity = 32768;

void SystemDesktop::ShowMessage(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), Utf16FromUtf8(kWindowTitle).c_str(), MB_OK);
}

bool SystemDesktop::AskYesNo(HWND owner, const std::wstring& text) {
    return MessageBoxW(owner, text.c_str(), Utf16FromUtf8(kWindowTitle).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::optional<std::filesystem::path> SystemDesktop::ChooseFileToOpen(
    HWND owner, const OpenFileRequest& request) {
    std::vector<wchar_t> chosen(kPathCapacity, L'\0');
    const std::wstring filter = DialogFilter(request.filters);
    const std::wstring title = Utf16FromUtf8(request.title);
    const std::wstring folder = request.folder.wstring();
    const std::wstring defaultExtension = Utf16FromUtf8(request.defaultExtension);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = defaultExtension.c_str();
    // No OFN_FILEMUSTEXIST: a name of a file that does not exist is accepted.
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   OFN_ENABLESIZING | OFN_DONTADDTORECENT;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    std::filesystem::path file(chosen.data());
    // Not every version of the dialog adds the default extension to a typed
    // name without one; a file of exactly the typed name keeps it.
    std::error_code error;
    if (!file.has_extension() && !defaultExtension.empty() &&
        !std::filesystem::exists(file, error)) {
        file += L"." + defaultExtension;
    }
    return file;
}

void SystemDesktop::OpenWithShell(const std::wstring& fileOrAddress) {
    ShellExecuteW(GetDesktopWindow(), L"open", fileOrAddress.c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

namespace {

// Notepad++ as its installer registers it under the shell's App Paths; empty
// when it is not installed.
std::wstring NotepadPlusPlus() {
    std::vector<wchar_t> path(kPathCapacity, L'\0');
    DWORD size = kPathCapacity * sizeof(wchar_t);
    const LSTATUS status =
        RegGetValueW(HKEY_LOCAL_MACHINE,
                     L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\notepad++.exe",
                     nullptr, RRF_RT_REG_SZ, nullptr, path.data(), &size);
    if (status != ERROR_SUCCESS) return {};
    return path.data();
}

}  // namespace

void SystemDesktop::OpenTextAtLine(const std::filesystem::path& file, std::size_t line) {
    const std::wstring editor = NotepadPlusPlus();
    if (editor.empty()) return OpenWithShell(file.wstring());
    const std::wstring arguments = L"-n" + std::to_wstring(line) + L" \"" + file.wstring() + L"\"";
    ShellExecuteW(GetDesktopWindow(), L"open", editor.c_str(), arguments.c_str(), nullptr,
                  SW_SHOWNORMAL);
}

void SystemDesktop::ShowDiagnostics(HWND owner, HFONT font, const DiagnosticsRequest& request) {
    ShowDiagnosticsWindow(owner, font, request);
}

std::wstring DialogFilter(const std::vector<FileFilter>& filters) {
    std::wstring joined;
    for (const FileFilter& filter : filters) {
        joined += Utf16FromUtf8(filter.description);
        joined.push_back(L'\0');
        joined += Utf16FromUtf8(filter.pattern);
        joined.push_back(L'\0');
    }
    joined.push_back(L'\0');
    return joined;
}

std::wstring ProgramPath() {
    std::vector<wchar_t> path(kPathCapacity, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), kPathCapacity);
    return std::wstring(path.data(), length);
}

namespace {

// The shell's known folder, or the environment variable's value when the shell
// gives none; empty when neither does.
std::wstring KnownFolder(REFKNOWNFOLDERID id, const wchar_t* variable) {
    std::wstring folder;
    PWSTR known = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &known))) folder = known;
    CoTaskMemFree(known);
    if (folder.empty()) {
        std::vector<wchar_t> value(kPathCapacity, L'\0');
        const DWORD length = GetEnvironmentVariableW(variable, value.data(), kPathCapacity);
        if (length > 0 && length < kPathCapacity) folder.assign(value.data(), length);
    }
    return folder;
}

}  // namespace

std::wstring LocalSettingsFolder() {
    const std::wstring folder = KnownFolder(FOLDERID_LocalAppData, L"LOCALAPPDATA");
    return folder.empty() ? folder : folder + L"\\oradel";
}

std::wstring DocumentsFolder() {
    // Without the shell's Documents the profile folder serves.
    return KnownFolder(FOLDERID_Documents, L"USERPROFILE");
}

}  // namespace oradel::win
