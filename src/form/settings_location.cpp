#include "form/settings_location.hpp"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "engine/files.hpp"
#include "engine/output_names.hpp"

namespace oradel {
namespace {

constexpr char kUserSettingsFile[] = "oradel.ini";

// Whether a new file can be created in `folder`, found by creating one and
// removing it again. Asking for the folder's permissions is not enough: on
// Windows a folder may refuse new files whatever its attributes say.
bool FolderTakesNewFile(const std::filesystem::path& folder) {
    std::random_device random;
    std::error_code error;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::filesystem::path probe =
            folder / ("oradel-probe-" + std::to_string(random()) + ".tmp");
        if (std::filesystem::exists(probe, error)) continue;
        bool created = false;
        {
            std::ofstream file(probe, std::ios::binary);
            created = file.is_open();
        }
        if (created) std::filesystem::remove(probe, error);
        return created;
    }
    return false;
}

bool IsInstalled(const std::filesystem::path& programFolder) {
    std::error_code error;
    return std::filesystem::exists(programFolder / kInstalledMarker, error) ||
           std::filesystem::exists(programFolder / ".." / "share" / "oradel" / kInstalledMarker,
                                   error);
}

}  // namespace

std::filesystem::path SettingsFileLocation(const std::filesystem::path& programFile,
                                           const std::filesystem::path& userConfigFolder) {
    const std::filesystem::path programFolder = programFile.parent_path();
    if (!IsInstalled(programFolder) && FolderTakesNewFile(programFolder)) {
        return PathFromText(ReplaceExtension(PathText(programFile), ".ini"));
    }
    std::error_code error;
    std::filesystem::create_directories(userConfigFolder, error);
    return userConfigFolder / kUserSettingsFile;
}

}  // namespace oradel
