// Buffered writing of an output file; every line ends with CR LF.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace oradel {

class TextOutput {
  public:
    // Writes to `file` (not owned); `displayName` (UTF-8) names it in error messages.
    TextOutput(std::FILE* file, std::string displayName);
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    void Write(std::string_view bytes);
    void WriteLine(std::string_view line);
    // Hands everything buffered to the file; throws UserError when that fails.
    void Flush();

  private:
    void WriteThrough(std::string_view bytes);
    [[noreturn]] void ThrowWriteError(int error) const;

    std::FILE* file_;
    std::string displayName_;
    std::string buffer_;
};

}  // namespace oradel
