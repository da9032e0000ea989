#include "engine/options.hpp"

#include <array>

namespace oradel {
namespace {

constexpr ControlInfo Box(std::string_view name, bool ticked = true) {
    return {name, ControlKind::CheckBox, ticked};
}
constexpr ControlInfo Edit(std::string_view name) {
    return {name, ControlKind::EditField, false};
}

constexpr std::array kControls = {
    Box("CheckBox4"),  Box("CheckBox3"),  Box("CheckBox5"),  Box("CheckBox2"),   Box("CheckBox1"),
    Box("CheckBox6"),  Box("CheckBox7"),  Box("CheckBox8"),  Box("CheckBox9"),   Box("CheckBox10"),
    Box("CheckBox11"), Box("CheckBox12"), Box("CheckBox13"), Box("CheckBox14"),  Box("CheckBox16"),
    Box("CheckBox17"), Box("CheckBox18"), Box("CheckBox19"), Edit("Edit1"),      Edit("Edit2"),
    Edit("Edit3"),     Box("cRS"),        Box("cFI"),        Box("cRS2", false), Box("CheckBox20"),
    Box("CheckBox21"), Box("CheckBox15"),
};

}  // namespace

std::span<const ControlInfo> OptionControls() {
    return kControls;
}

const ControlInfo* FindOptionControl(std::string_view name) {
    for (const ControlInfo& control : kControls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

}  // namespace oradel
