// The window's behaviour through a fake view: the controls it sets, the
// messages in their order, the dialogs it asks for and the settings it keeps.
#include "form/form.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <ranges>
#include <set>
#include <string>
#include <vector>

#include "engine/conversion_modes.hpp"
#include "engine/files.hpp"
#include "engine/test_support.hpp"
#include "form/controls.hpp"
#include "form/settings_location.hpp"
#include "options/option_controls.hpp"
#include "oradel/build_info.hpp"

namespace oradel {
namespace {
namespace fs = std::filesystem;
using oradel::testing::ReadBytes;
using oradel::testing::ScratchFolder;
using oradel::testing::Windows1251;
using oradel::testing::WriteBytes;
using Names = std::vector<std::string>;

// The check boxes of the modes that read `kind`, or of every mode.
Names OperationBoxes(std::optional<InputKind> kind = std::nullopt) {
    Names boxes;
    for (const ConversionMode& mode : ConversionModes()) {
        if (!kind || mode.input == *kind) boxes.emplace_back(mode.key);
    }
    return boxes;
}
const Names kOperations = OperationBoxes();
const Names kPointListOperations = OperationBoxes(InputKind::PointList);
const std::string kFinished = "Конвертация закончена";
const std::string kFinishedWithErrors = "Конвертация закончена с ошибками";
const std::string kPointList = Windows1251(
    ":Кавказ\r\nЮца <Ю ЮЗ>\r\n43.9612 42.9845\r\nСтарт на южном склоне\r\n\r\n"
    "Джуца\r\n43.9868 42.9702\r\nСеверный старт\r\n");
// Client heights: the page-options button's and panel's bottoms plus the margin.
int Bottom(std::string_view name) {
    return FindControl(name)->top + FindControl(name)->height;
}
const int kHeightWithoutPanel = Bottom(kPanelToggle) + kClientBottomMargin;
const int kHeightWithPanel = Bottom(kOptionsPanel) + kClientBottomMargin;

struct ControlState {
    bool checked = false;
    std::string text;
    std::string caption;
    bool enabled = true;
    bool visible = true;
};

// Controls as plain values, made from the table; a name the table lacks throws.
class FakeView final : public FormView {
  public:
    FakeView() {
        for (const ControlRow& row : Controls()) {
            controls_[std::string(row.name)].caption = row.caption;
        }
    }
    ControlState& operator[](std::string_view name) { return controls_.at(std::string(name)); }
    const ControlState& operator[](std::string_view name) const {
        return controls_.at(std::string(name));
    }

    bool IsChecked(std::string_view box) const override { return (*this)[box].checked; }
    void SetChecked(std::string_view box, bool ticked) override { (*this)[box].checked = ticked; }
    std::string Text(std::string_view control) const override { return (*this)[control].text; }
    void SetText(std::string_view control, const std::string& text) override {
        (*this)[control].text = text;
    }
    void SetCaption(std::string_view control, const std::string& caption) override {
        (*this)[control].caption = caption;
    }
    void SetEnabled(std::string_view control, bool on) override { (*this)[control].enabled = on; }
    void SetVisible(std::string_view control, bool on) override { (*this)[control].visible = on; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return yes;
    }
    std::optional<fs::path> ChooseFileToOpen(const OpenFileRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        const std::optional<fs::path> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void OpenDocument(const fs::path& file) override { opened.push_back(PathText(file)); }
    void OpenTextAtLine(const fs::path& file, std::size_t line) override {
        opened.push_back(PathText(file) + ":" + std::to_string(line));
    }
    void ShowDiagnostics(const DiagnosticsRequest& request) override {
        diagnostics.push_back(request);
        if (!request.rows.empty()) request.openAtLine(request.rows.back().line);
    }
    void OpenAddress(const std::string& address) override { opened.push_back(address); }
    void SetClientHeight(int height) override { clientHeight = height; }
    void CoverClientArea(std::string_view control) override { covering = control; }

    Names messages;
    Names questions;
    bool yes = true;                              // the answer to every question
    std::deque<std::optional<fs::path>> answers;  // nullopt: the user cancels
    std::vector<OpenFileRequest> requests;
    Names opened;
    std::vector<DiagnosticsRequest> diagnostics;  // each shown, its last row double-clicked
    int clientHeight = 0;
    std::string covering;

  private:
    std::map<std::string, ControlState> controls_;
};

// One run of the window in a scratch folder, the program in its "bin" folder.
class Session {
  public:
    explicit Session(const std::string& settings = "oradel.ini", std::string homePage = "")
        : form(view, FormSetup{folder / settings, folder / "bin", std::move(homePage),
                               folder / "Documents"}) {
        form.Created();
    }

    fs::path File(const std::string& name) const { return folder / name; }
    void Choose(const std::string& name) {
        view.answers.push_back(File(name));
        form.Run(FormCommand::OpenFile);
    }
    void Tick(const Names& boxes) {
        for (const std::string& box : boxes) view[box].checked = true;
    }
    std::string Label() const { return view["fileLabel"].caption; }

    ScratchFolder folder;
    FakeView view;
    Form form;
};

std::string FileCaption(const fs::path& file) {
    return "Файл: " + PathText(file);
}

TEST(FormTest, TableHasParentsFirstAndNamesEveryOptionAndFocusOnce) {
    std::set<std::string_view> seen;
    for (const ControlRow& row : Controls()) {
        EXPECT_TRUE(row.parent.empty() || seen.contains(row.parent)) << row.name;
        EXPECT_TRUE(seen.insert(row.name).second) << row.name;
    }
    for (const OptionControl& option : OptionControls()) {
        const ControlRow* row = FindControl(option.name);
        ASSERT_NE(row, nullptr) << option.name;
        EXPECT_EQ(row->type, option.IsCheckBox() ? ControlType::CheckBox : ControlType::Edit);
    }
    const std::set<std::string_view> ordered(KeyboardOrder().begin(), KeyboardOrder().end());
    EXPECT_EQ(ordered.size(), KeyboardOrder().size());
    EXPECT_EQ(std::ranges::count_if(Controls(), &ControlRow::takesFocus), ordered.size());
    for (const ControlRow& row : Controls()) {
        EXPECT_EQ(row.takesFocus, ordered.contains(row.name)) << row.name;
    }
}

// Each mode has one check box row with a caption and a help line, placed
// above the separator for an import and below it for an export; each row
// belongs to a mode.
TEST(FormTest, EveryModeHasItsOperationRow) {
    const int separator = FindControl("operationsSeparator")->top;
    for (const ConversionMode& mode : ConversionModes()) {
        const auto rows = std::ranges::count(OperationRows(), mode.key, &OperationRow::key);
        EXPECT_EQ(rows, 1) << mode.number;
        const ControlRow* box = FindControl(mode.key);
        ASSERT_NE(box, nullptr) << mode.number;
        EXPECT_EQ(box->type, ControlType::CheckBox);
        EXPECT_EQ(box->top < separator, mode.IsImport()) << mode.number;
    }
    for (const OperationRow& row : OperationRows()) {
        EXPECT_NE(FindConversionMode(row.key), nullptr) << row.key;
        EXPECT_FALSE(row.caption.empty()) << row.key;
        EXPECT_NE(HelpText().find(row.helpLine), std::string::npos) << row.key;
    }
}

// The operations' captions as the user knows them, runs of spaces included.
TEST(FormTest, OperationCaptionsKeepTheirSpacing) {
    const std::pair<std::string_view, std::string_view> captions[] = {
        {"CheckBox1", "Из экспорта XCTrack формата .WPT в текстовый формат .TXT    (ANSI)"},
        {"CheckBox15",
         "Из экспорта Navitel Navigator формата .GPX  в текстовый формат .TXT    (ANSI)"},
        {"CheckBox2",
         "Из текстового файла .TXT в файл импорта формата .WPT для XCTrack    (UTF-8)"},
        {"CheckBox3",
         "Из текстового файла .TXT в файл импорта автонавигатора Navitel Navigator формата .WPT  "
         "  (ANSI)"},
        {"CheckBox4", "Из текстового файла .TXT в .HTM файл для сайта или телефона     (UTF-8)"},
        {"CheckBox5",
         "Из текстового файла .TXT в файл путевых точек (waypoints) формата .WPT для LK8000    "
         "(ANSI)"},
    };
    for (const auto& [name, caption] : captions) EXPECT_EQ(FindControl(name)->caption, caption);
}

TEST(FormTest, StartsWithPanelAndHelpHiddenAndNoFile) {
    const Session session;
    EXPECT_EQ(session.Label(), "Файл:");
    EXPECT_FALSE(session.view["pageOptionsPanel"].visible);
    EXPECT_FALSE(session.view["helpText"].visible);
    EXPECT_EQ(session.view["helpText"].text, HelpText());
    EXPECT_EQ(session.view.clientHeight, kHeightWithoutPanel);
    EXPECT_TRUE(session.form.SelectedFile().empty());
}

// What a file holds decides where it can be read; otherwise its name does.
TEST(FormTest, EnablesOperationsByContentElseByExtension) {
    const struct {
        std::string fileName;
        Names enabled;
        std::string content = "";  // none: the file does not exist
    } cases[] = {
        {"export.txt", {"CheckBox1"}, "$FormatGEO\r\nA  N 1 0 0  E 2 0 0  0\r\n"},
        {"list.wpt", kPointListOperations, ":Кавказ\r\nA\r\n1 2\r\n"},
        {"points.dat", {"CheckBox15"}, "<?xml version=\"1.0\"?><gpx></gpx>"},
        {"lk8.txt", {"CheckBox1"}, "G  WGS 84\r\nU  1\r\n"},
        {"contest.txt", {"importCup"}, "name,code,country,lat,lon,elev\r\n"},
        {"contest.CUP", {"importCup"}},
        {"image.txt", {}, std::string("\x89PNG\0\0", 6)},
        {"alps.TXT", kPointListOperations},
        {"alps.Wpt", {"CheckBox1"}},
        {"points.gpx", {"CheckBox15"}},
        {"notes.doc", {}},
        {"alps", {}},
        {"maps.txt/alps", {}},
        {".txt", kPointListOperations},
        {"alps.txt.", {}},
        {"alps.txť", {}},
    };
    for (const auto& [fileName, enabled, content] : cases) {
        Session session;
        if (!content.empty()) WriteBytes(session.File(fileName), content);
        session.Tick(kOperations);
        session.Choose(fileName);
        EXPECT_EQ(session.Label(), FileCaption(session.File(fileName))) << fileName;
        for (const std::string& box : kOperations) {
            EXPECT_EQ(session.view[box].enabled, std::ranges::count(enabled, box) == 1)
                << fileName << ' ' << box;
            EXPECT_FALSE(session.view[box].checked) << fileName << ' ' << box;
        }
        EXPECT_TRUE(session.view.messages.empty());
    }
}

TEST(FormTest, CancelledOpenUnticksAndKeepsEarlierFile) {
    Session session;
    session.Choose("alps.txt");
    session.Tick({"CheckBox2", "CheckBox4"});
    session.form.Run(FormCommand::OpenFile);  // cancelled
    EXPECT_EQ(session.Label(), FileCaption(session.File("alps.txt")));
    for (const std::string& box : kOperations) {
        EXPECT_FALSE(session.view[box].checked) << box;
        EXPECT_EQ(session.view[box].enabled, std::ranges::count(kPointListOperations, box) == 1)
            << box;
    }
}

TEST(FormTest, AsksForTheFileAsTheDialogOfOld) {
    Session session;
    session.form.Run(FormCommand::OpenFile);
    ASSERT_EQ(session.view.requests.size(), 1u);
    const OpenFileRequest& request = session.view.requests.front();
    EXPECT_EQ(request.title, "Выберите файл:");
    EXPECT_EQ(request.defaultExtension, "txt");
    Names filters;
    for (const FileFilter& filter : request.filters) {
        filters.push_back(filter.description + '|' + filter.pattern);
    }
    EXPECT_EQ(filters,
              (Names{"Текстовые файлы (*.txt)|*.txt", "Файл путевых точек (*.wpt)|*.wpt",
                     "Файл путевых точек (*.gpx)|*.gpx", "Файл путевых точек SeeYou (*.cup)|*.cup",
                     "Страницы (*.htm)|*.htm", "Все файлы (*.*)|*.*"}));
}

// The dialog starts in the folder of the file last opened, in this run or an
// earlier one, while that folder is there; else in the documents, or in a
// portable copy's own folder.
TEST(FormTest, OpenDialogStartsInTheLastFolderElseDocumentsOrAPortableCopysOwn) {
    for (const auto& [settings, expected] :
         {std::pair{"oradel.ini", "Documents"}, std::pair{"bin/oradel.ini", "bin"}}) {
        Session session(settings);
        session.form.Run(FormCommand::OpenFile);
        EXPECT_EQ(session.view.requests.back().folder, session.File(expected)) << settings;
    }
    ScratchFolder kept;
    fs::create_directories(kept / "maps");
    const std::string settings = PathText(kept / "oradel.ini");
    const auto dialogFolder = [&settings](Session& session) {
        session.form.Run(FormCommand::OpenFile);
        return session.view.requests.back().folder;
    };
    {
        Session first(settings);
        first.view.answers.push_back(kept / "maps" / "alps.txt");
        first.form.Run(FormCommand::OpenFile);
        EXPECT_EQ(dialogFolder(first), kept / "maps");
        first.form.Closing();
    }
    Session second(settings);
    EXPECT_EQ(dialogFolder(second), kept / "maps");
    fs::remove_all(kept / "maps");
    Session third(settings);
    EXPECT_EQ(dialogFolder(third), third.File("Documents"));
}

TEST(FormTest, GivenFileIsTakenWithItsFullPath) {
    Session session;
    const fs::path workingFolder = fs::current_path();
    fs::current_path(session.folder.Path());
    session.form.FileGiven("given.wpt");  // relative, as on a command line
    fs::current_path(workingFolder);
    EXPECT_EQ(session.Label(), FileCaption(session.File("given.wpt")));
    EXPECT_TRUE(session.view["CheckBox1"].enabled);
    EXPECT_FALSE(session.view["CheckBox15"].enabled);
}

TEST(FormTest, ViewShowsAnExistingFileElseSaysItIsMissing) {
    Session session;
    session.form.Run(FormCommand::ViewFile);  // no file yet: the open dialog, cancelled
    EXPECT_EQ(session.view.requests.size(), 1u);
    EXPECT_EQ(session.view.messages, Names{"Нет файла: "});

    session.Choose("missing.txt");
    session.form.Run(FormCommand::ViewFile);
    EXPECT_EQ(session.view.messages.back(), "Нет файла: " + PathText(session.File("missing.txt")));

    WriteBytes(session.File("alps.txt"), kPointList);
    session.Choose("alps.txt");
    session.form.Run(FormCommand::ViewFile);
    EXPECT_EQ(session.view.opened, Names{PathText(session.File("alps.txt"))});
    EXPECT_EQ(session.view.messages.size(), 2u);
}

TEST(FormTest, SiteOpensHomePageElseTheFirstUserGuideFound) {
    const std::string beside = "bin/oradel-guide.html";
    const std::string shared = "share/doc/oradel/oradel-guide.html";
    const struct {
        std::string homePage;
        Names guides;        // files made
        std::string opened;  // empty: the missing guide is named in a message
    } cases[] = {
        {"https://example.org/oradel", {beside}, "https://example.org/oradel"},
        {"", {beside, shared}, beside},
        {"", {shared}, shared},
        {"", {}, ""},
    };
    for (const auto& [homePage, guides, opened] : cases) {
        Session session("oradel.ini", homePage);
        for (const std::string& guide : guides) {
            fs::create_directories(session.File(guide).parent_path());
            WriteBytes(session.File(guide), "<html></html>");
        }
        session.form.Run(FormCommand::OpenSite);
        if (opened.empty()) {
            EXPECT_TRUE(session.view.opened.empty());
            EXPECT_EQ(
                session.view.messages,
                Names{"Не найдено руководство пользователя oradel-guide.html:\n" +
                      PathText(session.File(beside)) + "\n" + PathText(session.File(shared))});
        } else {
            const std::string expected = homePage.empty() ? PathText(session.File(opened)) : opened;
            EXPECT_EQ(session.view.opened, Names{expected});
            EXPECT_TRUE(session.view.messages.empty());
        }
    }
}

TEST(FormTest, ConvertNeedsAFileAndAnOperationAndReportsEachJob) {
    Session session;
    session.form.Run(FormCommand::Convert);
    session.Choose("missing.doc");
    session.form.Run(FormCommand::Convert);
    session.Choose("missing.txt");
    session.Tick({"CheckBox2", "CheckBox5"});
    session.form.Run(FormCommand::Convert);
    const std::string noFile = "Нет файла " + PathText(session.File("missing.txt"));
    EXPECT_EQ(session.view.messages, (Names{"Выберите файл, нажмите [Открыть]", "Выберите операции",
                                            noFile, kFinishedWithErrors}));
}

TEST(FormTest, ConvertWritesEveryTickedOperationsFileAndKeepsTheTicks) {
    Session session;
    WriteBytes(session.File("alps.txt"), kPointList);
    session.Choose("alps.txt");
    session.Tick(kPointListOperations);
    session.form.Run(FormCommand::Convert);
    EXPECT_EQ(session.view.messages, Names{kFinished});
    for (const char* output : {"alps.wpt", "alps_nav.wpt", "alps.htm", "alps_lk8.wpt"}) {
        EXPECT_TRUE(fs::exists(session.File(output))) << output;
    }
    for (const std::string& box : kPointListOperations) EXPECT_TRUE(session.view[box].checked);
}

// An import asks before it replaces a point list: yes keeps the old list as
// its backup, no skips the job and the run ends "with errors".
TEST(FormTest, ImportAsksBeforeReplacingTheList) {
    for (const bool yes : {true, false}) {
        Session session;
        WriteBytes(session.File("sites.txt"), kPointList);
        WriteBytes(session.File("sites.wpt"), "A  N 1 0 0  E 2 0 0  0\r\n");
        session.Choose("sites.wpt");
        session.Tick({"CheckBox1"});
        session.view.yes = yes;
        session.form.Run(FormCommand::Convert);
        EXPECT_EQ(session.view.questions,
                  Names{"Список «sites.txt» уже есть. Заменить его? Прежний список сохранится как "
                        "«sites.txt.bak»."});
        const std::string list = PathText(session.File("sites.txt"));
        const Names expected =
            yes ? Names{"Прежний список сохранён как «" + list + ".bak».", kFinished}
                : Names{"Пропущено: «" + list + "» не заменён.", kFinishedWithErrors};
        EXPECT_EQ(session.view.messages, expected);
        EXPECT_EQ(ReadBytes(session.File(yes ? "sites.txt.bak" : "sites.txt")), kPointList);
    }
}

TEST(FormTest, FailedJobEndsTheRunWithItsMessageAndTheFormGoesOn) {
    Session session;
    WriteBytes(session.File("alps.txt"), kPointList + Windows1251("\r\nТочка\r\nnorth east\r\n"));
    session.Choose("alps.txt");
    session.Tick({"CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5"});
    fs::create_directory(session.File("alps_nav.wpt"));  // where mode 3 must write its file
    session.view.yes = false;  // convert without looking at the list's error first
    session.form.Run(FormCommand::Convert);
    // The points mode 2 left out are still named.
    ASSERT_EQ(session.view.messages.size(), 3u);
    EXPECT_EQ(session.view.messages[0], "Не удалось прочитать координаты, точки пропущены:\nТочка");
    EXPECT_NE(session.view.messages[1].find("alps_nav.wpt"), std::string::npos);
    EXPECT_EQ(session.view.messages[2], kFinishedWithErrors);
    EXPECT_FALSE(fs::exists(session.File("alps.htm")));  // later jobs did not run
    EXPECT_FALSE(fs::exists(session.File("alps_lk8.wpt")));

    fs::remove(session.File("alps_nav.wpt"));
    session.view["CheckBox2"].checked = false;
    session.view["CheckBox4"].checked = false;
    session.view["CheckBox5"].checked = false;
    session.form.Run(FormCommand::Convert);
    EXPECT_EQ(session.view.messages.back(), kFinished);
    EXPECT_TRUE(fs::exists(session.File("alps_nav.wpt")));
}

TEST(FormTest, NamesPointsLeftOutOnceBeforeTheEnd) {
    Names many;
    for (int number = 1; number <= 32; ++number) many.push_back("Точка " + std::to_string(number));
    Names manyListed(many.begin(), many.begin() + 30);
    manyListed.push_back("… и ещё 2");
    const std::pair<Names, Names> cases[] = {
        {{"Точка 1"}, {"Точка 1"}},
        // Two points of one name are two points; three exports meet each once.
        {{"Точка 1", "Точка 1", "Точка 2"}, {"Точка 1", "Точка 1", "Точка 2"}},
        {many, manyListed},
    };
    for (const auto& [unreadable, listed] : cases) {
        Session session;
        std::string list = kPointList + "\r\n";
        for (const std::string& name : unreadable)
            list += Windows1251(name) + "\r\nnorth east\r\n\r\n";
        WriteBytes(session.File("alps.txt"), list);
        session.Choose("alps.txt");
        session.Tick({"CheckBox2", "CheckBox3", "CheckBox5"});
        session.view.yes = false;
        session.form.Run(FormCommand::Convert);
        EXPECT_EQ(session.view.questions,
                  Names{"В списке " + std::to_string(unreadable.size()) + " ошибок. Показать?"});
        std::string expected = "Не удалось прочитать координаты, точки пропущены:";
        for (const std::string& name : listed) expected += '\n' + name;
        EXPECT_EQ(session.view.messages, (Names{expected, kFinished}));
    }
}

// "Проверить" (and F7) lists the findings, a double-click opens the list at
// that line; a list with errors offers them before it is converted.
TEST(FormTest, CheckListsProblemsAndIsOfferedBeforeConverting) {
    Session session;
    session.form.Run(FormCommand::CheckList);
    EXPECT_EQ(session.view.messages, Names{"Выберите файл, нажмите [Открыть]"});
    WriteBytes(session.File("alps.txt"), kPointList);
    session.Choose("alps.txt");
    session.form.KeyPressed(Key::F7, false);
    EXPECT_EQ(session.view.messages.back(), "В списке нет ни ошибок, ни предупреждений");

    WriteBytes(session.File("alps.txt"), kPointList + Windows1251("\r\nТочка\r\n43.9\r\n"));
    session.Tick({"CheckBox2"});
    session.form.Run(FormCommand::Convert);  // the fake view says yes: the check, no job
    ASSERT_EQ(session.view.diagnostics.size(), 1u);
    const DiagnosticsRequest& shown = session.view.diagnostics[0];
    EXPECT_EQ(shown.title, "Проверка списка");
    const DiagnosticRow& last = shown.rows.back();
    EXPECT_EQ(last.line, 11u);
    EXPECT_EQ(last.severity, "ошибка");
    EXPECT_EQ(last.text, "Нет долготы после «43.9»");
    EXPECT_EQ(session.view.opened.back(), PathText(session.File("alps.txt")) + ":11");
    EXPECT_FALSE(fs::exists(session.File("alps.wpt")));
    session.view.yes = false;
    session.form.Run(FormCommand::Convert);
    EXPECT_TRUE(fs::exists(session.File("alps.wpt")));
}

TEST(FormTest, PanelAndHelpStatesAndHeights) {
    enum Step { Toggle, Help, HideHelp };
    const struct {
        std::vector<Step> steps;
        bool panel, help;
        int height;
    } cases[] = {
        {{Toggle}, true, false, kHeightWithPanel},
        {{Toggle, Toggle}, false, false, kHeightWithoutPanel},
        {{Toggle, Help}, false, true, kHeightWithoutPanel},  // help closes the panel first
        {{Toggle, Help, HideHelp}, false, false, kHeightWithoutPanel},
        {{Help, HideHelp, Toggle}, true, false, kHeightWithPanel},
    };
    const FormCommand commands[] = {FormCommand::TogglePanel, FormCommand::ShowHelp,
                                    FormCommand::HideHelp};
    for (const auto& [steps, panel, help, height] : cases) {
        Session session;
        for (Step step : steps) session.form.Run(commands[step]);
        EXPECT_EQ(session.view["pageOptionsPanel"].visible, panel);
        EXPECT_EQ(session.form.PanelShown(), panel);
        EXPECT_EQ(session.view["helpText"].visible, help);
        EXPECT_EQ(session.form.HelpShown(), help);
        EXPECT_EQ(session.view.clientHeight, height);
        const bool helpEverShown = std::ranges::count(steps, Help) > 0;
        EXPECT_EQ(session.view.covering, helpEverShown ? "helpText" : "");
    }
}

TEST(FormTest, ShortcutsRunTheirCommands) {
    const struct {
        Key key;
        bool ctrl;
        bool helpShown;  // before the key
        bool handled;
        bool helpShownAfter;
        std::size_t dialogs;
        Names messages;
    } cases[] = {
        {Key::O, true, false, true, false, 1, {}},
        {Key::O, false, false, false, false, 0, {}},
        {Key::Enter, true, false, true, false, 0, {"Выберите файл, нажмите [Открыть]"}},
        {Key::Enter, false, false, false, false, 0, {}},
        {Key::F1, false, false, true, true, 0, {}},
        {Key::Escape, false, true, true, false, 0, {}},
        {Key::Escape, false, false, false, false, 0, {}},
    };
    for (const auto& [key, ctrl, helpShown, handled, helpShownAfter, dialogs, messages] : cases) {
        Session session;
        if (helpShown) session.form.Run(FormCommand::ShowHelp);
        EXPECT_EQ(session.form.KeyPressed(key, ctrl), handled);
        EXPECT_EQ(session.view["helpText"].visible, helpShownAfter);
        EXPECT_EQ(session.view.requests.size(), dialogs);
        EXPECT_EQ(session.view.messages, messages);
    }
}

Names Lines(const std::string& text) {
    Names lines;
    for (const auto line : std::views::split(text, '\n'))
        lines.emplace_back(line.begin(), line.end());
    return lines;
}

// The title and version above the operations' lines (EveryModeHasItsOperationRow
// finds those), and the text below them line for line, wherever they end.
TEST(FormTest, HelpTextHasItsLinesAndTheVersion) {
    const Names lines = Lines(HelpText());
    EXPECT_EQ(lines[2], "         Oradel для лётных программ XCTrack, LK8000");
    EXPECT_EQ(lines[4], "                         Версия " + std::string(kVersion));
    const auto after = static_cast<std::size_t>(
        std::ranges::find(lines, "Очень удобно иметь полную информацию о месте!") - lines.begin());
    ASSERT_EQ(lines.size(), after + 49);
    EXPECT_EQ(lines[after + 6],
              "если перед именем точки строка начинается с \":\" это заголовок раздела в HTM "
              "файле (необязательная строка)");
    EXPECT_EQ(lines[after + 29],
              "   в номере телефона допускаются символы \"+\", \"(\", \")\", \" \", \"-\"");
    EXPECT_EQ(lines[after + 41], "                       ЗАКРЫТЬ справку - КЛИКНИ по ней");
    for (const std::size_t line : {0u, 1u, 5u, 6u}) EXPECT_TRUE(lines[line].empty()) << line;
    for (const std::size_t offset : {1u, 36u, 42u}) EXPECT_TRUE(lines[after + offset].empty());
    EXPECT_TRUE(lines[after - 1].empty());
}

TEST(FormTest, SettingsSurviveClosingAndStart) {
    ScratchFolder folder;
    const std::string settings = PathText(folder / "oradel.ini");
    {
        Session first(settings);
        for (const OptionControl& control : OptionControls()) {
            const ConversionMode* mode = FindConversionMode(control.name);
            EXPECT_EQ(first.view[control.name].checked,
                      mode != nullptr ? mode->tickedOnFirstStart
                                      : control.IsCheckBox() && control.name != "cRS2")
                << control.name;
        }
        first.Choose("notes.txt");  // unticks the operations
        first.view["cRS2"].checked = true;
        first.view["Edit1"].text = "А123ВС";
        first.form.Closing();
        EXPECT_TRUE(first.view.messages.empty());
    }
    EXPECT_NE(ReadBytes(settings).find("\r\nEdit1=" + Windows1251("А123ВС") + "\r\n"),
              std::string::npos);
    const Session second(settings);
    EXPECT_TRUE(second.view["cRS2"].checked);
    EXPECT_FALSE(second.view["CheckBox2"].checked);
    EXPECT_TRUE(second.view["CheckBox7"].checked);
    EXPECT_EQ(second.view["Edit1"].text, "А123ВС");
}

TEST(FormTest, FailedSaveIsShown) {
    Session session("missing/oradel.ini");
    session.form.Closing();
    EXPECT_EQ(session.view.messages,
              Names{"Не удаётся создать файл «" + PathText(session.File("missing/oradel.ini")) +
                    "». Нет такого файла или папки"});
}

TEST(FormTest, SettingsLieBesideAPortableProgramElseInTheUsersFolder) {
    const struct {
        std::string program;
        std::string marker;  // the folder of oradel.installed; empty: none
        std::string expected;
    } cases[] = {
        {"bin/oradel", "", "bin/oradel.ini"},
        {"bin/Oradel.exe", "", "bin/Oradel.ini"},
        {"bin/oradel", "bin", "config/oradel/oradel.ini"},           // the Windows installer's
        {"bin/oradel", "share/oradel", "config/oradel/oradel.ini"},  // a Linux install's
        {"bin/oradel", "share", "bin/oradel.ini"},
        {"gone/oradel", "", "config/oradel/oradel.ini"},
    };
    for (const auto& [program, marker, expected] : cases) {
        ScratchFolder folder;
        fs::create_directories(folder / "bin");
        const bool marked = marker == "bin";
        if (!marker.empty()) {
            fs::create_directories(folder / marker);
            WriteBytes(folder / marker / kInstalledMarker, "");
        }
        EXPECT_EQ(SettingsFileLocation(folder / program, folder / "config" / "oradel"),
                  folder / expected)
            << program;
        EXPECT_EQ(fs::exists(folder / "config" / "oradel"), expected.starts_with("config"));
        EXPECT_EQ(std::distance(fs::directory_iterator(folder / "bin"), fs::directory_iterator()),
                  marked ? 1 : 0);  // the probe is gone
    }
}

}  // namespace
}  // namespace oradel
