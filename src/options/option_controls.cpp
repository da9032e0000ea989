#include "options/option_controls.hpp"

#include <array>
#include <stdexcept>

namespace oradel {
namespace {

constexpr OptionControl Operation(std::string_view name, bool Options::*option) {
    return {name, option, nullptr, nullptr};
}
constexpr OptionControl PageBox(std::string_view name, bool PageOptions::*option) {
    return {name, nullptr, option, nullptr};
}
constexpr OptionControl PageText(std::string_view name, std::string PageOptions::*option) {
    return {name, nullptr, nullptr, option};
}

using P = PageOptions;
constexpr std::array kControls = {
    Operation("CheckBox4", &Options::writeWebPage),
    Operation("CheckBox3", &Options::writeNavitelWaypoints),
    Operation("CheckBox5", &Options::writeLK8000Waypoints),
    Operation("CheckBox2", &Options::writeXCTrackWaypoints),
    Operation("CheckBox1", &Options::importXCTrackExport),
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
    Operation("CheckBox15", &Options::importNavitelGpx),
};

}  // namespace

bool OptionControl::Ticked(const Options& options) const {
    return operation != nullptr ? options.*operation : options.page.*pageBox;
}

void OptionControl::SetTicked(Options& options, bool ticked) const {
    (operation != nullptr ? options.*operation : options.page.*pageBox) = ticked;
}

const std::string& OptionControl::Text(const Options& options) const {
    return options.page.*pageText;
}

void OptionControl::SetText(Options& options, std::string ansiText) const {
    options.page.*pageText = std::move(ansiText);
}

std::span<const OptionControl> OptionControls() {
    return kControls;
}

const OptionControl* FindOptionControl(std::string_view name) {
    for (const OptionControl& control : kControls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

const OptionControl& OperationControl(bool Options::*operation) {
    for (const OptionControl& control : kControls) {
        if (control.operation == operation) return control;
    }
    throw std::logic_error("an operation without a check box");
}

}  // namespace oradel
