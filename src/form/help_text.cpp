#include "engine/conversion_modes.hpp"
#include "form/controls.hpp"
#include "form/form.hpp"
#include "oradel/build_info.hpp"

namespace oradel {
namespace {

// The lines above the version line.
constexpr std::string_view kTitle = R"help(

         Oradel для лётных программ XCTrack, LK8000
                и автонавигатора Navitel Navigator)help";
constexpr std::string_view kVersionIndent = "                         Версия ";
// The lines below the version line: what the imports do, what the exports
// make (each operation's line from the form's table), then the rest.
constexpr std::string_view kBeforeImports = "\n\n\n";
constexpr std::string_view kBeforeExports =
    "\n\nПозволяет из простого текстового файла легко создавать файлы импорта точек в:\n\n";
constexpr std::string_view kAfterOperations = R"help(

Кнопка "Проверить" (F7) проверяет список точек перед полётом: каждая ошибка с номером строки;
двойной щелчок по ней открывает список в текстовом редакторе.

Очень удобно иметь полную информацию о месте!

Не все могут создать это быстро и вообще создать, а текстовый файл создаст любой,
остальное сделает эта небольшая утилита.

текстовый формат можно подправить или создать свой, формат простой:
если перед именем точки строка начинается с ":" это заголовок раздела в HTM файле (необязательная строка)
- имя точки
- координаты, в десятичном формате через пробел
- несколько строк комментария, в формат WPT берется только первая строка,
- разделитель записей пустая строка

.HTM файл содержит название точек, координаты, погоду на старте, аэрологическую диаграмму,
старты на картах, термическую карту, карту высот и все строки комментария файла .TXT

Точки можно оформить в виде раскрывающегося списка (по умолчанию свернут, можно поставить открыт).
При клике на точке разворачиваются/сворачиваются (по кнопке "Вид" - все), точки видны более
компактно, опция включается по Вашему желанию в настройках.

В имя точки можно вставить фильтры, записываются в угловых скобках, через пробел,
пример: <Ю ЮВ> можно фильтровать точки например по направлению ветра.
В доп. настройках HTM поставить галочку "Фильтр", иначе он игнорируется.
Содержимое фильтра в заголовке не отображается.
Фильтры можно прибавлять кнопкой "+" (перед каждым прибавлением).
Или включить по кнопке "Все".

В заголовки и комментарий можно вставлять
 - гиперссылки, синтаксис: "[гиперссылка|название]"
 - набор номера телефона, синтаксис: "{номер телефона|название}"
   в номере телефона допускаются символы "+", "(", ")", " ", "-"
   не надо хранить местные телефоны в записной книжке

Данные опции действуют только на HTM файл.

В первую строку комментария нежелательно вставлять гиперссылки, т.к. она выводится в файлы WPT.






                       ЗАКРЫТЬ справку - КЛИКНИ по ней






)help";

// The help lines of the imports or of the exports, in the window's order, an
// empty line between them.
std::string OperationLines(bool imports) {
    std::string lines;
    for (const OperationRow& row : OperationRows()) {
        const ConversionMode* mode = FindConversionMode(row.key);
        if (mode == nullptr || mode->IsImport() != imports) continue;
        if (!lines.empty()) lines += "\n\n";
        lines += row.helpLine;
    }
    return lines;
}

}  // namespace

const std::string& HelpText() {
    static const std::string text = std::string(kTitle) + "\n" + std::string(kVersionIndent) +
                                    std::string(kVersion) + std::string(kBeforeImports) +
                                    OperationLines(true) + std::string(kBeforeExports) +
                                    OperationLines(false) + std::string(kAfterOperations);
    return text;
}

std::optional<std::string> WindowCommandLineAnswer(std::string_view argument, Language language) {
    if (argument == "--help" || argument == "-h") {
        return Message(MessageId::WindowUsage).Text(language);
    }
    if (argument == "--version") return "oradel " + std::string(kVersion) + "\n";
    return std::nullopt;
}

}  // namespace oradel
