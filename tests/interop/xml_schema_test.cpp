// Checks our XML exports with xmllint (libxml2), an independent XML reader:
// the golden GPX file and the GPX export of every point list among the test
// data must be valid against the GPX 1.1 schema (written down in
// tests/data/gpx/gpx11.xsd); the golden KML file and every KML export must
// be well-formed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "engine/errors.hpp"
#include "engine/test_support.hpp"
#include "interop/command_output.hpp"

namespace oradel {
namespace {

namespace fs = std::filesystem;
using testing::Convert;
using testing::DataFile;
using testing::kTool;
using testing::Quoted;
using testing::ReadBytes;
using testing::RunCommand;
using testing::ScratchFolder;
using testing::WriteBytes;

// xmllint's verdict on `file`: empty when it passes, else what it said.
std::string XmllintComplaint(const fs::path& file, bool againstGpxSchema) {
    ScratchFolder folder;
    const std::string schema =
        againstGpxSchema ? " --schema " + Quoted(DataFile("gpx/gpx11.xsd")) : "";
    int status = 0;
    RunCommand(Quoted(kTool) + " --noout --nonet" + schema + " " + Quoted(file),
               folder / "errors.txt", &status);
    return status == 0 ? std::string() : ReadBytes(folder / "errors.txt");
}

TEST(XmlSchema, GoldenFilesAndExportsOfEveryListAreValid) {
    EXPECT_EQ(XmllintComplaint(DataFile("gpx_export/points_wpt.gpx"), true), "");
    EXPECT_EQ(XmllintComplaint(DataFile("kml/points.kml"), false), "");
    int lists = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(DataFile(""))) {
        if (entry.path().extension() != ".txt") continue;
        const std::string list = ReadBytes(entry.path());
        for (const auto& [mode, file, schema] :
             {std::tuple{7, "list_wpt.gpx", true}, std::tuple{8, "list.kml", false}}) {
            testing::ConversionResult result;
            try {
                result = Convert(mode, list);
            } catch (const UserError&) {
                break;  // a text that is no point list (a GEO export named .txt)
            }
            ScratchFolder folder;
            WriteBytes(folder / file, result.output);
            EXPECT_EQ(XmllintComplaint(folder / file, schema), "") << entry.path();
            lists += mode == 7;
        }
    }
    EXPECT_GE(lists, 6);
}

}  // namespace
}  // namespace oradel

int main(int argc, char** argv) {
    return oradel::testing::RunTestsWithTool(argc, argv, "libxml2-utils");
}
