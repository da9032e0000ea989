// The main window on Windows: real Win32 controls built from the form's table,
// scaled from 120 dpi to the monitor's resolution, and forwarding every click,
// key, dropped file and the closing to the form, which does the rest.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/form.hpp"
#include "win/desktop.hpp"
#include "win/fonts.hpp"
#include "win/gdi_objects.hpp"
#include "win/windows_ui_api.hpp"

namespace oradel::win {

class MainWindow final : public FormView {
  public:
    // The desktop must outlive the window.
    MainWindow(Desktop& desktop, FormSetup setup);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls and lets the form set them up; the
    // window is not shown yet.
    void Create();
    // Shows the window centred on its monitor, the focus on the first control.
    void Show(int showCommand);
    // A file given on the command line ("Open with").
    void OpenGivenFile(const std::filesystem::path& file);
    // Hands a key press meant for this window to the form's shortcuts; true
    // when the form used it, and the message is then not delivered.
    bool TranslateShortcut(const MSG& message);

    HWND Handle() const { return window_; }
    // The control of that name in the form's table; nullptr when there is none.
    HWND Control(std::string_view name) const;
    UINT Dpi() const { return dpi_; }

    bool IsChecked(std::string_view checkBox) const override;
    void SetChecked(std::string_view checkBox, bool ticked) override;
    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, const std::string& text) override;
    void SetCaption(std::string_view control, const std::string& caption) override;
    void SetEnabled(std::string_view control, bool enabled) override;
    void SetVisible(std::string_view control, bool visible) override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::filesystem::path> ChooseFileToOpen(const OpenFileRequest& request) override;
    void OpenDocument(const std::filesystem::path& file) override;
    void OpenTextAtLine(const std::filesystem::path& file, std::size_t line) override;
    void ShowDiagnostics(const DiagnosticsRequest& request) override;
    void OpenAddress(const std::string& address) override;
    void SetClientHeight(int height) override;
    void CoverClientArea(std::string_view control) override;

  private:
    struct NativeControl {
        const ControlRow* row;
        HWND handle;
        BrushHandle background;  // null: the system's
    };

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void ApplyKeyboardOrder();
    void AddTooltips();
    void PlaceControls();
    void PlaceControl(const NativeControl& control);
    void FitWindowSize();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnControlColour(UINT message, HDC dc, HWND control);
    void OnActivate(bool active);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnDropFiles(HDROP drop);
    void FocusFirstControl();
    const NativeControl* FromHandle(HWND handle) const;
    const NativeControl& Find(std::string_view name) const;

    Desktop& desktop_;
    Form form_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND lastFocus_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<FontSet> fonts_;
    std::vector<NativeControl> controls_;  // creation order; identifier kFirstId + index
    std::map<std::string_view, std::size_t, std::less<>> byName_;
    int clientHeight_ = 0;              // pixels at 120 dpi, as the form gave it
    std::string_view coveringControl_;  // fills the client area; empty: none
};

}  // namespace oradel::win
