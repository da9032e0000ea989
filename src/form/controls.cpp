#include "form/controls.hpp"

#include <algorithm>
#include <vector>

#include "engine/conversion_modes.hpp"

namespace oradel {
namespace {

using enum ControlType;
constexpr std::optional<Rgb> kSystem;
constexpr std::optional<Rgb> kNavy = Rgb{0x00, 0x00, 0x80};
constexpr std::optional<Rgb> kOlive = Rgb{0x80, 0x80, 0x00};
constexpr std::optional<Rgb> kMaroon = Rgb{0x80, 0x00, 0x00};
// Very light yellow, colour value 15925246.
constexpr std::optional<Rgb> kHelpBackground = Rgb{254, 255, 242};

// The operations in the window's order; the key names the mode.
constexpr OperationRow kOperations[] = {
    {"CheckBox1", "Из экспорта XCTrack формата .WPT в текстовый формат .TXT    (ANSI)", 500,
     "- преобразует файл экспорта точек из XCTrack (xctrack-internal.wpt) в простой формат TXT"},
    {"CheckBox15", "Из экспорта Navitel Navigator формата .GPX  в текстовый формат .TXT    (ANSI)",
     561,
     "- преобразует файл экспорта Navitel Navigator (Exported Waypoints.gpx) в текстовый формат "
     "TXT"},
    {"importCup", "Импорт из SeeYou CUP (.cup)", 240,
     "- преобразует файл путевых точек SeeYou CUP (.cup) в текстовый формат TXT"},
    {"CheckBox2", "Из текстового файла .TXT в файл импорта формата .WPT для XCTrack    (UTF-8)",
     561, "- лётную программу XCTrack"},
    {"CheckBox5",
     "Из текстового файла .TXT в файл путевых точек (waypoints) формата .WPT для LK8000    (ANSI)",
     657, "- лётную программу LK8000  (к имени файла добавляет \"_lk8\")"},
    {"exportCup", "Экспорт в SeeYou CUP (XCSoar, LK8000, SeeYou)", 380,
     "- приборы и программы XCSoar, LK8000, SeeYou Navigator, Oudie  (файл .cup)"},
    {"CheckBox3",
     "Из текстового файла .TXT в файл импорта автонавигатора Navitel Navigator формата .WPT    "
     "(ANSI)",
     697, "- автонавигатор Navitel Navigator  (к имени файла добавляет \"_nav\")"},
    {"exportGpx", "Экспорт в GPX (OsmAnd, телефон)", 262,
     "- OsmAnd, карты в телефоне, автонавигаторы и Google My Maps: файл GPX  (к имени файла "
     "добавляет \"_wpt\")"},
    {"exportKml", "Экспорт в KML (Google Earth)", 240,
     "- Google Earth: файл KML, разделы списка - папки, комментарий с гиперссылками"},
    {"CheckBox4", "Из текстового файла .TXT в .HTM файл для сайта или телефона     (UTF-8)", 521,
     "- HTM файл для телефона, планшета или ПК, показывает в этих точках погоду, аэрологическую "
     "диаграмму,\n"
     "положение на карте, термическую карту, карту высот и комментарий с гиперссылками на Web "
     "страницы,\n"
     "делает набор телефона по указанному номеру;\n"
     "просмотр треков, конвертер треков, конвертер координат, проверка штрафов в ГИБДД."},
};

// The operation whose row the page-options button stands beside.
constexpr std::string_view kPageOperation = "CheckBox4";

// Where the operations stand: the imports from the first top down, the
// separator below them, the exports below it; each check box is 17 high.
constexpr int kFirstOperationTop = 144;
constexpr int kOperationStep = 34;
constexpr int kSeparatorBelowImport = 37;
constexpr int kExportBelowSeparator = 23;
constexpr int kPanelBelowExport = 35;
constexpr int kPageButtonAboveRow = 4;

// The controls above the operations.
// Kind, name, parent, left, top, width, height, caption, style, text colour,
// background, hint, takes focus, click.
constexpr ControlRow kTopControls[] = {
    {SpeedButton, "openButton", "", 24, 56, 89, 25, "Открыть ", kBold, kNavy, kSystem, "", false,
     FormCommand::OpenFile},
    {SpeedButton, "viewButton", "", 391, 56, 105, 25, "Просмотр", kBold, kNavy, kSystem, "", false,
     FormCommand::ViewFile},
    {Label, "fileLabel", "", 24, 24, 0, 0, "Файл:", kBold, kNavy, kSystem, "", false,
     FormCommand::None},
    {SpeedButton, "convertButton", "", 123, 56, 153, 25, "Конвертировать", kBold, kNavy, kSystem,
     "", false, FormCommand::Convert},
    {SpeedButton, "checkButton", "", 286, 56, 95, 25, "Проверить", kBold, kNavy, kSystem,
     "проверить список точек (F7)", false, FormCommand::CheckList},
    {Label, "operationsLabel", "", 24, 113, 0, 0, "Выберите операции:", kBold, kNavy, kSystem, "",
     false, FormCommand::None},
    {SpeedButton, "siteButton", "", 647, 56, 66, 25, "Сайт", kRegular, kSystem, kSystem, "", false,
     FormCommand::OpenSite},
    {SpeedButton, "helpButton", "", 506, 56, 131, 25, "О Программе", kRegular, kSystem, kSystem, "",
     false, FormCommand::ShowHelp},
};

// The web page's options: the panel (its top follows the operations) and
// what it holds.
constexpr ControlRow kPanel = {
    Panel, "pageOptionsPanel", "",      24,      0,  681,   267,
    "",    kRegular,           kSystem, kSystem, "", false, FormCommand::None};
constexpr ControlRow kPanelControls[] = {
    {Label, "weatherLabel", "pageOptionsPanel", 15, 45, 0, 0, "Погода:", kBold, kSystem, kSystem,
     "", false, FormCommand::None},
    {Label, "onMapLabel", "pageOptionsPanel", 16, 95, 0, 0, "На карте:", kBold, kSystem, kSystem,
     "", false, FormCommand::None},
    {Label, "mapLabel", "pageOptionsPanel", 16, 145, 0, 0, "Карта:", kBold, kSystem, kSystem, "",
     false, FormCommand::None},
    {Label, "applicationsLabel", "pageOptionsPanel", 16, 169, 640, 0,
     "----------------------------------------------------- Приложения: "
     "------------------------------------------------------",
     kBold, kSystem, kSystem, "", false, FormCommand::None},
    {Label, "carNumberLabel", "pageOptionsPanel", 180, 230, 0, 0, "номер", kCentred, kSystem,
     kSystem, "", false, FormCommand::None},
    {Label, "carRegionLabel", "pageOptionsPanel", 311, 230, 0, 0, "регион", kCentred, kSystem,
     kSystem, "", false, FormCommand::None},
    {Label, "certificateLabel", "pageOptionsPanel", 423, 230, 0, 0, "свид-во рег ТС", kCentred,
     kSystem, kSystem, "", false, FormCommand::None},
    {CheckBox, "CheckBox6", "pageOptionsPanel", 88, 45, 73, 17, "Windy", kRegular, kSystem, kSystem,
     "", true, FormCommand::None},
    {CheckBox, "CheckBox7", "pageOptionsPanel", 166, 45, 153, 17, " АэроДиаграмма", kRegular,
     kSystem, kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox8", "pageOptionsPanel", 323, 45, 81, 17, "Yandex", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox9", "pageOptionsPanel", 536, 45, 130, 17, " Карта ветров", kRegular,
     kSystem, kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox10", "pageOptionsPanel", 108, 95, 84, 17, "Google", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox11", "pageOptionsPanel", 199, 95, 86, 17, "Yandex", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox12", "pageOptionsPanel", 78, 145, 108, 17, "Термиков", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox13", "pageOptionsPanel", 16, 71, 110, 17, "нов. строка", kItalic, kOlive,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox14", "pageOptionsPanel", 16, 121, 110, 17, "нов. строка", kItalic, kOlive,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox16", "pageOptionsPanel", 16, 198, 166, 17, "Просмотр IGC и GPX ", kRegular,
     kSystem, kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox17", "pageOptionsPanel", 199, 198, 154, 17, "Конвертер треков", kRegular,
     kSystem, kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox18", "pageOptionsPanel", 368, 198, 177, 17, "Конвертер координат", kRegular,
     kSystem, kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox19", "pageOptionsPanel", 16, 230, 161, 17, "Проверка штрафов:", kRegular,
     kSystem, kSystem, "запишите данные вашего авто", true, FormCommand::None},
    {Edit, "Edit1", "pageOptionsPanel", 241, 226, 64, 24, "", kRegular, kSystem, kSystem, "", true,
     FormCommand::None},
    {Edit, "Edit2", "pageOptionsPanel", 380, 226, 37, 24, "", kRegular, kSystem, kSystem, "", true,
     FormCommand::None},
    {Edit, "Edit3", "pageOptionsPanel", 542, 226, 91, 24, "", kRegular, kSystem, kSystem, "", true,
     FormCommand::None},
    {CheckBox, "cRS", "pageOptionsPanel", 112, 15, 217, 17, "Раскрывающийся список",
     kBold | kItalic | kCaptionLeft, kMaroon, kSystem, "", true, FormCommand::None},
    {CheckBox, "cFI", "pageOptionsPanel", 446, 15, 99, 17, "Фильтр", kBold | kItalic | kCaptionLeft,
     kMaroon, kSystem, "", true, FormCommand::None},
    {CheckBox, "cRS2", "pageOptionsPanel", 338, 15, 87, 17, "открыт", kRegular, kMaroon, kSystem,
     "изначально открыт (развернут)", true, FormCommand::None},
    {CheckBox, "CheckBox20", "pageOptionsPanel", 419, 45, 105, 17, "Meteonova", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox21", "pageOptionsPanel", 199, 145, 84, 17, "Высот", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
};
constexpr ControlRow kHelpTextRow = {
    Memo, "helpText",           "", 0, 0, 729, 25, "", kRegular, kSystem, kHelpBackground, "",
    true, FormCommand::HideHelp};

// The panel's controls that take the focus, in keyboard order.
constexpr std::string_view kPanelKeyboardOrder[] = {
    "cRS",        "cRS2",       "cFI",        "CheckBox6",  "CheckBox7",  "CheckBox8",
    "CheckBox20", "CheckBox9",  "CheckBox13", "CheckBox10", "CheckBox11", "CheckBox14",
    "CheckBox12", "CheckBox21", "CheckBox16", "CheckBox17", "CheckBox18", "CheckBox19",
    "Edit1",      "Edit2",      "Edit3",
};

bool IsImportRow(const OperationRow& row) {
    const ConversionMode* mode = FindConversionMode(row.key);
    return mode != nullptr && mode->IsImport();
}

ControlRow OperationBox(const OperationRow& row, int top) {
    return {CheckBox,    row.key,  "",      24,      top, row.width, 17,
            row.caption, kRegular, kSystem, kSystem, "",  true,      FormCommand::None};
}

// The imports one below another, the separator, the exports, the
// page-options button beside the page's row and the panel below the last row.
std::vector<ControlRow> LaidOutControls() {
    std::vector<ControlRow> rows(std::begin(kTopControls), std::end(kTopControls));
    int top = kFirstOperationTop;
    for (const OperationRow& row : kOperations) {
        if (!IsImportRow(row)) continue;
        rows.push_back(OperationBox(row, top));
        top += kOperationStep;
    }
    const int separatorTop = top - kOperationStep + kSeparatorBelowImport;
    rows.push_back({Bevel, "operationsSeparator", "", 24, separatorTop, 680, 9, "", kRegular,
                    kSystem, kSystem, "", false, FormCommand::None});
    top = separatorTop + kExportBelowSeparator;
    for (const OperationRow& row : kOperations) {
        if (IsImportRow(row)) continue;
        rows.push_back(OperationBox(row, top));
        if (row.key == kPageOperation) {
            rows.push_back({SpeedButton, "pageOptionsButton", "", 548, top - kPageButtonAboveRow,
                            158, 25, "Доп. настройка HTM", kItalic, kSystem, kSystem, "", false,
                            FormCommand::TogglePanel});
        }
        top += kOperationStep;
    }
    ControlRow panel = kPanel;
    panel.top = top - kOperationStep + kPanelBelowExport;
    rows.push_back(panel);
    rows.insert(rows.end(), std::begin(kPanelControls), std::end(kPanelControls));
    rows.push_back(kHelpTextRow);
    return rows;
}

// The operations in the window's order, the help text, then the panel's controls.
std::vector<std::string_view> LaidOutKeyboardOrder() {
    std::vector<std::string_view> order;
    for (const bool imports : {true, false}) {
        for (const OperationRow& row : kOperations) {
            if (IsImportRow(row) == imports) order.push_back(row.key);
        }
    }
    order.push_back(kHelpTextRow.name);
    order.insert(order.end(), std::begin(kPanelKeyboardOrder), std::end(kPanelKeyboardOrder));
    return order;
}

}  // namespace

std::span<const OperationRow> OperationRows() {
    return kOperations;
}

std::span<const ControlRow> Controls() {
    static const std::vector<ControlRow> rows = LaidOutControls();
    return rows;
}

const ControlRow* FindControl(std::string_view name) {
    const auto controls = Controls();
    const auto found = std::ranges::find(controls, name, &ControlRow::name);
    return found == controls.end() ? nullptr : &*found;
}

std::span<const std::string_view> KeyboardOrder() {
    static const std::vector<std::string_view> order = LaidOutKeyboardOrder();
    return order;
}

}  // namespace oradel
