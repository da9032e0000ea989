// The I/O floor of a conversion: the least work any converter must do.
#pragma once

#include <cstdint>
#include <filesystem>

namespace oradel::bench {

// Reads every byte of `input` and writes `outputBytes` bytes (the input's
// bytes, repeated when the output is larger) to a temporary file beside
// `output`, then renames it over `output`, as the conversion job does. Both
// go through user space in 64 KiB blocks with read(2) and write(2). Throws
// std::runtime_error on failure.
void CopyAtIoFloor(const std::filesystem::path& input, const std::filesystem::path& output,
                   std::uint64_t outputBytes);

}  // namespace oradel::bench
