#include "win/command_line.hpp"

#include <memory>

#include "win/windows_ui_api.hpp"

namespace oradel::win {

std::optional<std::filesystem::path> FileFromCommandLine(const wchar_t* commandLine) {
    int count = 0;
    struct LocalFreer {
        void operator()(LPWSTR* arguments) const { LocalFree(arguments); }
    };
    const std::unique_ptr<LPWSTR, LocalFreer> arguments(CommandLineToArgvW(commandLine, &count));
    if (arguments == nullptr || count < 2 || arguments.get()[1][0] == L'\0') return std::nullopt;
    return std::filesystem::path(arguments.get()[1]);
}

}  // namespace oradel::win
