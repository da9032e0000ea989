// The names of the window's option controls, which are also the settings
// file's keys and the command line's --set names, each mapped to its typed
// option: one check box per operation (named in the mode table), then the
// web page's boxes and fields. This table is the only place where the
// engine's options meet those names.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "engine/options.hpp"

namespace oradel {

// One check box or edit field. Exactly one of the three members points at its
// option: an operation's box (a mode number), a box of the page options, or a
// text field.
struct OptionControl {
    std::string_view name;
    int mode = 0;
    bool PageOptions::*pageBox = nullptr;
    std::string PageOptions::*pageText = nullptr;

    bool IsCheckBox() const { return pageText == nullptr; }
    bool Ticked(const Options& options) const;
    void SetTicked(Options& options, bool ticked) const;
    // The edit field's text in Windows-1251.
    const std::string& Text(const Options& options) const;
    void SetText(Options& options, std::string windows1251Text) const;
};

// Every check box and edit field: the operations in job order, then the page
// options (the order of the keys in a settings file written from nothing).
std::span<const OptionControl> OptionControls();
// The control of that name (exact spelling), or nullptr.
const OptionControl* FindOptionControl(std::string_view name);

}  // namespace oradel
