// Names of outputs: each lies beside its input, named after it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace oradel {

struct ConversionMode;

// `name` with its extension (from the last dot after the last "\", "/" and
// ":") replaced by `extension`, which brings its own dot.
std::string ReplaceExtension(std::string_view name, std::string_view extension);
// The extension of `name` by the same rule, with its dot; empty for none.
std::string_view ExtensionOfName(std::string_view name);

// The output name of `mode` for the input `inputName` (UTF-8 or any ASCII-compatible text).
std::string OutputNameFor(const ConversionMode& mode, std::string_view inputName);
std::filesystem::path OutputNameFor(const ConversionMode& mode,
                                    const std::filesystem::path& inputName);

}  // namespace oradel
