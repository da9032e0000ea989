// The window's controls as one table that every view builds its widgets from:
// kind, object name, parent, position and size, caption, text style, colours,
// hint, focus and the command a click runs; the keyboard order; the help text.
// Lengths are pixels at 120 dots per inch of the window's client area; each
// view scales them to its screen. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace oradel {

enum class ControlType {
    SpeedButton,  // flat push button
    Label,
    Bevel,     // a sunken line along the top edge of its rectangle
    CheckBox,  //
    Panel,     // a frame with a raised outer and a lowered inner bevel; holds other controls
    Edit,      // single-line edit field
    Memo,      // multi-line read-only text with both scroll bars (the help text)
};

// What a click on a control (or a shortcut) asks the form to do.
enum class FormCommand {
    None,
    OpenFile,     // choose the input file
    ViewFile,     // show the input file with its associated program
    Convert,      // run the ticked operations
    CheckList,    // check the point list and list what is wrong, line by line
    OpenSite,     // the program's home page or its user guide
    ShowHelp,     // the help text over the whole client area
    HideHelp,     // hide the help text
    TogglePanel,  // show or hide the web-page options
};

// Bits of ControlRow::style.
enum TextStyle : unsigned {
    kRegular = 0,
    kBold = 1,
    kItalic = 2,
    kCaptionLeft = 4,  // check box with its caption left of the box
    kCentred = 8,      // label text centred in its width
};

struct Rgb {
    std::uint8_t red, green, blue;
};

struct ControlRow {
    ControlType type;
    std::string_view name;         // object name; for check boxes and edits also the settings key
    std::string_view parent;       // empty: the window's client area; else the panel's name
    int left, top, width, height;  // within the parent; width or height 0: fit the caption
    std::string_view caption;
    unsigned style;                 // TextStyle bits
    std::optional<Rgb> textColour;  // none: the system's
    std::optional<Rgb> background;  // none: the system's
    std::string_view hint;          // tooltip; empty: none
    bool takesFocus;                // speed buttons, labels, bevels and panels take none
    FormCommand click;              // what a click runs; None: nothing
};

// The check box of one operation, under its mode's key, with the line that
// the help text gives it. The window lists them in this table's order, the
// imports above the separator line and the exports below it.
struct OperationRow {
    std::string_view key;  // the mode's key (conversion_modes.cpp)
    std::string_view caption;
    int width;
    std::string_view helpLine;  // lines separated by "\n"
};
std::span<const OperationRow> OperationRows();

// Every control in creation order (a parent stands before its children),
// the operations' check boxes placed one below another.
std::span<const ControlRow> Controls();
// The control of that exact name, or nullptr.
const ControlRow* FindControl(std::string_view name);
// Names of the controls that take the keyboard focus, in keyboard order.
std::span<const std::string_view> KeyboardOrder();

// The controls the form addresses by name.
inline constexpr std::string_view kFileLabel = "fileLabel";
inline constexpr std::string_view kOptionsPanel = "pageOptionsPanel";
inline constexpr std::string_view kHelpText = "helpText";
inline constexpr std::string_view kPanelToggle = "pageOptionsButton";

// The window's title, which its message boxes carry too.
inline constexpr std::string_view kWindowTitle = "Oradel";

// The client area's width, and the font (MS Sans Serif 13 pixels high, with
// sans-serif fallbacks), at 120 dots per inch.
inline constexpr int kClientWidth = 738;
inline constexpr int kFontPixelHeight = 13;
inline constexpr std::string_view kFontFamilies[] = {"MS Sans Serif", "Microsoft Sans Serif",
                                                     "Liberation Sans", "Arial", "DejaVu Sans"};

// The help text, lines separated by "\n" (a view converts them as its toolkit needs).
const std::string& HelpText();

}  // namespace oradel
