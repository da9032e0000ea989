// What the form asks of a window toolkit. A view (Qt, Win32, the tests' fake)
// creates its widgets from Controls() and implements these calls; the form
// addresses controls by their object names. Texts are UTF-8; lengths are
// pixels at 120 dots per inch of the client area, which the view scales.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
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

// One finding of the list check as the window lists it.
struct DiagnosticRow {
    std::size_t line;      // in the list, from 1
    std::string severity;  // "ошибка", "предупреждение", "заметка"
    std::string text;
};

// The list check's window: its title, the columns' headings (line,
// severity, text) and what a double-click on a row does with that row's line.
struct DiagnosticsRequest {
    std::string title;
    std::string lineHeading, severityHeading, textHeading;
    std::vector<DiagnosticRow> rows;
    std::function<void(std::size_t line)> openAtLine;
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
    // Opens a text file in the system's text editor at `line` where the editor
    // takes a line (Notepad++ on Windows), else as OpenDocument does.
    virtual void OpenTextAtLine(const std::filesystem::path& file, std::size_t line) = 0;
    // A modal window listing the rows, with a close button; a double-click on
    // a row (or Enter) calls request.openAtLine with its line.
    virtual void ShowDiagnostics(const DiagnosticsRequest& request) = 0;
    virtual void OpenAddress(const std::string& address) = 0;
    // The height of the client area (the window without its title bar and frame).
    virtual void SetClientHeight(int height) = 0;
    // Places the control over the whole client area, above every other control,
    // and keeps it there when the window changes size.
    virtual void CoverClientArea(std::string_view control) = 0;
};

}  // namespace oradel
