#include "options/option_controls.hpp"

#include <vector>

#include "engine/conversion_modes.hpp"

namespace oradel {
namespace {

constexpr OptionControl PageBox(std::string_view name, bool PageOptions::*option) {
    return {name, 0, option, nullptr};
}
constexpr OptionControl PageText(std::string_view name, std::string PageOptions::*option) {
    return {name, 0, nullptr, option};
}

using P = PageOptions;
constexpr OptionControl kPageControls[] = {
    PageBox("CheckBox6", &P::windy),
    PageBox("CheckBox7", &P::soundingDiagram),
    PageBox("CheckBox8", &P::yandexNowcast),
    PageBox("CheckBox9", &P::windMap),
    PageBox("CheckBox10", &P::googleMap),
    PageBox("CheckBox11", &P::yandexMap),
    PageBox("CheckBox12", &P::thermalMap),
    PageBox("CheckBox13", &P::weatherLineBreak),
    PageBox("CheckBox14", &P::mapLineBreak),
    PageBox("CheckBox16", &P::trackViewer),
    PageBox("CheckBox17", &P::trackConverter),
    PageBox("CheckBox18", &P::coordinateConverter),
    PageBox("CheckBox19", &P::trafficFines),
    PageText("Edit1", &P::carNumber),
    PageText("Edit2", &P::carRegion),
    PageText("Edit3", &P::registrationCertificate),
    PageBox("cRS", &P::collapsible),
    PageBox("cFI", &P::filter),
    PageBox("cRS2", &P::startOpen),
    PageBox("CheckBox20", &P::meteonova),
    PageBox("CheckBox21", &P::heightMap),
};

std::vector<OptionControl> AllControls() {
    std::vector<OptionControl> controls;
    for (const ConversionMode& mode : ConversionModes()) {
        controls.push_back({mode.key, mode.number, nullptr, nullptr});
    }
    controls.insert(controls.end(), std::begin(kPageControls), std::end(kPageControls));
    return controls;
}

}  // namespace

bool OptionControl::Ticked(const Options& options) const {
    return mode != 0 ? options.operations.Has(mode) : options.page.*pageBox;
}

void OptionControl::SetTicked(Options& options, bool ticked) const {
    if (mode != 0) {
        options.operations.Set(mode, ticked);
    } else {
        options.page.*pageBox = ticked;
    }
}

const std::string& OptionControl::Text(const Options& options) const {
    return options.page.*pageText;
}

void OptionControl::SetText(Options& options, std::string windows1251Text) const {
    options.page.*pageText = std::move(windows1251Text);
}

std::span<const OptionControl> OptionControls() {
    static const std::vector<OptionControl> controls = AllControls();
    return controls;
}

const OptionControl* FindOptionControl(std::string_view name) {
    for (const OptionControl& control : OptionControls()) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

}  // namespace oradel
