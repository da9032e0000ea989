// The Windows window driven as a user drives it, through window messages to
// its real controls, with the dialogs answered and every message recorded.
// Runs under Wine at the resolution ORADEL_WINE_DPI names (96 and 144).
#include "win/main_window.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "engine/conversion_modes.hpp"
#include "tests/windows/screenshot.hpp"
#include "text/codepage.hpp"
#include "text/utf16.hpp"
#include "win/command_line.hpp"
#include "win/desktop.hpp"
#include "win/fonts.hpp"
#include "win/message_loop.hpp"
#include "win/windows_ui_api.hpp"

namespace oradel::win {
namespace fs = std::filesystem;
namespace {

// oradel.exe and oradel-convert.exe, from the command line.
std::vector<fs::path> programs;

constexpr wchar_t kHomePage[] = L"https://example.org/oradel";

using Rect = std::array<long, 4>;  // left, top, width, height

class RecordingDesktop final : public Desktop {
  public:
    void ShowMessage(HWND, const std::wstring& text) override { messages.push_back(text); }
    bool AskYesNo(HWND, const std::wstring& text) override {
        messages.push_back(text);
        return yes;
    }
    std::optional<fs::path> ChooseFileToOpen(HWND, const OpenFileRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        const std::optional<fs::path> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void OpenWithShell(const std::wstring& fileOrAddress) override {
        opened.push_back(fileOrAddress);
    }
    void OpenTextAtLine(const fs::path& file, std::size_t line) override {
        opened.push_back(file.wstring() + L":" + std::to_wstring(line));
    }
    void ShowDiagnostics(HWND, HFONT, const DiagnosticsRequest& request) override {
        diagnostics.push_back(request.rows.size());
    }

    std::vector<std::wstring> messages;
    std::deque<std::optional<fs::path>> answers;  // nullopt: the user cancels
    std::vector<OpenFileRequest> requests;
    std::vector<std::wstring> opened;
    std::vector<std::size_t> diagnostics;  // the rows of each list check shown
    bool yes = true;                       // the answer to every question
};

UINT ExpectedDpi() {
    const char* dpi = std::getenv("ORADEL_WINE_DPI");
    return dpi != nullptr ? static_cast<UINT>(std::atoi(dpi)) : USER_DEFAULT_SCREEN_DPI;
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// The thread's state of the Ctrl key, as GetKeyState reports it.
void HoldControl(bool held) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

// One run of the window in a scratch folder, which holds its settings file.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temporary[MAX_PATH];
        GetTempPathW(MAX_PATH, temporary);
        folder = fs::path(temporary) / (L"oradel-test-" + std::to_wstring(GetTickCount64()));
        fs::create_directories(folder);
        window = std::make_unique<MainWindow>(
            desktop, FormSetup{folder / "oradel.ini", folder, Utf8FromUtf16(kHomePage), {}});
        window->Create();
        window->Show(SW_SHOWNORMAL);
        SetForegroundWindow(Handle());
        Pump();
    }
    void TearDown() override {
        window.reset();
        Pump();
        fs::remove_all(folder);
    }
    // Delivers what is queued as the program's message loop does.
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) DeliverMessage(*window, message);
        }
    }
    HWND Control(std::string_view name) const {
        HWND control = window->Control(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void Click(std::string_view name) {
        SendMessageW(Control(name), BM_CLICK, 0, 0);
        Pump();
    }
    void Choose(const fs::path& file) {
        desktop.answers.push_back(file);
        Click("openButton");
    }
    void Key(WPARAM key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        Pump();
    }
    HWND Handle() const { return window->Handle(); }
    bool Visible(std::string_view name) const { return IsWindowVisible(Control(name)); }
    std::string Caption(std::string_view name) const {
        wchar_t text[4096] = L"";
        GetWindowTextW(Control(name), text, 4096);
        return Utf8FromUtf16(text);
    }
    // Within the parent.
    Rect Place(std::string_view name) const {
        RECT place;
        GetWindowRect(Control(name), &place);
        MapWindowPoints(nullptr, GetParent(Control(name)), reinterpret_cast<POINT*>(&place), 2);
        return {place.left, place.top, place.right - place.left, place.bottom - place.top};
    }
    SIZE ClientSize() const {
        RECT client;
        GetClientRect(Handle(), &client);
        return {client.right, client.bottom};
    }
    long Scaled(int length) const { return ScaledLength(length, window->Dpi()); }

    fs::path folder;
    RecordingDesktop desktop;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

// Every row of the table is a real control under its parent, with its caption,
// keyboard stop, hint, font and colours.
TEST_F(WindowTest, ControlsMadeFromTheTable) {
    const std::map<ControlType, std::wstring> classes = {
        {ControlType::SpeedButton, L"Button"}, {ControlType::Label, L"Static"},
        {ControlType::Bevel, L"Static"},       {ControlType::CheckBox, L"Button"},
        {ControlType::Panel, L"OradelPanel"},  {ControlType::Edit, L"Edit"},
        {ControlType::Memo, L"Edit"}};
    HWND tooltips = FindWindowW(TOOLTIPS_CLASSW, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    for (const ControlRow& row : Controls()) {
        SCOPED_TRACE(std::string(row.name));
        HWND control = Control(row.name);
        wchar_t text[256] = L"";
        GetClassNameW(control, text, 256);
        EXPECT_EQ(text, classes.at(row.type));
        EXPECT_EQ(GetParent(control), row.parent.empty() ? Handle() : Control(row.parent));
        const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        EXPECT_EQ((style & WS_TABSTOP) != 0, row.takesFocus);
        if (row.type == ControlType::CheckBox) {
            EXPECT_EQ((style & BS_LEFTTEXT) != 0, (row.style & kCaptionLeft) != 0);
        }
        if (row.type != ControlType::Memo) {
            EXPECT_EQ(Caption(row.name), row.caption);
        }
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        text[0] = L'\0';
        SendMessageW(tooltips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(Utf8FromUtf16(text), row.hint);
        if (row.type == ControlType::Panel || row.type == ControlType::Bevel) continue;
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(font.lfHeight, -Scaled(kFontPixelHeight));
        EXPECT_TRUE(std::ranges::count(kFontFamilies, Utf8FromUtf16(font.lfFaceName)) == 1 ||
                    font.lfFaceName == std::wstring(L"Microsoft Sans Serif"));
        EXPECT_EQ(font.lfWeight == FW_BOLD, (row.style & kBold) != 0);
        EXPECT_EQ(font.lfItalic != 0, (row.style & kItalic) != 0);
        SendMessageW(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control));
        if (const auto colour = row.textColour) {
            EXPECT_EQ(GetTextColor(dc), RGB(colour->red, colour->green, colour->blue));
        }
        if (const auto colour = row.background) {
            EXPECT_EQ(GetBkColor(dc), RGB(colour->red, colour->green, colour->blue));
        }
    }
    DeleteDC(dc);
}

TEST_F(WindowTest, ControlsAsLaidOutAtTheScreensResolution) {
    EXPECT_EQ(window->Dpi(), ExpectedDpi());
    Click("pageOptionsButton");  // the panel's controls are measured while it shows
    for (const ControlRow& row : Controls()) {
        const Rect place = Place(row.name);
        const Rect expected = {Scaled(row.left), Scaled(row.top),
                               row.width != 0 ? Scaled(row.width) : place[2],
                               row.height != 0 ? Scaled(row.height) : place[3]};
        EXPECT_EQ(place, expected) << row.name;
        EXPECT_GT(place[2] * place[3], 0) << row.name;  // a fitted label shows its text
    }
    // The same in numbers, so that a wrong rule on both sides shows as well.
    struct Row {
        const char* name;
        Rect at96, at144;
    };
    const Row rows[] = {
        {"openButton", {19, 45, 71, 20}, {29, 67, 107, 30}},
        {"cFI", {357, 12, 79, 14}, {535, 18, 119, 20}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Place(row.name), window->Dpi() == 96 ? row.at96 : row.at144) << row.name;
    }
}

// An import asks in the real window before it replaces a list; No skips it.
TEST_F(WindowTest, ImportAsksBeforeReplacingTheList) {
    WriteBytes(folder / L"сайты.txt", "A\r\n1 2\r\n");
    WriteBytes(folder / L"сайты.wpt", "A  N 1 0 0  E 2 0 0  0\r\n");
    Choose(folder / L"сайты.wpt");
    Click("CheckBox1");
    desktop.yes = false;
    Click("convertButton");
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[0],
              L"Список «сайты.txt» уже есть. Заменить его? Прежний список сохранится как "
              L"«сайты.txt.bak».");
    EXPECT_EQ(desktop.messages[2], L"Конвертация закончена с ошибками");
    EXPECT_EQ(ReadBytes(folder / L"сайты.txt"), "A\r\n1 2\r\n");
}

// Clicks, ticks and typing reach the form: seen in its messages, captions,
// enabled boxes, heights, the help text, the files it writes and its settings.
TEST_F(WindowTest, ClicksAndTypingReachTheForm) {
    Click("convertButton");
    const fs::path list = folder / L"Юца 東京.txt";
    WriteBytes(list, Windows1251FromUtf8("Юца <Ю>\r\n43.9612 42.9845\r\nСтарт\r\n"));
    Choose(list);
    EXPECT_EQ(Caption("fileLabel"), "Файл: " + Utf8FromUtf16(list.wstring()));
    EXPECT_TRUE(IsWindowEnabled(Control("CheckBox2")));
    EXPECT_FALSE(IsWindowEnabled(Control("CheckBox1")));
    Click("CheckBox2");
    Click("convertButton");
    EXPECT_TRUE(fs::exists(folder / L"Юца 東京.wpt"));
    EXPECT_FALSE(fs::exists(folder / L"Юца 東京_nav.wpt"));
    Click("viewButton");
    Click("siteButton");
    EXPECT_EQ(desktop.messages, (std::vector<std::wstring>{L"Выберите файл, нажмите [Открыть]",
                                                           L"Конвертация закончена"}));
    EXPECT_EQ(desktop.opened, (std::vector<std::wstring>{list.wstring(), kHomePage}));

    const long closed = ClientSize().cy;
    EXPECT_EQ(ClientSize().cx, Scaled(kClientWidth));
    const ControlRow& button = *FindControl(kPanelToggle);
    const ControlRow& panel = *FindControl(kOptionsPanel);
    EXPECT_EQ(closed, Scaled(button.top + button.height + kClientBottomMargin));
    Click("pageOptionsButton");
    EXPECT_EQ(ClientSize().cy, Scaled(panel.top + panel.height + kClientBottomMargin));
    for (wchar_t character : std::wstring(L"А000АА")) {
        PostMessageW(Control("Edit1"), WM_CHAR, character, 1);
    }
    SetFocus(Control("cRS"));
    Key(VK_SPACE);
    Click("helpButton");
    EXPECT_FALSE(Visible("pageOptionsPanel"));
    EXPECT_EQ(ClientSize().cy, closed);
    EXPECT_EQ(Place("helpText"), (Rect{0, 0, ClientSize().cx, closed}));
    EXPECT_EQ(ChildWindowFromPoint(Handle(), {5, closed - 5}), Control("helpText"));
    EXPECT_EQ(Caption("helpText").substr(0, 13), "\r\n\r\n         ");
    SendMessageW(Control("helpText"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(Control("helpText"), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_FALSE(Visible("helpText"));

    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    const std::string saved = ReadBytes(folder / "oradel.ini");
    for (const char* line : {"\r\nEdit1=А000АА\r\n", "\r\ncRS=0\r\n", "\r\ncFI=1\r\n"}) {
        EXPECT_NE(saved.find(Windows1251FromUtf8(line)), std::string::npos) << line;
    }
}

// The form's shortcuts from every kind of control, and from the window itself
// when a chosen file has disabled every control that could hold the focus.
TEST_F(WindowTest, KeysReachTheForm) {
    Click("pageOptionsButton");
    for (const char* focus : {"CheckBox1", "Edit1", "helpText", "OradelWindow"}) {
        SCOPED_TRACE(focus);
        if (focus == std::string_view("helpText")) {
            Click("helpButton");  // the help takes the focus and closes the panel
        } else if (focus == std::string_view("OradelWindow")) {
            SetFocus(Control("CheckBox1"));
            Choose(folder / "notes.doc");
        } else {
            SetFocus(Control(focus));
        }
        EXPECT_EQ(GetFocus(), window->Control(focus) ? Control(focus) : Handle());
        desktop.messages.clear();
        HoldControl(true);
        Key('O');
        Key(VK_RETURN);
        HoldControl(false);
        EXPECT_EQ(desktop.messages.size(), 1u);
        Key(VK_F1);
        EXPECT_TRUE(Visible("helpText"));
        Key(VK_ESCAPE);
        EXPECT_FALSE(Visible("helpText"));
    }
    EXPECT_EQ(desktop.requests.size(), 5u);
}

// Tab goes through the table's keyboard order; a speed button leaves the focus where it was.
TEST_F(WindowTest, TabFollowsTheKeyboardOrder) {
    Click("pageOptionsButton");
    Choose(folder / "a.txt");  // the imports are disabled now
    SetFocus(Control("CheckBox2"));
    Click("siteButton");
    EXPECT_EQ(GetFocus(), Control("CheckBox2"));
    std::vector<std::string_view> order;
    for (std::string_view name : KeyboardOrder()) {
        const ConversionMode* mode = FindConversionMode(name);
        if ((mode == nullptr || !mode->IsImport()) && name != kHelpText) order.push_back(name);
    }
    order.push_back(order.front());  // and round again
    for (std::size_t next = 1; next < order.size(); ++next) {
        Key(VK_TAB);
        EXPECT_EQ(GetFocus(), Control(order[next])) << order[next];
    }
}

TEST_F(WindowTest, DroppedFileIsTakenAsChosen) {
    const std::wstring file = (folder / L"Ωmega 東京 Юца.gpx").wstring();
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    file.copy(reinterpret_cast<wchar_t*>(drop + 1), file.size());
    GlobalUnlock(memory);
    SendMessageW(Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(Caption("fileLabel"), "Файл: " + Utf8FromUtf16(file));
    EXPECT_TRUE(IsWindowEnabled(Control("CheckBox15")));
}

TEST_F(WindowTest, ResolutionChangeRescales) {
    const UINT dpi = window->Dpi() == 96 ? 144 : 96;  // the other monitor fits the screen
    RECT suggested{10, 10, 500, 500};
    SendMessageW(Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window->Dpi(), dpi);
    EXPECT_EQ(Place("openButton"), (Rect{Scaled(24), Scaled(56), Scaled(89), Scaled(25)}));
    EXPECT_EQ(ClientSize().cx, Scaled(kClientWidth));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control("operationsLabel"), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -Scaled(kFontPixelHeight));
}

TEST(CommandLine, GivesTheFirstArgument) {
    struct Row {
        const wchar_t* commandLine;
        std::optional<fs::path> file;
    };
    const Row rows[] = {
        {LR"("C:\Program Files\Oradel\oradel.exe" "D:\Карты\Юца.txt")",
         fs::path(LR"(D:\Карты\Юца.txt)")},
        {LR"(oradel.exe D:\a.wpt extra)", fs::path(LR"(D:\a.wpt)")},
        {LR"("C:\Program Files\Oradel\oradel.exe")", std::nullopt},
        {LR"(oradel.exe "")", std::nullopt},
    };
    for (const Row& row : rows) EXPECT_EQ(FileFromCommandLine(row.commandLine), row.file);
}

// Where the portable and installed copies keep their settings is the form's
// rule, tested there; Windows gives it the user's local application data.
TEST(Settings, UsersFolderIsInLocalAppData) {
    const char* environment = std::getenv("LOCALAPPDATA");
    ASSERT_NE(environment, nullptr);
    EXPECT_EQ(fs::path(LocalSettingsFolder()), fs::path(environment) / "oradel");
}

TEST(Programs, CarryTheProjectsVersionAndTheIcon) {
    ASSERT_EQ(programs.size(), 2u);
    for (const fs::path& program : programs) {
        DWORD ignored = 0;
        std::string data(GetFileVersionInfoSizeW(program.c_str(), &ignored), '\0');
        ASSERT_TRUE(
            GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data()))
            << program;
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT size = 0;
        ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
        std::ostringstream version;
        version << HIWORD(fixed->dwFileVersionMS) << ',' << LOWORD(fixed->dwFileVersionMS) << ','
                << HIWORD(fixed->dwFileVersionLS) << ',' << LOWORD(fixed->dwFileVersionLS);
        EXPECT_EQ(version.str(), ORADEL_VERSION_NUMBERS) << program;
    }
    EXPECT_GE(ExtractIconExW(programs[0].c_str(), -1, nullptr, nullptr, 0), 1u);
}

// The desktop's own message boxes and open dialog, answered by a timer as a
// user would: Enter presses the default button.
TEST(SystemDesktopTest, RealMessageBoxesAndOpenDialog) {
    static int buttons = 0;
    static int defaultButton = 0;
    const auto pressDefault = [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(L"#32770", L"Oradel");
        if (box == nullptr) return;
        buttons = 0;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[32] = L"";
            GetClassNameW(child, className, 32);
            if (std::wstring(className) != L"Button") continue;
            ++buttons;
            if ((GetWindowLongW(child, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) {
                defaultButton = GetDlgCtrlID(child);
            }
        }
        PostMessageW(box, WM_COMMAND, defaultButton, 0);
    };
    SystemDesktop desktop;
    UINT_PTR timer = SetTimer(nullptr, 0, 200, pressDefault);
    desktop.ShowMessage(nullptr, L"Нет файла: D:\\Карты\\Юца.txt");
    KillTimer(nullptr, timer);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(defaultButton, IDOK);
    timer = SetTimer(nullptr, 0, 200, pressDefault);
    EXPECT_FALSE(desktop.AskYesNo(nullptr, L"Список «Юца.txt» уже есть. Заменить его?"));
    KillTimer(nullptr, timer);
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(defaultButton, IDNO);

    static fs::path folder;
    folder = fs::temp_directory_path() / L"oradel-dialog-Папка";
    fs::create_directories(folder);
    const UINT_PTR dialogTimer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowW(L"#32770", L"Выберите файл:");
        if (dialog == nullptr) return;
        constexpr int kFileNameBox = 0x047C;  // cmb13, the file name of an Explorer-style dialog
        SetDlgItemTextW(dialog, kFileNameBox, L"новый");  // does not exist
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    const OpenFileRequest request{"Выберите файл:", folder, "txt", {{"Текст (*.txt)", "*.txt"}}};
    const std::optional<fs::path> chosen = desktop.ChooseFileToOpen(nullptr, request);
    KillTimer(nullptr, dialogTimer);
    EXPECT_EQ(chosen, folder / L"новый.txt");
    fs::remove_all(folder);
}

// The list check's window: its rows, Enter on a row opens that row's line,
// and Escape closes it; a screenshot when asked for.
TEST(SystemDesktopTest, CheckWindowListsRowsAndOpensTheLine) {
    static int rows = 0;
    static bool pictured = false;
    std::vector<std::size_t> opened;
    const DiagnosticsRequest request{"Проверка списка",
                                     "Строка",
                                     "Важность",
                                     "Что не так",
                                     {{1, "заметка", "Список прочитан в кодировке Windows-1251"},
                                      {7, "ошибка", "Нет долготы после «43.9868»"}},
                                     [&](std::size_t line) { opened.push_back(line); }};
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND window = FindWindowW(L"OradelDiagnostics", nullptr);
        if (window == nullptr) return;
        KillTimer(nullptr, id);
        HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
        rows = ListView_GetItemCount(list);
        if (std::getenv("ORADEL_SCREENSHOT_DIR") != nullptr) {
            pictured = TakeScreenshot(window, "oradel-check");
        }
        ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        NMITEMACTIVATE activate{};
        activate.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_ITEMACTIVATE};
        activate.iItem = 1;
        SendMessageW(window, WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    SystemDesktop().ShowDiagnostics(nullptr, nullptr, request);
    KillTimer(nullptr, timer);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(opened, std::vector<std::size_t>{7});
    if (std::getenv("ORADEL_SCREENSHOT_DIR") != nullptr) {
        EXPECT_TRUE(pictured);
    }
}

TEST_F(WindowTest, Screenshots) {
    if (std::getenv("ORADEL_SCREENSHOT_DIR") == nullptr) GTEST_SKIP() << "no screenshot folder";
    Choose(folder / L"Эльбрус.txt");
    Click("pageOptionsButton");
    EXPECT_TRUE(TakeScreenshot(window->Handle(), "oradel-window"));
    Click("helpButton");
    EXPECT_TRUE(TakeScreenshot(window->Handle(), "oradel-help"));
}

}  // namespace oradel::win

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as oradel.exe does, for the dialogs
    for (int index = 1; index < argc; ++index) {
        oradel::win::programs.push_back(oradel::win::WindowsPathOfUnixPath(argv[index]));
    }
    return RUN_ALL_TESTS();
}
