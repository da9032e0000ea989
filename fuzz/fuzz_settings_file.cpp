// The settings-file reader: any file loads without failing, and saving what
// was loaded and loading it again gives the same state of every control.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/options.hpp"
#include "fuzz_support.hpp"
#include "options/option_controls.hpp"
#include "options/settings_file.hpp"

using namespace oradel;
using namespace oradel::fuzzing;

namespace {

namespace fs = std::filesystem;

fs::path ScratchFile(const char* name) {
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / ("oradel-fuzz-" + std::to_string(getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder / name;
}

bool SameState(const Options& a, const Options& b) {
    for (const OptionControl& control : OptionControls()) {
        if (control.IsCheckBox() ? control.Ticked(a) != control.Ticked(b)
                                 : control.Text(a) != control.Text(b)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = AsText(data, size);
    ParseProfileInteger(bytes);
    const fs::path file = ScratchFile("settings.ini");
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<long>(size));
    const Options loaded = LoadSettings(file);
    SaveSettings(file, loaded);
    const Options reloaded = LoadSettings(file);
    Expect(SameState(loaded, reloaded), "a saved state loads back unchanged");
    return 0;
}
