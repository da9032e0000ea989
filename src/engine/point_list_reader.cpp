#include "engine/point_list_reader.hpp"

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

void PointListReader::ReadLine() {
    input_.ReadLine(line_);
    ++lineNumber_;
}

void PointListReader::Recycle(std::vector<std::string>& lines) {
    for (std::string& line : lines) {
        line.clear();
        spare_.push_back(std::move(line));
    }
    lines.clear();
}

void PointListReader::MoveLineTo(std::vector<std::string>& lines) {
    lines.push_back(std::move(line_));
    if (spare_.empty()) {
        line_ = std::string();
    } else {
        line_ = std::move(spare_.back());
        spare_.pop_back();
    }
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
        ReadLine();
    } while (IsBlankLine(line_));

    Recycle(record.headings);
    while (IsHeadingLine(line_)) {
        // The heading is the trimmed line without its ':'; cut it out in place.
        const std::string_view heading = TrimView(line_).substr(1);
        const auto start = static_cast<std::size_t>(heading.data() - line_.data());
        line_.resize(start + heading.size());
        line_.erase(0, start);
        MoveLineTo(record.headings);
        ReadLine();
    }
    record.name.swap(line_);
    record.nameLine = lineNumber_;

    ReadLine();
    SplitCoordinates(line_, record.latText, record.lonText);

    Recycle(record.comments);
    ReadLine();
    while (!IsBlankLine(line_) && !input_.AtEnd()) {
        MoveLineTo(record.comments);
        ReadLine();
    }
    record.closedByBlank = IsBlankLine(line_);
    if (record.closedByBlank) {
        record.closingLine.swap(line_);
    } else {
        MoveLineTo(record.comments);
        record.closingLine.clear();
    }
    return true;
}

}  // namespace oradel
