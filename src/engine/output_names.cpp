#include "engine/output_names.hpp"

#include "engine/conversion_modes.hpp"
#include "engine/files.hpp"

namespace oradel {

std::string_view ExtensionOfName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t separator = name.find_last_of("\\/:");
    if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) {
        return {};
    }
    return name.substr(dot);
}

std::string ReplaceExtension(std::string_view name, std::string_view extension) {
    std::string result(name.substr(0, name.size() - ExtensionOfName(name).size()));
    result += extension;
    return result;
}

std::string OutputNameFor(const ConversionMode& mode, std::string_view inputName) {
    std::string name = ReplaceExtension(inputName, mode.suffix);
    name += mode.extension;
    return name;
}

std::filesystem::path OutputNameFor(const ConversionMode& mode,
                                    const std::filesystem::path& inputName) {
    return PathFromText(OutputNameFor(mode, std::string_view(PathText(inputName))));
}

}  // namespace oradel
