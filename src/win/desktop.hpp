// What the Windows window asks of the system: message boxes, the file-open
// dialog and the shell's "open" verb. The window reaches these only through
// Desktop, so the tests answer the dialogs and see every message in order.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "form/form_view.hpp"
#include "win/windows_api.hpp"

namespace oradel::win {

class Desktop {
  public:
    virtual ~Desktop() = default;
    // A modal box captioned "Oradel" with the text and one OK button.
    virtual void ShowMessage(HWND owner, const std::wstring& text) = 0;
    // A modal box captioned "Oradel" with the text and the buttons Yes and No
    // (the default); true for Yes.
    virtual bool AskYesNo(HWND owner, const std::wstring& text) = 0;
    // The full path the user confirms (it need not exist); nullopt when cancelled.
    virtual std::optional<std::filesystem::path> ChooseFileToOpen(
        HWND owner, const OpenFileRequest& request) = 0;
    // Shows a file with its associated program or an address in the browser;
    // a failure is not reported.
    virtual void OpenWithShell(const std::wstring& fileOrAddress) = 0;
    // Opens a text file at `line` in Notepad++ when it is installed, else with
    // its associated program (which takes no line).
    virtual void OpenTextAtLine(const std::filesystem::path& file, std::size_t line) = 0;
    // The list check's modal window (ShowDiagnosticsWindow).
    virtual void ShowDiagnostics(HWND owner, HFONT font, const DiagnosticsRequest& request) = 0;
};

// The real desktop: MessageBoxW, GetOpenFileNameW and ShellExecuteW.
class SystemDesktop final : public Desktop {
  public:
    void ShowMessage(HWND owner, const std::wstring& text) override;
    bool AskYesNo(HWND owner, const std::wstring& text) override;
    std::optional<std::filesystem::path> ChooseFileToOpen(HWND owner,
                                                          const OpenFileRequest& request) override;
    void OpenWithShell(const std::wstring& fileOrAddress) override;
    void OpenTextAtLine(const std::filesystem::path& file, std::size_t line) override;
    void ShowDiagnostics(HWND owner, HFONT font, const DiagnosticsRequest& request) override;
};

// The open dialog's filter: description and pattern of every filter, each
// ended by a NUL character, and one more NUL at the end.
std::wstring DialogFilter(const std::vector<FileFilter>& filters);

// The full path of the running program.
std::wstring ProgramPath();
// The user's %LOCALAPPDATA%\oradel, where an installed copy keeps its settings.
std::wstring LocalSettingsFolder();
// The user's Documents known folder, where the open dialog of an installed copy starts.
std::wstring DocumentsFolder();

}  // namespace oradel::win
