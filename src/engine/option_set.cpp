#include "engine/option_set.hpp"

#include <stdexcept>

namespace oradel {
namespace {

const ControlInfo& ControlOfKind(std::string_view name, ControlKind kind) {
    const ControlInfo* control = FindOptionControl(name);
    if (control == nullptr || control->kind != kind) {
        throw std::invalid_argument("unknown option control: " + std::string(name));
    }
    return *control;
}

}  // namespace

OptionSet::OptionSet() {
    for (const ControlInfo& control : OptionControls()) {
        if (control.kind == ControlKind::CheckBox) {
            ticked_.emplace(control.name, control.tickedByDefault);
        } else {
            texts_.emplace(control.name, std::string());
        }
    }
}

bool OptionSet::IsChecked(std::string_view checkBox) const {
    ControlOfKind(checkBox, ControlKind::CheckBox);
    return ticked_.find(checkBox)->second;
}

std::string OptionSet::EditText(std::string_view editField) const {
    ControlOfKind(editField, ControlKind::EditField);
    return texts_.find(editField)->second;
}

void OptionSet::SetChecked(std::string_view checkBox, bool ticked) {
    ticked_[std::string(ControlOfKind(checkBox, ControlKind::CheckBox).name)] = ticked;
}

void OptionSet::SetEditText(std::string_view editField, std::string ansiText) {
    texts_[std::string(ControlOfKind(editField, ControlKind::EditField).name)] =
        std::move(ansiText);
}

}  // namespace oradel
