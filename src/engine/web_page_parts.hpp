// Pieces of the mode-4 page shared by its source files. Every function writes
// finished UTF-8 lines; Windows-1251 text from the list or the window is
// converted where it is put into a line.
#pragma once

#include <string>
#include <string_view>

#include "engine/options.hpp"
#include "engine/text_output.hpp"

namespace oradel::web_page {

// The weather, map and terrain link lines of one point; the coordinate texts
// are UTF-8. `line` is scratch space reused from point to point.
void WriteLinkLines(TextOutput& out, const PageOptions& options, std::string_view lat,
                    std::string_view lon, std::string& line);

// The block of links to track and car services, when one of them is chosen.
void WriteApplications(TextOutput& out, const PageOptions& options);

// Everything after the last point block: the filter script, the applications
// block and the closing tags.
void WritePageEnd(TextOutput& out, const PageOptions& options);

}  // namespace oradel::web_page
