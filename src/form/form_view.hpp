// What the form asks of a window toolkit. A view (Qt, Win32, the tests' fake)
// creates its widgets from Controls() and implements these calls; the form
// addresses controls by their object names. Texts are UTF-8; lengths are
// pixels at 120 dots per inch of the client area, which the view scales.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oradel {

struct FileFilter {
    std::string description;  // "Текстовые файлы (*.txt)"
    std::string pattern;      // "*.txt"; "*.*" means every file, names without a dot included
};

struct OpenFileRequest {
    std::string title;
    std::filesystem::path folder;     // shown first
    std::string defaultExtension;     // without the dot; added to a typed name without one
    std::vector<FileFilter> filters;  // the first one is selected
    // The dialog accepts the name of a file that does not exist.
};

class FormView {
  public:
    virtual ~FormView() = default;

    virtual bool IsChecked(std::string_view checkBox) const = 0;
    virtual void SetChecked(std::string_view checkBox, bool ticked) = 0;
    // Edit fields and the help text.
    virtual std::string Text(std::string_view control) const = 0;
    virtual void SetText(std::string_view control, const std::string& text) = 0;
    // A label's or a button's caption; a label with width 0 in the table fits its new caption.
    virtual void SetCaption(std::string_view control, const std::string& caption) = 0;
    virtual void SetEnabled(std::string_view control, bool enabled) = 0;
    virtual void SetVisible(std::string_view control, bool visible) = 0;

    // A modal box with the text and one OK button, captioned with the application title.
    virtual void ShowMessage(const std::string& text) = 0;
    // A modal box with the text and the buttons Yes and No (No the default),
    // captioned with the application title; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // The file the user confirms (it need not exist); nullopt when cancelled.
    virtual std::optional<std::filesystem::path> ChooseFileToOpen(
        const OpenFileRequest& request) = 0;
    // Hands a file or a web address to the desktop (its associated program, the
    // browser); a failure is not reported.
    virtual void OpenDocument(const std::filesystem::path& file) = 0;
    virtual void OpenAddress(const std::string& address) = 0;
    // The height of the client area (the window without its title bar and frame).
    virtual void SetClientHeight(int height) = 0;
    // Places the control over the whole client area, above every other control,
    // and keeps it there when the window changes size.
    virtual void CoverClientArea(std::string_view control) = 0;
};

}  // namespace oradel
