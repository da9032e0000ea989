// Reads the point list: records of optional ":heading" lines, a name line, a
// coordinate line and comment lines, separated by blank lines.
#pragma once

#include <string>
#include <vector>

#include "engine/text_input.hpp"

namespace oradel {

struct PointRecord {
    std::vector<std::string> headings;  // without their ':'
    std::string name;                   // as read, filter tag included
    std::string latText;
    std::string lonText;
    std::vector<std::string> comments;  // as read
    bool closedByBlank = true;          // false when the input ended on the last comment
    std::string closingLine;            // the blank line that closed the record, as read
    // The name's line in the list, from 1: the headings stand on the lines
    // just above it, the coordinates on the next line, the comments below.
    std::size_t nameLine = 0;
};

// The most heading and comment lines a record holds together: a list whose
// blank lines are missing would otherwise be held whole as one record.
inline constexpr std::size_t kMaxRecordLines = 10'000;

class PointListReader {
  public:
    explicit PointListReader(TextInput& input) : input_(input) {}

    // Fills `record` with the next point; false when the list is over.
    // Throws UserError for a record of more than kMaxRecordLines lines.
    bool Next(PointRecord& record);

  private:
    TextInput& input_;
    std::string line_;
};

// The name that a point without one gets in the list and in the waypoint
// files, so that no name line is blank: WPT001, WPT002, ... for the 1st, 2nd,
// ... such point (more digits past 999).
std::string UnnamedPointName(unsigned number);

// True for a line that is empty after trimming.
bool IsBlankLine(std::string_view line);
// Splits a coordinate line into its latitude and longitude texts.
void SplitCoordinates(std::string_view line, std::string& latText, std::string& lonText);

}  // namespace oradel
