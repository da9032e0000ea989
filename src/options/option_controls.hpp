// The names of the window's option controls, which are also the settings
// file's keys and the command line's --set names, each mapped to its typed
// option. This table is the only place where the engine's options meet those
// names.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "engine/options.hpp"

namespace oradel {

// One check box or edit field. Exactly one of the three members points at its
// option: an operation's box, a box of the page options, or a text field.
struct OptionControl {
    std::string_view name;
    bool Options::*operation = nullptr;
    bool PageOptions::*pageBox = nullptr;
    std::string PageOptions::*pageText = nullptr;

    bool IsCheckBox() const { return pageText == nullptr; }
    bool Ticked(const Options& options) const;
    void SetTicked(Options& options, bool ticked) const;
    // The edit field's text in Windows-1251.
    const std::string& Text(const Options& options) const;
    void SetText(Options& options, std::string ansiText) const;
};

// Every check box and edit field of the window, in creation order (the order
// of the keys in a settings file written from nothing).
std::span<const OptionControl> OptionControls();
// The control of that name (exact spelling), or nullptr.
const OptionControl* FindOptionControl(std::string_view name);
// The check box that selects an operation (a mode's `tickedBy`).
const OptionControl& OperationControl(bool Options::*operation);

}  // namespace oradel
