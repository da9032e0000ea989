#include "form/controls.hpp"

#include <algorithm>
#include <array>

namespace oradel {
namespace {

using enum ControlType;
constexpr std::optional<Rgb> kSystem;
constexpr std::optional<Rgb> kNavy = Rgb{0x00, 0x00, 0x80};
constexpr std::optional<Rgb> kOlive = Rgb{0x80, 0x80, 0x00};
constexpr std::optional<Rgb> kMaroon = Rgb{0x80, 0x00, 0x00};
// Very light yellow, colour value 15925246.
constexpr std::optional<Rgb> kHelpBackground = Rgb{254, 255, 242};

// Kind, name, parent, left, top, width, height, caption, style, text colour,
// background, hint, takes focus, click.
constexpr ControlRow kControls[] = {
    {SpeedButton, "SpeedButton1", "", 24, 56, 89, 25, "Открыть ", kBold, kNavy, kSystem, "", false,
     FormCommand::OpenFile},
    {SpeedButton, "SpeedButton2", "", 296, 56, 105, 25, "Просмотр", kBold, kNavy, kSystem, "",
     false, FormCommand::ViewFile},
    {Label, "Label1", "", 24, 24, 0, 0, "Файл:", kBold, kNavy, kSystem, "", false,
     FormCommand::None},
    {SpeedButton, "SpeedButton3", "", 128, 56, 153, 25, "Конвертировать", kBold, kNavy, kSystem, "",
     false, FormCommand::Convert},
    {Label, "Label2", "", 24, 113, 0, 0, "Выберите операции:", kBold, kNavy, kSystem, "", false,
     FormCommand::None},
    {SpeedButton, "SpeedButton4", "", 640, 56, 66, 25, "Сайт", kRegular, kSystem, kSystem, "",
     false, FormCommand::OpenSite},
    {SpeedButton, "SpeedButton5", "", 494, 56, 131, 25, "О Программе", kRegular, kSystem, kSystem,
     "", false, FormCommand::ShowHelp},
    {SpeedButton, "SpeedButton6", "", 548, 335, 158, 25, "Доп. настройка HTM", kItalic, kSystem,
     kSystem, "", false, FormCommand::TogglePanel},
    {Bevel, "Bevel1", "", 24, 215, 680, 9, "", kRegular, kSystem, kSystem, "", false,
     FormCommand::None},
    {CheckBox, "CheckBox4", "", 24, 339, 521, 17,
     "Из текстового файла .TXT в .HTM файл для сайта или телефона     (UTF-8)", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox3", "", 24, 305, 697, 17,
     "Из текстового файла .TXT в файл импорта автонавигатора Navitel Navigator формата .WPT    "
     "(ANSI)",
     kRegular, kSystem, kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox5", "", 24, 272, 657, 17,
     "Из текстового файла .TXT в файл путевых точек (waypoints) формата .WPT для LK8000    (ANSI)",
     kRegular, kSystem, kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox2", "", 24, 238, 561, 17,
     "Из текстового файла .TXT в файл импорта формата .WPT для XCTrack    (UTF-8)", kRegular,
     kSystem, kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox1", "", 24, 144, 500, 17,
     "Из экспорта XCTrack формата .WPT в текстовый формат .TXT    (ANSI)", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {Panel, "Panel1", "", 24, 374, 681, 267, "", kRegular, kSystem, kSystem, "", false,
     FormCommand::None},
    {Label, "Label3", "Panel1", 15, 45, 0, 0, "Погода:", kBold, kSystem, kSystem, "", false,
     FormCommand::None},
    {Label, "Label4", "Panel1", 16, 95, 0, 0, "На карте:", kBold, kSystem, kSystem, "", false,
     FormCommand::None},
    {Label, "Label5", "Panel1", 16, 145, 0, 0, "Карта:", kBold, kSystem, kSystem, "", false,
     FormCommand::None},
    {Label, "Label6", "Panel1", 16, 169, 640, 0,
     "----------------------------------------------------- Приложения: "
     "------------------------------------------------------",
     kBold, kSystem, kSystem, "", false, FormCommand::None},
    {Label, "Label7", "Panel1", 180, 230, 0, 0, "номер", kCentred, kSystem, kSystem, "", false,
     FormCommand::None},
    {Label, "Label8", "Panel1", 311, 230, 0, 0, "регион", kCentred, kSystem, kSystem, "", false,
     FormCommand::None},
    {Label, "Label9", "Panel1", 423, 230, 0, 0, "свид-во рег ТС", kCentred, kSystem, kSystem, "",
     false, FormCommand::None},
    {CheckBox, "CheckBox6", "Panel1", 88, 45, 73, 17, "Windy", kRegular, kSystem, kSystem, "", true,
     FormCommand::None},
    {CheckBox, "CheckBox7", "Panel1", 166, 45, 153, 17, " АэроДиаграмма", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox8", "Panel1", 323, 45, 81, 17, "Yandex", kRegular, kSystem, kSystem, "",
     true, FormCommand::None},
    {CheckBox, "CheckBox9", "Panel1", 536, 45, 130, 17, " Карта ветров", kRegular, kSystem, kSystem,
     "", true, FormCommand::None},
    {CheckBox, "CheckBox10", "Panel1", 108, 95, 84, 17, "Google", kRegular, kSystem, kSystem, "",
     true, FormCommand::None},
    {CheckBox, "CheckBox11", "Panel1", 199, 95, 86, 17, "Yandex", kRegular, kSystem, kSystem, "",
     true, FormCommand::None},
    {CheckBox, "CheckBox12", "Panel1", 78, 145, 108, 17, "Термиков", kRegular, kSystem, kSystem, "",
     true, FormCommand::None},
    {CheckBox, "CheckBox13", "Panel1", 16, 71, 110, 17, "нов. строка", kItalic, kOlive, kSystem, "",
     true, FormCommand::None},
    {CheckBox, "CheckBox14", "Panel1", 16, 121, 110, 17, "нов. строка", kItalic, kOlive, kSystem,
     "", true, FormCommand::None},
    {CheckBox, "CheckBox16", "Panel1", 16, 198, 166, 17, "Просмотр IGC и GPX ", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox17", "Panel1", 199, 198, 154, 17, "Конвертер треков", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox18", "Panel1", 368, 198, 177, 17, "Конвертер координат", kRegular, kSystem,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "CheckBox19", "Panel1", 16, 230, 161, 17, "Проверка штрафов:", kRegular, kSystem,
     kSystem, "запишите данные вашего авто", true, FormCommand::None},
    {Edit, "Edit1", "Panel1", 241, 226, 64, 24, "", kRegular, kSystem, kSystem, "", true,
     FormCommand::None},
    {Edit, "Edit2", "Panel1", 380, 226, 37, 24, "", kRegular, kSystem, kSystem, "", true,
     FormCommand::None},
    {Edit, "Edit3", "Panel1", 542, 226, 91, 24, "", kRegular, kSystem, kSystem, "", true,
     FormCommand::None},
    {CheckBox, "cRS", "Panel1", 112, 15, 217, 17, "Раскрывающийся список",
     kBold | kItalic | kCaptionLeft, kMaroon, kSystem, "", true, FormCommand::None},
    {CheckBox, "cFI", "Panel1", 446, 15, 99, 17, "Фильтр", kBold | kItalic | kCaptionLeft, kMaroon,
     kSystem, "", true, FormCommand::None},
    {CheckBox, "cRS2", "Panel1", 338, 15, 87, 17, "открыт", kRegular, kMaroon, kSystem,
     "изначально открыт (развернут)", true, FormCommand::None},
    {CheckBox, "CheckBox20", "Panel1", 419, 45, 105, 17, "Meteonova", kRegular, kSystem, kSystem,
     "", true, FormCommand::None},
    {CheckBox, "CheckBox21", "Panel1", 199, 145, 84, 17, "Высот", kRegular, kSystem, kSystem, "",
     true, FormCommand::None},
    {CheckBox, "CheckBox15", "", 24, 178, 561, 17,
     "Из экспорта Navitel Navigator формата .GPX  в текстовый формат .TXT    (ANSI)", kRegular,
     kSystem, kSystem, "", true, FormCommand::None},
    {Memo, "Memo1", "", 0, 0, 729, 25, "", kRegular, kSystem, kHelpBackground, "", true,
     FormCommand::HideHelp},
};

// The window's controls, then those of Panel1.
constexpr std::array<std::string_view, 28> kKeyboardOrder = {
    "CheckBox1",  "CheckBox15", "CheckBox2",  "CheckBox5",  "CheckBox3",  "CheckBox4",
    "Memo1",      "cRS",        "cRS2",       "cFI",        "CheckBox6",  "CheckBox7",
    "CheckBox8",  "CheckBox20", "CheckBox9",  "CheckBox13", "CheckBox10", "CheckBox11",
    "CheckBox14", "CheckBox12", "CheckBox21", "CheckBox16", "CheckBox17", "CheckBox18",
    "CheckBox19", "Edit1",      "Edit2",      "Edit3",
};

}  // namespace

std::span<const ControlRow> Controls() {
    return kControls;
}

const ControlRow* FindControl(std::string_view name) {
    const auto found = std::ranges::find(kControls, name, &ControlRow::name);
    return found == std::end(kControls) ? nullptr : &*found;
}

std::span<const std::string_view> KeyboardOrder() {
    return kKeyboardOrder;
}

}  // namespace oradel
