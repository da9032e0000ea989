// The settings-file reader: any file loads without failing, and saving what
// was loaded and loading it again gives the same state of every control.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/option_set.hpp"
#include "engine/options.hpp"
#include "engine/settings_file.hpp"
#include "fuzz_support.hpp"

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

bool SameState(const OptionSet& a, const OptionSet& b) {
    for (const ControlInfo& control : OptionControls()) {
        if (control.kind == ControlKind::CheckBox) {
            if (a.IsChecked(control.name) != b.IsChecked(control.name)) return false;
        } else if (a.EditText(control.name) != b.EditText(control.name)) {
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
    OptionSet loaded;
    LoadSettings(file, loaded);
    SaveSettings(file, loaded);
    OptionSet reloaded;
    LoadSettings(file, reloaded);
    Expect(SameState(loaded, reloaded), "a saved state loads back unchanged");
    return 0;
}
