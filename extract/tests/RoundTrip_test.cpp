// Export, import and export again: the demo site exported from one server and imported into an
// empty one exports as the same file, except the Application section and the keys that the
// import does not read.
#include <set>

#include "extract/Export.h"
#include "extract/Import.h"
#include "extract/tests/TransferTestSupport.h"

namespace {

using namespace transfer_test;

// Keys that only the export writes (radio settings and device versions).
const std::set<std::string> kExportOnlyKeys = {
    "PanID", "Channels", "KeyA", "KeyB", "CurrentSerialNo", "BootVersion", "FirmwareVersion"};

// The file's lines without the Application section and the export-only keys.
std::vector<std::string> Comparable(const std::string& text) {
    std::vector<std::string> kept;
    std::string section;
    for (const std::string& line : Lines(text)) {
        if (!line.empty() && line[0] == '[') {
            section = line;
            if (section != "[Application]") kept.push_back(line);
            continue;
        }
        if (section == "[Application]" || line.empty()) continue;
        if (kExportOnlyKeys.count(line.substr(0, line.find('='))) != 0) continue;
        kept.push_back(line);
    }
    return kept;
}

TEST(RoundTripTest, DemoSiteSurvivesExportAndImport) {
    DeviceRoot root;
    Server demo, copy;
    ASSERT_TRUE(demo.Start("127.0.30.200", root.Path(), {"--seed", "demo"}));
    ASSERT_TRUE(copy.Start("127.0.30.201", root.Path(), {"--seed", "empty"}));

    const std::string first = root.File("first.ini");
    const std::string second = root.File("second.ini");
    ASSERT_EQ(Logon("127.0.30.200"), 0);
    std::string out = Console(
        [&] { EXPECT_EQ(ExportConfiguration(ToolLibrary(), first.c_str(), ExportOptions()), 0); });
    ASSERT_NE(out.find("All done."), std::string::npos) << out;

    ASSERT_EQ(Logon("127.0.30.201"), 0);
    out = Console(
        [&] { EXPECT_EQ(ImportConfiguration(ToolLibrary(), first.c_str(), ImportOptions()), 0); });
    EXPECT_EQ(out.find("failed"), std::string::npos) << out;
    out = Console(
        [&] { EXPECT_EQ(ExportConfiguration(ToolLibrary(), second.c_str(), ExportOptions()), 0); });
    Logoff();

    const std::string a = ReadFile(first), b = ReadFile(second);
    const std::vector<std::string> before = Comparable(a), after = Comparable(b);
    EXPECT_GT(before.size(), 100u);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(before[i], after[i]) << "line " << i;
    // The demo site's card clients keep their expiration dates.
    EXPECT_NE(a.find("ExpirationDate=4"), std::string::npos);
}

} // namespace
