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

class PointListReader {
  public:
    explicit PointListReader(TextInput& input) : input_(input) {}

    // Fills `record` with the next point; false when the list is over.
    bool Next(PointRecord& record);

  private:
    // The next line into `line_`, counting it.
    void ReadLine();
    // Moves the strings of `lines` to the spare pool and empties it.
    void Recycle(std::vector<std::string>& lines);
    // Takes the text of `line_` into a new last entry of `lines`, and gives
    // `line_` a spare string, so that steady reading allocates nothing.
    void MoveLineTo(std::vector<std::string>& lines);

    TextInput& input_;
    std::string line_;
    std::size_t lineNumber_ = 0;      // of the line in `line_`
    std::vector<std::string> spare_;  // emptied strings, kept for their capacity
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
