// The main window's behaviour, independent of any toolkit: the commands, the
// enabling of the operations by the file's extension, the conversion run and
// its messages, the panel and help states, the window height, the keyboard
// shortcuts and the settings file. A view forwards its events here.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion_job.hpp"
#include "engine/list_checker.hpp"
#include "engine/messages.hpp"
#include "engine/options.hpp"
#include "form/controls.hpp"
#include "form/form_view.hpp"

namespace oradel {

// The window speaks Russian, as its captions do.
inline constexpr Language kWindowLanguage = Language::Russian;

// Keys the form answers; a view forwards these and keeps every other key.
enum class Key { O, Enter, F1, F7, Escape };

// Client-area height: the lowest visible of the page-options button and panel, plus this
// margin, in 120-dpi pixels. The window's outer height of old was that bottom
// plus 70 pixels: 38 of them the title bar and frame of a window at 120 dpi,
// which each view now adds as its toolkit draws them, and this margin.
inline constexpr int kClientBottomMargin = 32;

struct FormSetup {
    std::filesystem::path settingsFile;   // beside the program for a portable copy
    std::filesystem::path programFolder;  // where the user guide lies
    std::string homePage;                 // the site command's address; empty: the user guide
    // The user's own folder for documents: Documents on Windows, the home folder on Linux.
    std::filesystem::path documentsFolder;
};

class Form final : private MessageSink {
  public:
    // The view must outlive the form.
    Form(FormView& view, FormSetup setup);

    // Events, each called by the view.
    // The view has created its controls from Controls(): sets the help text,
    // hides the panel and the help, sets the height and loads the settings.
    void Created();
    // A click on a control whose ControlRow::click is not None, or a menu.
    void Run(FormCommand command);
    // A file given at start, dropped onto the window or handed over by the
    // desktop: taken as if confirmed in the open dialog.
    void FileGiven(const std::filesystem::path& file);
    // The window is closing: saves the settings; a failure is shown, the window still closes.
    void Closing();
    // Ctrl+O opens, Ctrl+Enter converts, F7 checks the list, F1 shows the
    // help, Esc hides it.
    // True when the key did something; the view then swallows it.
    bool KeyPressed(Key key, bool ctrl);

    const std::filesystem::path& SelectedFile() const { return selectedFile_; }
    bool PanelShown() const { return panelShown_; }
    bool HelpShown() const { return helpShown_; }

  private:
    void ShowMessage(const Message& message) override;
    void Dispatch(FormCommand command);
    void OpenFile();
    std::filesystem::path OpenDialogFolder() const;
    void ViewFile();
    void Convert();
    void CheckList();
    void ShowDiagnostics(const std::vector<Diagnostic>& diagnostics);
    bool OfferCheckFirst();
    std::optional<ExistingList> AskToReplaceList(const ConversionMode& mode);
    void OpenSite();
    void ShowHelp();
    void HideHelp();
    void TogglePanel();
    void SelectFile(const std::filesystem::path& file);
    void EnableOperationsForFile();
    void FitHeight();

    FormView& view_;
    const FormSetup setup_;
    std::filesystem::path selectedFile_;
    std::filesystem::path lastFolder_;  // of the file last opened, kept in the settings
    bool panelShown_ = false;
    bool helpShown_ = false;
};

// What the window's program says instead of opening the window when its first
// argument asks for it: the usage for "--help" or "-h", the version for
// "--version"; nullopt for any other argument, which is a file to open.
std::optional<std::string> WindowCommandLineAnswer(std::string_view argument, Language language);

// The option values the controls show, and the controls set from option values.
Options OptionsFromControls(const FormView& view);
void ControlsFromOptions(const Options& options, FormView& view);

}  // namespace oradel
