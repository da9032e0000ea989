#include "engine/messages.hpp"

#include <cerrno>
#include <cstring>

namespace oradel {
namespace {

struct MessageText {
    MessageId id;
    std::string_view russian;
    std::string_view english;
};

using enum MessageId;

// In the order of MessageId; a static_assert below keeps it so.
constexpr MessageText kMessages[] = {
    {NoFile, "Нет файла {1}", "No file \"{1}\""},
    {NoFileToView, "Нет файла: {1}", "No file: {1}"},
    {NotARegularInput, "Не удаётся открыть файл «{1}». Это не обычный файл",
     "Cannot open file \"{1}\". Not a regular file"},
    {CannotOpenFile, "Не удаётся открыть файл «{1}». {2}", "Cannot open file \"{1}\". {2}"},
    {CannotCreateFile, "Не удаётся создать файл «{1}». {2}", "Cannot create file \"{1}\". {2}"},
    {CannotCreateReadOnly, "Не удаётся создать файл «{1}». Файл только для чтения.",
     "Cannot create file \"{1}\". The file is read-only."},
    {CannotCreateNotRegular, "Не удаётся создать файл «{1}». Это не обычный файл",
     "Cannot create file \"{1}\". Not a regular file"},
    {CannotCreatePlantedLink,
     "Не удаётся создать файл «{1}». Это ссылка другого пользователя в общей папке",
     "Cannot create file \"{1}\". It is another user's link in a shared folder"},
    {CannotWriteFile, "Не удаётся записать файл «{1}». {2}", "Cannot write to file \"{1}\". {2}"},
    {ReadError, "Ошибка чтения: {1}", "Read error: {1}"},
    {InputNotSeekable, "Ошибка чтения: входной файл нельзя прочитать дважды",
     "Read error: the input cannot be read twice"},
    {ReasonAccessDenied, "Нет доступа", "Permission denied"},
    {ReasonNoSuchFile, "Нет такого файла или папки", "No such file or directory"},
    {ReasonNoSpace, "Нет места на диске", "No space left on device"},
    {ReasonReadOnlyFileSystem, "Диск только для чтения", "Read-only file system"},
    {ReasonIsAFolder, "Это папка", "Is a directory"},
    {ReasonNotAFolder, "Часть пути не папка", "Not a directory"},
    {ReasonTooManyLinks, "Слишком много ссылок подряд", "Too many levels of symbolic links"},
    {ReasonNameTooLong, "Слишком длинное имя", "File name too long"},
    {ReasonFileTooLarge, "Файл слишком велик", "File too large"},
    {ReasonOther, "{1}", "{1}"},
    {OutputIsInput, "Файл «{1}» и есть входной файл; ничего не записано.",
     "The output \"{1}\" is the input file itself; nothing was written."},
    {OutOfMemory, "Не хватает памяти, чтобы конвертировать «{1}».",
     "Not enough memory to convert \"{1}\"."},
    {InternalError, "Конвертация «{1}» остановлена внутренней ошибкой; ничего не записано.",
     "The conversion of \"{1}\" stopped on an internal error; nothing was written."},
    {NotEnoughMemory, "Не хватает памяти.", "Not enough memory."},
    {ProgramFault, "Внутренняя ошибка программы: {1}", "Internal error of the program: {1}"},
    {NoWaypointsFound, "В «{1}» не найдено ни одной точки", "No waypoints found in \"{1}\""},
    {UnreadableEncoding,
     "Кодировку «{1}» файла {2} прочитать нельзя (можно UTF-8, ISO-8859-1, Windows-1252 и "
     "Windows-1251)",
     "The encoding \"{1}\" of {2} cannot be read (UTF-8, ISO-8859-1, Windows-1252 and "
     "Windows-1251 can)"},
    {NotANumber, "'{1}' — не число (строка {2} файла {3})",
     "'{1}' is not a valid floating point value (line {2} of {3})"},
    {NotACupCoordinate, "'{1}' — не координата SeeYou CUP (строка {2} файла {3})",
     "'{1}' is not a SeeYou CUP coordinate (line {2} of {3})"},
    {RecordTooLong,
     "Запись со строки {2} файла «{1}» длиннее {3} строк; записи списка разделяются пустой "
     "строкой. Ничего не записано.",
     "The record at line {2} of \"{1}\" is longer than {3} lines; the records of a list are "
     "separated by a blank line. Nothing was written."},
    {XmlMarkupTooLong, "Тег в строке {2} файла «{1}» длиннее {3} байт; ничего не записано.",
     "The tag at line {2} of \"{1}\" is longer than {3} bytes; nothing was written."},
    {TruncatedGpx, "Файл обрывается внутри точки: последняя точка пропущена",
     "The file ends inside a point: the last point is left out"},
    {ReplacedCharacters, "Символы, которых нет в кодировке Windows-1251, заменены: {1}",
     "Characters that Windows-1251 lacks were replaced: {1}"},
    {PointsLeftOut, "Не удалось прочитать координаты, точки пропущены:",
     "Coordinates could not be read, points left out:"},
    {MoreNames, "… и ещё {1}", "… and {1} more"},
    {ListExists,
     "Список «{1}» уже есть; ничего не записано. Добавьте --replace-lists, чтобы заменить его "
     "(прежний список сохранится как «{2}»).",
     "The point list \"{1}\" already exists; nothing was written. Add --replace-lists to replace "
     "it (the old list is kept as \"{2}\")."},
    {ReplaceListQuestion,
     "Список «{1}» уже есть. Заменить его? Прежний список сохранится как «{2}».",
     "The point list \"{1}\" already exists. Replace it? The old list will be kept as \"{2}\"."},
    {ListKeptAs, "Прежний список сохранён как «{1}».", "The old list is kept as \"{1}\"."},
    {ListUnchanged, "Список «{1}» не изменился.", "The point list \"{1}\" is unchanged."},
    {JobSkipped, "Пропущено: «{1}» не заменён.", "Skipped: \"{1}\" was not replaced."},
    {WrongWaypointFormat,
     "«{1}» — {2}; этот импорт читает файлы путевых точек XCTrack, LK8000 и OziExplorer.",
     "\"{1}\" is {2}; this import reads XCTrack, LK8000 and OziExplorer waypoint files."},
    {CompeGpsUtm, "В «{1}» точки заданы в UTM; этот импорт читает широту и долготу.",
     "\"{1}\" gives its points in UTM; this import reads latitude and longitude."},
    {NotAPointList, "«{1}» — {2}, а не список точек; ничего не записано.",
     "\"{1}\" is {2}, not a point list; nothing was written."},
    {NotXml, "«{1}» — {2}, а не файл GPX; ничего не записано.",
     "\"{1}\" is {2}, not a GPX file; nothing was written."},
    {NotACupFile, "«{1}» — {2}, а не файл SeeYou CUP; ничего не записано.",
     "\"{1}\" is {2}, not a SeeYou CUP file; nothing was written."},
    {FormatGeo, "файл путевых точек XCTrack (GEO)", "an XCTrack (GEO) waypoint file"},
    {FormatCompeGps, "файл путевых точек LK8000 (CompeGPS)", "an LK8000 (CompeGPS) waypoint file"},
    {FormatOzi, "файл путевых точек OziExplorer", "an OziExplorer waypoint file"},
    {FormatCup, "файл путевых точек SeeYou CUP", "a SeeYou CUP waypoint file"},
    {FormatGpx, "файл GPX", "a GPX file"},
    {FormatXml, "файл XML", "an XML file"},
    {FormatUtf16, "текст в кодировке UTF-16", "UTF-16 text"},
    {FormatBinary, "файл двоичных данных", "a file of binary data"},
    {FormatPlainText, "простой текст", "plain text"},
    {FormatPointList, "список точек", "a point list"},
    {FormatEmpty, "пустой файл", "an empty file"},
    {CheckEncoding, "Список прочитан в кодировке {1}", "The list is read as {1}"},
    {CheckMixedLineEnds, "Концы строк разные (CR LF, CR, LF): с этой строки другие",
     "Mixed line ends (CR LF, CR, LF): this line ends differently"},
    {CheckNulByte, "Байт NUL: это не текст", "A NUL byte: this is not text"},
    {CheckControlCharacter, "Управляющий символ {1} в тексте",
     "A control character {1} in the text"},
    {CheckHeadingWithoutPoint, "Под заголовком «{1}» нет точки",
     "The heading \"{1}\" has no point under it"},
    {CheckMisreadRecord,
     "Пустая строка под заголовком: эта строка прочитана как координаты, запись потеряна",
     "An empty line under a heading: this line is read as coordinates and the record is lost"},
    {CheckNoCoordinates,
     "У точки «{1}» нет строки координат: следующие строки прочитаны как её комментарий",
     "The point \"{1}\" has no coordinate line: the lines after it are read as its comments"},
    {CheckMissingLongitude, "Нет долготы после «{1}»", "The longitude is missing after \"{1}\""},
    {CheckLetterInCoordinate, "Буква в координате «{1}»", "A letter in the coordinate \"{1}\""},
    {CheckTwoSeparators, "Два десятичных разделителя в «{1}»", "Two decimal separators in \"{1}\""},
    {CheckNotANumber, "Координата «{1}» — не число", "The coordinate \"{1}\" is not a number"},
    {CheckFourthValue, "Лишнее значение после высоты: «{1}»",
     "A fourth value after the altitude: \"{1}\""},
    {CheckBadAltitude, "Третье значение «{1}» — не высота (число, м или ft)",
     "The third value \"{1}\" is no altitude (a number, m or ft)"},
    {CheckOutOfRange, "Координаты вне пределов (широта до ±90, долгота до ±180): {1}",
     "Coordinates out of range (latitude within ±90, longitude within ±180): {1}"},
    {CheckSwappedOutOfRange, "Широта и долгота, похоже, перепутаны: {1}",
     "Latitude and longitude look swapped: {1}"},
    {CheckSwappedInSection,
     "Широта и долгота, похоже, перепутаны: наоборот точка лежит рядом с остальными точками "
     "раздела",
     "Latitude and longitude look swapped: the other way round the point lies near the rest of "
     "its section"},
    {CheckFarFromSection, "Точка в {1} км от остальных точек раздела: опечатка в цифре?",
     "The point lies {1} km from the rest of its section: a mistyped digit?"},
    {CheckRepeatedPosition, "Те же координаты, что у «{1}» (строка {2})",
     "The same coordinates as \"{1}\" (line {2})"},
    {CheckImplausibleAltitude, "Высота {1} м неправдоподобна (ниже -450 м или выше 9000 м)",
     "An altitude of {1} m is not plausible (below -450 m or above 9,000 m)"},
    {CheckUnnamed, "Нет имени: точка будет названа {1}", "No name: the point is named {1}"},
    {CheckRepeatedName, "Имя «{1}» уже есть в строке {2}",
     "The name \"{1}\" is already used on line {2}"},
    {CheckUnclosedFilterTag, "Фильтр «<» без «>»: имя останется как написано",
     "A filter tag \"<\" without \">\": the name stays as written"},
    {CheckUnclosedMarkup, "Разметка «{1}» без «{2}»: на странице она выйдет искажённой",
     "Markup \"{1}\" without \"{2}\": the page shows it garbled"},
    {CheckScriptLink, "Адрес ссылки «{1}» — сценарий javascript:, а не адрес страницы",
     "The link address \"{1}\" is a javascript: script, not the address of a page"},
    {CheckLinkAddress, "Адрес ссылки «{1}» — не http(s), tel или mailto",
     "The link address \"{1}\" is not http(s), tel or mailto"},
    {CheckTransliterated, "LK8000 пишет имена латиницей: «{1}» становится «{2}»",
     "LK8000 writes names in Latin letters: \"{1}\" becomes \"{2}\""},
    {CheckLK8000Replaced, "LK8000: символы «{1}» будут записаны как «_»",
     "LK8000: the characters \"{1}\" are written as \"_\""},
    {CheckLK8000NameCut, "LK8000: имя обрезается до {1} символов: «{2}»",
     "LK8000: the name is cut to {1} characters: \"{2}\""},
    {CheckCupNameCut, "SeeYou CUP: имя обрезается до {1} байт: «{2}»",
     "SeeYou CUP: the name is cut to {1} bytes: \"{2}\""},
    {CheckDeviceNumbered,
     "{1}: «{2}» становится «{3}», как и «{4}» (строка {5}); файл даст ему номер",
     "{1}: \"{2}\" becomes \"{3}\", as does \"{4}\" (line {5}); the file gives it a number"},
    {CheckDeviceSameName, "{1}: «{2}» записывается как «{3}», так же как «{4}» (строка {5})",
     "{1}: \"{2}\" is written as \"{3}\", as is \"{4}\" (line {5})"},
    {CheckLK8000CommentCut, "LK8000: комментарий обрезается до {1} байт",
     "LK8000: the comment is cut to {1} bytes"},
    {CheckSummary, "Ошибок: {1}, предупреждений: {2}, заметок: {3}",
     "Errors: {1}, warnings: {2}, notes: {3}"},
    {CheckSeverityError, "ошибка", "error"},
    {CheckSeverityWarning, "предупреждение", "warning"},
    {CheckSeverityNote, "заметка", "note"},
    {CheckTitle, "Проверка списка", "List check"},
    {CheckColumnLine, "Строка", "Line"},
    {CheckColumnSeverity, "Важность", "Severity"},
    {CheckColumnText, "Что не так", "Problem"},
    {CheckClean, "В списке нет ни ошибок, ни предупреждений",
     "The list has no errors and no warnings"},
    {CheckOfferBeforeConvert, "В списке {1} ошибок. Показать?",
     "The list has {1} errors. Show them?"},
    {CheckClose, "Закрыть", "Close"},
    {ChooseFile, "Выберите файл, нажмите [Открыть]", "Choose a file: press [Open]"},
    {ChooseOperations, "Выберите операции", "Choose the operations"},
    {ConversionFinished, "Конвертация закончена", "Conversion finished"},
    {ConversionFinishedWithErrors, "Конвертация закончена с ошибками",
     "Conversion finished with errors"},
    {NoUserGuide, "Не найдено руководство пользователя {1}:\n{2}\n{3}",
     "User guide {1} not found:\n{2}\n{3}"},
    {UsageTryHelp, "Подробнее: 'oradel-convert --help'.", "Try 'oradel-convert --help'."},
    {UsageUnknownOption, "неизвестный параметр '{1}'", "unknown option '{1}'"},
    {UsageNeedsValue, "{1}: нужно значение", "{1} needs a value"},
    {UsageUnknownMode, "неизвестный режим '{1}' (есть {2})", "unknown mode '{1}' (use {2})"},
    {UsageNoInput, "не указан входной файл", "no input file given"},
    {UsageSetNeedsAssignment, "--set: нужно ИМЯ=ЗНАЧЕНИЕ", "--set needs NAME=VALUE"},
    {UsageUnknownControl, "неизвестный элемент настроек '{1}'", "unknown option control '{1}'"},
    {UsageCheckBoxValue, "--set {1}: только 0 или 1, не '{2}'",
     "--set {1} takes 0 or 1, not '{2}'"},
    {UsageUnknownExtension,
     "по расширению {1} не понять, какую конвертацию выполнить (нужно {2} или --mode)",
     "cannot tell the conversion from the extension of {1} (use {2}, or give --mode)"},
    {UsageSettingsNotFound, "нет файла настроек: {1}", "settings file not found: {1}"},
    {UsageSettingsIsFolder, "«{1}» — папка, а не файл настроек",
     "\"{1}\" is a folder, not a settings file"},
    {UsageNotASettingsFile, "«{1}» — не файл настроек", "\"{1}\" is not a settings file"},
    {UsageText,
     "Вызов: oradel-convert [--mode N]... [--replace-lists] [--settings ФАЙЛ]\n"
     "                      [--set ИМЯ=ЗНАЧЕНИЕ]... ФАЙЛ...\n"
     "       oradel-convert --check СПИСОК...\n"
     "\n"
     "Конвертирует файлы путевых точек через список точек Oradel. Результаты\n"
     "записываются рядом с каждым входным файлом.\n"
     "\n"
     "  --mode N           выполнить конвертацию N (можно несколько раз); задания\n"
     "                     всегда идут в порядке {1}:\n"
     "{2}"
     "                     Без --mode решает расширение:\n"
     "{3}"
     "  --replace-lists    разрешить импорту заменить существующий список точек\n"
     "                     (прежний сохраняется как СПИСОК.txt.bak)\n"
     "  --check            проверить списки точек: каждая ошибка с номером строки\n"
     "                     (ФАЙЛ:СТРОКА: error|warning|note: текст); ничего не пишет\n"
     "  --settings ФАЙЛ    взять настройки из файла настроек окна\n"
     "  --set ИМЯ=ЗНАЧЕНИЕ задать один элемент настроек по имени (cFI, CheckBox6,\n"
     "                     Edit1, ...); флажки принимают 1 или 0\n"
     "  --help             показать этот текст\n"
     "  --version          показать версию\n"
     "\n"
     "Код выхода: 0 все задания закончены, 1 файл не прочитан или задание не\n"
     "удалось (остальные задания пропускаются), 2 ошибка в вызове. С --check: 0 нет\n"
     "ошибок, 1 есть ошибки или список не прочитан.\n",
     "Usage: oradel-convert [--mode N]... [--replace-lists] [--settings FILE]\n"
     "                      [--set NAME=VALUE]... FILE...\n"
     "       oradel-convert --check LIST...\n"
     "\n"
     "Converts waypoint files through the Oradel point list. Outputs are written\n"
     "beside each input.\n"
     "\n"
     "  --mode N           run conversion N (repeatable); jobs always run in the\n"
     "                     order {1}:\n"
     "{2}"
     "                     Without --mode the extension decides:\n"
     "{3}"
     "  --replace-lists    let an import replace an existing point list (the old\n"
     "                     one is kept as LIST.txt.bak)\n"
     "  --check            check point lists: every problem with its line number\n"
     "                     (FILE:LINE: error|warning|note: text); writes nothing\n"
     "  --settings FILE    read the options from a settings file of the window\n"
     "  --set NAME=VALUE   set one option by its control name (cFI, CheckBox6,\n"
     "                     Edit1, ...); check boxes take 1 or 0\n"
     "  --help             show this text\n"
     "  --version          show the version\n"
     "\n"
     "Exit status: 0 all jobs ended normally, 1 a file could not be read or a\n"
     "job failed (the remaining jobs are skipped), 2 a usage error. With --check: 0\n"
     "no errors, 1 errors found or a list could not be read.\n"},
    {UsageModeLine, "                       {1} {2}\n", "                       {1} {2}\n"},
    {UsageExtensionRuns, "                       {1} запускает {2}\n",
     "                       {1} runs {2}\n"},
    {JobsNotDone, "Не выполнено заданий: {1} из {2}", "Jobs not done: {1} of {2}"},
    {NoDisplay, "oradel: нет экрана для окна (не задан DISPLAY или WAYLAND_DISPLAY)",
     "oradel: no display to show the window on (DISPLAY or WAYLAND_DISPLAY is not set)"},
    {WindowUsage,
     "Вызов: oradel [ФАЙЛ]\n"
     "Открывает окно Oradel; ФАЙЛ сразу выбран в нём.\n"
     "  --help     показать этот текст\n"
     "  --version  показать версию\n",
     "Usage: oradel [FILE]\n"
     "Opens the Oradel window with FILE chosen in it.\n"
     "  --help     show this text\n"
     "  --version  show the version\n"},
    {ModeImportXCTrack, "точки XCTrack, LK8000, Ozi (.wpt) -> список точек (.txt)",
     "XCTrack, LK8000, Ozi waypoints (.wpt) -> point list (.txt)"},
    {ModeImportNavitel, "экспорт Navitel GPX (.gpx)    -> список точек (_nav.txt)",
     "Navitel GPX export (.gpx)    -> point list (_nav.txt)"},
    {ModeImportCup, "SeeYou CUP (.cup)             -> список точек (.txt)",
     "SeeYou CUP (.cup)            -> point list (.txt)"},
    {ModeWriteXCTrack, "список точек -> точки XCTrack (.wpt, UTF-8)",
     "point list -> XCTrack waypoints (.wpt, UTF-8)"},
    {ModeWriteNavitel, "список точек -> точки Navitel (_nav.wpt)",
     "point list -> Navitel waypoints (_nav.wpt)"},
    {ModeWriteWebPage, "список точек -> веб-страница (.htm)", "point list -> web page (.htm)"},
    {ModeWriteLK8000, "список точек -> точки LK8000 (_lk8.wpt)",
     "point list -> LK8000 waypoints (_lk8.wpt)"},
    {ModeWriteCup, "список точек -> точки SeeYou CUP (.cup)",
     "point list -> SeeYou CUP waypoints (.cup)"},
    {ModeWriteGpx, "список точек -> точки GPX (_wpt.gpx)",
     "point list -> GPX waypoints (_wpt.gpx)"},
    {ModeWriteKml, "список точек -> метки KML (.kml)", "point list -> KML placemarks (.kml)"},
};

constexpr bool InMessageIdOrder() {
    for (std::size_t index = 0; index < std::size(kMessages); ++index) {
        if (static_cast<std::size_t>(kMessages[index].id) != index) return false;
    }
    return std::size(kMessages) == static_cast<std::size_t>(MessageId::Count);
}
static_assert(InMessageIdOrder(), "every MessageId has one row, in the enum's order");

// `pattern` with "{N}" replaced by the Nth argument in `language`.
std::string Fill(std::string_view pattern, const std::vector<MessageArgument>& arguments,
                 Language language) {
    std::string text;
    for (std::size_t pos = 0; pos < pattern.size(); ++pos) {
        const bool placeholder = pattern[pos] == '{' && pos + 2 < pattern.size() &&
                                 pattern[pos + 1] >= '1' && pattern[pos + 1] <= '9' &&
                                 pattern[pos + 2] == '}';
        const std::size_t index = placeholder ? std::size_t(pattern[pos + 1] - '1') : 0;
        if (placeholder && index < arguments.size()) {
            text += arguments[index].Text(language);
            pos += 2;
        } else {
            text += pattern[pos];
        }
    }
    return text;
}

}  // namespace

MessageArgument::MessageArgument(const Message& message)
    : russian_(message.Text(Language::Russian)), english_(message.Text(Language::English)) {}

Message::Message(MessageId id, const std::vector<MessageArgument>& arguments)
    : id_(id),
      russian_(Fill(kMessages[static_cast<std::size_t>(id)].russian, arguments, Language::Russian)),
      english_(
          Fill(kMessages[static_cast<std::size_t>(id)].english, arguments, Language::English)) {}

Message& Message::Append(const Message& line) {
    russian_ += '\n' + line.Text(Language::Russian);
    english_ += '\n' + line.Text(Language::English);
    return *this;
}

Message& Message::AppendLine(std::string_view text) {
    russian_ += '\n';
    russian_ += text;
    english_ += '\n';
    english_ += text;
    return *this;
}

Message ReasonOf(int errorNumber) {
    switch (errorNumber) {
        case EACCES:
            return Message(ReasonAccessDenied);
        case ENOENT:
            return Message(ReasonNoSuchFile);
        case ENOSPC:
            return Message(ReasonNoSpace);
        case EROFS:
            return Message(ReasonReadOnlyFileSystem);
        case EISDIR:
            return Message(ReasonIsAFolder);
        case ENOTDIR:
            return Message(ReasonNotAFolder);
#ifdef ELOOP
        case ELOOP:
            return Message(ReasonTooManyLinks);
#endif
        case ENAMETOOLONG:
            return Message(ReasonNameTooLong);
        case EFBIG:
            return Message(ReasonFileTooLarge);
        default:
            return Message(ReasonOther, {std::strerror(errorNumber)});
    }
}

Message ReasonOf(const std::error_code& error) {
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == std::generic_category()) return ReasonOf(condition.value());
    return Message(ReasonOther, {error.message()});
}

}  // namespace oradel
