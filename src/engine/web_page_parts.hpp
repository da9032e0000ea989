// Pieces of the mode-4 page shared by its source files. Every function writes
// finished UTF-8 lines; Windows-1251 text from the list or the window is
// converted where it is put into a line.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/options.hpp"
#include "engine/text_output.hpp"

namespace oradel::web_page {

// Stands in the button bar until the filter words are known.
inline constexpr std::string_view kFilterPlaceholder = "==--- filter-Selection ---==";

// One entry per box of the point links, in the order of the link table: each
// group's links, then whether the group ends with "<br>".
inline constexpr std::size_t kLinkBoxCount = 12;
using LinkBoxes = std::array<bool, kLinkBoxCount>;

// The boxes the page reads for every point, taken once when the page starts.
// A conversion blocks the window, so its controls cannot change while a page
// is written, and asking for them by name at every point would cost more than
// writing the point.
struct PageBoxes {
    bool filter = false;       // cFI: filter buttons and point divisions
    bool collapsible = false;  // cRS: points in collapsible blocks
    bool startOpen = false;    // cRS2: the blocks start open
    LinkBoxes links{};
};

PageBoxes ReadPageBoxes(const OptionSource& options);
LinkBoxes ReadLinkBoxes(const OptionSource& options);

// The weather, map and terrain link lines of one point; the coordinate texts
// are UTF-8. `line` is scratch space reused from point to point.
void WriteLinkLines(TextOutput& out, const LinkBoxes& boxes, std::string_view lat,
                    std::string_view lon, std::string& line);

// The block of links to track and car services, when one of its boxes is ticked.
void WriteApplications(TextOutput& out, const OptionSource& options);

// Everything after the last point block: the filter script, the applications
// block and the closing tags.
void WritePageEnd(TextOutput& out, const OptionSource& options, const PageBoxes& boxes);

}  // namespace oradel::web_page
