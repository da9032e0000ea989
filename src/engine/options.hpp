// The option controls of the window, known to the engine by their names (the
// settings file uses the same names as keys), and the two small interfaces
// through which the engine reaches its front end.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace oradel {

enum class ControlKind { CheckBox, EditField };

struct ControlInfo {
    std::string_view name;
    ControlKind kind;
    bool tickedByDefault;  // check boxes only; edit fields start empty
};

// Every check box and edit field of the window, in creation order.
std::span<const ControlInfo> OptionControls();
// The control of that name (exact spelling), or nullptr.
const ControlInfo* FindOptionControl(std::string_view name);

// Answers option queries by control name at the moment a conversion needs them.
class OptionSource {
  public:
    virtual ~OptionSource() = default;
    virtual bool IsChecked(std::string_view checkBox) const = 0;
    // The field's text in Windows-1251.
    virtual std::string EditText(std::string_view editField) const = 0;
};

// Shows a message to the user (the window's message box, the console's stderr).
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // `text` is UTF-8.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace oradel
