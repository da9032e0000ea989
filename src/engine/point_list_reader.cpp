#include "engine/point_list_reader.hpp"

#include "engine/errors.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

bool IsHeadingLine(std::string_view line) {
    const std::string_view trimmed = TrimView(line);
    return !trimmed.empty() && trimmed.front() == ':';
}

}  // namespace

std::string UnnamedPointName(unsigned number) {
    const std::string digits = std::to_string(number);
    return "WPT" + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

bool IsBlankLine(std::string_view line) {
    return TrimView(line).empty();
}

void SplitCoordinates(std::string_view line, std::string& latText, std::string& lonText) {
    const std::string_view trimmed = TrimView(line);
    const std::size_t space = trimmed.find(' ');
    if (space == std::string_view::npos) {
        latText.assign(trimmed);
        lonText.clear();
        return;
    }
    latText.assign(trimmed.substr(0, space));
    lonText.assign(TrimView(trimmed.substr(space + 1)));
}

// Example record:
//   :Кавказ
//   Холм Ветров <Ю ЮЗ>
//   44.1234 42.5678
//   Старт с юга, ветер Ю
//   (blank line)
bool PointListReader::Next(PointRecord& record) {
    do {
        if (input_.AtEnd()) return false;
        input_.ReadLine(line_);
    } while (IsBlankLine(line_));

    const std::size_t firstLine = input_.LineNumber();
    // Lines are moved, not copied: one long line is held once.
    const auto keep = [&](std::vector<std::string>& lines, std::string&& line) {
        if (record.headings.size() + record.comments.size() == kMaxRecordLines) {
            throw UserError(Message(MessageId::RecordTooLong,
                                    {input_.DisplayName(), firstLine, kMaxRecordLines}));
        }
        lines.push_back(std::move(line));
    };
    record.headings.clear();
    record.comments.clear();
    while (IsHeadingLine(line_)) {
        keep(record.headings, std::string(TrimView(line_).substr(1)));  // without its ':'
        input_.ReadLine(line_);
    }
    record.name.swap(line_);
    record.nameLine = input_.LineNumber();

    input_.ReadLine(line_);
    SplitCoordinates(line_, record.latText, record.lonText);

    input_.ReadLine(line_);
    while (!IsBlankLine(line_) && !input_.AtEnd()) {
        keep(record.comments, std::move(line_));
        input_.ReadLine(line_);
    }
    record.closedByBlank = IsBlankLine(line_);
    if (record.closedByBlank) {
        record.closingLine.swap(line_);
    } else {
        keep(record.comments, std::move(line_));
        record.closingLine.clear();
    }
    return true;
}

}  // namespace oradel
