// Runs an independent tool through the shell for the interop tests; the
// tool's path is ORADEL_TOOL, as CMake found it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/test_support.hpp"

namespace oradel::testing {

inline std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// What `command` writes to standard output, its standard error going to the
// file `errors`; with `status` the exit status is stored there, else a
// status other than 0 throws with the errors.
inline std::string RunCommand(const std::string& command, const std::filesystem::path& errors,
                              int* status = nullptr) {
    const std::string line = command + " 2>" + Quoted(errors);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> pipe(popen(line.c_str(), "r"), pclose);
    if (!pipe) throw std::runtime_error("cannot run " + line);
    std::string output;
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, pipe.get())) > 0;) {
        output.append(block, got);
    }
    const int result = pclose(pipe.release());
    if (status != nullptr) {
        *status = result;
    } else if (result != 0) {
        throw std::runtime_error(line + " failed (" + std::to_string(result) +
                                 "): " + ReadBytes(errors));
    }
    return output;
}

inline const std::filesystem::path kTool = ORADEL_TOOL;

// Runs the tests when the tool exists; otherwise says loudly that they are
// skipped and returns CTest's SKIP_RETURN_CODE.
inline int RunTestsWithTool(int argc, char** argv, std::string_view package) {
    ::testing::InitGoogleTest(&argc, argv);
    std::error_code error;
    if (kTool.empty() || !std::filesystem::exists(kTool, error)) {
        std::cerr << "\n*** " << ORADEL_TOOL << " was not found: its interop tests are SKIPPED. "
                  << "Install " << package << " to run them. ***\n\n";
        return 77;
    }
    return RUN_ALL_TESTS();
}

}  // namespace oradel::testing
