#include "form/form.hpp"

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "engine/conversion_job.hpp"
#include "engine/conversion_modes.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "options/option_controls.hpp"
#include "options/settings_file.hpp"
#include "oradel/build_info.hpp"
#include "text/codepage.hpp"

namespace oradel {
namespace {

constexpr char kOpenDialogTitle[] = "Выберите файл:";
constexpr char kFileCaption[] = "Файл: ";
// A message shows at most this many names of points left out.
constexpr std::size_t kNamesListed = 30;

const std::vector<FileFilter>& OpenDialogFilters() {
    static const std::vector<FileFilter> filters = {
        {"Текстовые файлы (*.txt)", "*.txt"},    {"Файл путевых точек (*.wpt)", "*.wpt"},
        {"Файл путевых точек (*.gpx)", "*.gpx"}, {"Файл путевых точек SeeYou (*.cup)", "*.cup"},
        {"Страницы (*.htm)", "*.htm"},           {"Все файлы (*.*)", "*.*"},
    };
    return filters;
}

struct Shortcut {
    Key key;
    bool ctrl;
    FormCommand command;
    bool onlyWhileHelpShown;
};

constexpr Shortcut kShortcuts[] = {
    {Key::O, true, FormCommand::OpenFile, false},
    {Key::Enter, true, FormCommand::Convert, false},
    {Key::F7, false, FormCommand::CheckList, false},
    {Key::F1, false, FormCommand::ShowHelp, false},
    {Key::Escape, false, FormCommand::HideHelp, true},
};

// The points left out by a run's jobs, each once, in order of first report.
class LeftOutPoints {
  public:
    void Add(const JobOutcome& outcome) { list_.Add(outcome.leftOut); }
    // One message naming them; nullopt when there are none.
    std::optional<Message> Names() const {
        const std::vector<LeftOutPoint>& points = list_.Points();
        if (points.empty()) return std::nullopt;
        Message text(MessageId::PointsLeftOut);
        const std::size_t listed = std::min(kNamesListed, points.size());
        for (std::size_t index = 0; index < listed; ++index) {
            text.AppendLine(Utf8FromWindows1251(points[index].name));
        }
        if (points.size() > listed) {
            text.Append(Message(MessageId::MoreNames, {points.size() - listed}));
        }
        return text;
    }

  private:
    LeftOutPointList list_;
};

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

int Bottom(std::string_view name) {
    const ControlRow& control = *FindControl(name);
    return control.top + control.height;
}

// Runs `action`; a failure it does not handle itself is shown, and the window goes on.
template <typename Action>
void ShowingFailure(FormView& view, Action action) {
    try {
        action();
    } catch (const std::exception& failure) {
        view.ShowMessage(FailureText(failure, kWindowLanguage));
    }
}

}  // namespace

Options OptionsFromControls(const FormView& view) {
    Options options;
    for (const OptionControl& control : OptionControls()) {
        if (control.IsCheckBox()) {
            control.SetTicked(options, view.IsChecked(control.name));
        } else {
            control.SetText(options, Windows1251FromUtf8(view.Text(control.name)));
        }
    }
    return options;
}

void ControlsFromOptions(const Options& options, FormView& view) {
    for (const OptionControl& control : OptionControls()) {
        if (control.IsCheckBox()) {
            view.SetChecked(control.name, control.Ticked(options));
        } else {
            view.SetText(control.name, Utf8FromWindows1251(control.Text(options)));
        }
    }
}

Form::Form(FormView& view, FormSetup setup) : view_(view), setup_(std::move(setup)) {}

void Form::Created() {
    view_.SetText(kHelpText, HelpText());
    view_.SetVisible(kHelpText, false);
    view_.SetVisible(kOptionsPanel, false);
    selectedFile_.clear();
    panelShown_ = false;
    helpShown_ = false;
    FitHeight();
    ControlsFromOptions(LoadSettings(setup_.settingsFile), view_);
    lastFolder_ = LoadLastFolder(setup_.settingsFile);
}

void Form::Run(FormCommand command) {
    ShowingFailure(view_, [this, command] { Dispatch(command); });
}

void Form::Dispatch(FormCommand command) {
    switch (command) {
        case FormCommand::None:
            return;
        case FormCommand::OpenFile:
            return OpenFile();
        case FormCommand::ViewFile:
            return ViewFile();
        case FormCommand::Convert:
            return Convert();
        case FormCommand::CheckList:
            return CheckList();
        case FormCommand::OpenSite:
            return OpenSite();
        case FormCommand::ShowHelp:
            return ShowHelp();
        case FormCommand::HideHelp:
            return HideHelp();
        case FormCommand::TogglePanel:
            return TogglePanel();
    }
}

void Form::FileGiven(const std::filesystem::path& file) {
    ShowingFailure(view_, [this, &file] {
        SelectFile(file);
        EnableOperationsForFile();
    });
}

void Form::Closing() {
    ShowingFailure(view_, [this] {
        SaveSettings(setup_.settingsFile, OptionsFromControls(view_), lastFolder_);
    });
}

bool Form::KeyPressed(Key key, bool ctrl) {
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.key != key || shortcut.ctrl != ctrl) continue;
        if (shortcut.onlyWhileHelpShown && !helpShown_) return false;
        Run(shortcut.command);
        return true;
    }
    return false;
}

void Form::ShowMessage(const Message& message) {
    view_.ShowMessage(message.Text(kWindowLanguage));
}

void Form::OpenFile() {
    const OpenFileRequest request{kOpenDialogTitle, OpenDialogFolder(), "txt", OpenDialogFilters()};
    if (const std::optional<std::filesystem::path> chosen = view_.ChooseFileToOpen(request)) {
        SelectFile(*chosen);
    }
    EnableOperationsForFile();
}

// The folder of the file last opened while it is there. Else a portable copy
// (its settings lie beside it) starts in its own folder, so that a copy on a
// USB stick finds the files it travels with, and an installed one in the
// user's documents.
std::filesystem::path Form::OpenDialogFolder() const {
    std::error_code error;
    if (!lastFolder_.empty() && std::filesystem::is_directory(lastFolder_, error)) {
        return lastFolder_;
    }
    const bool portable = setup_.settingsFile.parent_path().lexically_normal() ==
                          setup_.programFolder.lexically_normal();
    return portable || setup_.documentsFolder.empty() ? setup_.programFolder
                                                      : setup_.documentsFolder;
}

void Form::SelectFile(const std::filesystem::path& file) {
    selectedFile_ = std::filesystem::absolute(file).lexically_normal();
    lastFolder_ = selectedFile_.parent_path();
    view_.SetCaption(kFileLabel, kFileCaption + PathText(selectedFile_));
}

// Unticks the operations and enables those that read what the selected file
// holds (a GEO text named .txt enables the import), or what its name says
// when it cannot be read.
void Form::EnableOperationsForFile() {
    const std::optional<InputKind> kind =
        selectedFile_.empty() ? std::nullopt : InputKindOfFile(selectedFile_);
    for (const ConversionMode& mode : ConversionModes()) {
        view_.SetChecked(mode.key, false);
        view_.SetEnabled(mode.key, kind == mode.input);
    }
}

void Form::ViewFile() {
    if (selectedFile_.empty()) OpenFile();
    if (IsFile(selectedFile_)) {
        view_.OpenDocument(selectedFile_);
    } else {
        ShowMessage(Message(MessageId::NoFileToView, {PathText(selectedFile_)}));
    }
}

// One job per ticked operation, in the modes' fixed order. An import asks
// before it replaces an existing point list; a job that fails ends the run.
// The points any job left out are named once before the closing message,
// which says whether every ticked job was done.
void Form::Convert() {
    if (selectedFile_.empty()) return ShowMessage(Message(MessageId::ChooseFile));
    // Each operation's box is read just before its job.
    const auto ticked = [this](const ConversionMode& mode) { return view_.IsChecked(mode.key); };
    if (std::ranges::none_of(ConversionModes(), ticked)) {
        return ShowMessage(Message(MessageId::ChooseOperations));
    }
    if (OfferCheckFirst()) return;
    const Options options = OptionsFromControls(view_);
    LeftOutPoints leftOut;
    bool allDone = true;
    std::optional<std::string> failure;  // shown after the points left out
    try {
        CheckInputFile(selectedFile_);
        for (const ConversionMode& mode : ConversionModes()) {
            if (!ticked(mode)) continue;
            const std::optional<ExistingList> existing = AskToReplaceList(mode);
            if (!existing) {
                allDone = false;
                continue;
            }
            leftOut.Add(RunConversion(mode, selectedFile_, options, *this, *existing));
        }
    } catch (const std::exception& error) {
        failure = FailureText(error, kWindowLanguage);
        allDone = false;
    }
    if (const std::optional<Message> names = leftOut.Names()) ShowMessage(*names);
    if (failure) view_.ShowMessage(*failure);
    ShowMessage(
        Message(allDone ? MessageId::ConversionFinished : MessageId::ConversionFinishedWithErrors));
}

// Before the exports of a list with errors: the user may look at them
// instead. True when the check was shown and the run is not to go on.
bool Form::OfferCheckFirst() {
    const bool exports = std::ranges::any_of(ConversionModes(), [this](const ConversionMode& mode) {
        return !mode.IsImport() && view_.IsChecked(mode.key);
    });
    if (!exports || InputKindOfFile(selectedFile_) != InputKind::PointList) return false;
    std::vector<Diagnostic> diagnostics;
    try {
        diagnostics = CheckPointListFile(selectedFile_);
    } catch (const UserError&) {
        return false;  // the jobs say what is wrong with the file
    }
    const std::size_t errors = CountDiagnostics(diagnostics).errors;
    if (errors == 0) return false;
    const Message question(MessageId::CheckOfferBeforeConvert, {errors});
    if (!view_.AskYesNo(question.Text(kWindowLanguage))) return false;
    ShowDiagnostics(diagnostics);
    return true;
}

// Checks the chosen point list and lists its findings; a list without any
// is said to be clean.
void Form::CheckList() {
    if (selectedFile_.empty()) return ShowMessage(Message(MessageId::ChooseFile));
    const std::vector<Diagnostic> diagnostics = CheckPointListFile(selectedFile_);
    const DiagnosticCounts counts = CountDiagnostics(diagnostics);
    if (counts.errors + counts.warnings == 0) {
        return ShowMessage(Message(MessageId::CheckClean));
    }
    ShowDiagnostics(diagnostics);
}

void Form::ShowDiagnostics(const std::vector<Diagnostic>& diagnostics) {
    const auto text = [](MessageId id) { return Message(id).Text(kWindowLanguage); };
    DiagnosticsRequest request{text(MessageId::CheckTitle),
                               text(MessageId::CheckColumnLine),
                               text(MessageId::CheckColumnSeverity),
                               text(MessageId::CheckColumnText),
                               {},
                               nullptr};
    for (const Diagnostic& diagnostic : diagnostics) {
        request.rows.push_back({diagnostic.line, text(SeverityName(diagnostic.severity)),
                                diagnostic.text.Text(kWindowLanguage)});
    }
    const std::filesystem::path list = selectedFile_;
    request.openAtLine = [this, list](std::size_t line) { view_.OpenTextAtLine(list, line); };
    view_.ShowDiagnostics(request);
}

// May the import `mode` replace the point list it would write? Replace when
// none exists or the user says yes; nullopt, after saying the job is skipped,
// when the user says no.
std::optional<ExistingList> Form::AskToReplaceList(const ConversionMode& mode) {
    const std::optional<ListReplacement> replaced = ListReplacedBy(mode, selectedFile_);
    if (!replaced) return ExistingList::Keep;
    const Message question(MessageId::ReplaceListQuestion, {PathText(replaced->list.filename()),
                                                            PathText(replaced->backup.filename())});
    if (view_.AskYesNo(question.Text(kWindowLanguage))) return ExistingList::Replace;
    ShowMessage(Message(MessageId::JobSkipped, {PathText(replaced->list)}));
    return std::nullopt;
}

// The home page when the build names one; else the user guide in the
// window's language (which links the other one) beside the program or in the
// installed documentation.
void Form::OpenSite() {
    if (!setup_.homePage.empty()) return view_.OpenAddress(setup_.homePage);
    const std::string_view guide =
        kWindowLanguage == Language::Russian ? kUserGuideFile : kEnglishUserGuideFile;
    const std::array<std::filesystem::path, 2> guides = {
        setup_.programFolder / guide,
        (setup_.programFolder / ".." / "share" / "doc" / "oradel" / guide).lexically_normal(),
    };
    for (const std::filesystem::path& guide : guides) {
        if (IsFile(guide)) return view_.OpenDocument(guide);
    }
    ShowMessage(Message(MessageId::NoUserGuide, {guide, PathText(guides[0]), PathText(guides[1])}));
}

void Form::ShowHelp() {
    if (panelShown_) TogglePanel();
    view_.CoverClientArea(kHelpText);
    view_.SetVisible(kHelpText, true);
    helpShown_ = true;
}

void Form::HideHelp() {
    view_.SetVisible(kHelpText, false);
    helpShown_ = false;
}

void Form::TogglePanel() {
    panelShown_ = !panelShown_;
    view_.SetVisible(kOptionsPanel, panelShown_);
    FitHeight();
}

// The client area reaches the lowest visible of the operations, the panel
// toggle and the panel, plus a margin.
void Form::FitHeight() {
    int bottom = panelShown_ ? Bottom(kOptionsPanel) : Bottom(kPanelToggle);
    for (const OperationRow& row : OperationRows()) bottom = std::max(bottom, Bottom(row.key));
    view_.SetClientHeight(bottom + kClientBottomMargin);
}

}  // namespace oradel
