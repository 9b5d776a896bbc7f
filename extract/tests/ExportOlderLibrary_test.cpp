// Export through a client library without the network settings call: the Application section
// goes without the network keys, nothing is said about it, and the walk completes.
#include "extract/Export.h"
#include "extract/tests/TransferTestSupport.h"

namespace {

using namespace transfer_test;

TEST(ExportOlderLibraryTest, NetworkKeysAreLeftOutSilently) {
    DeviceRoot root("libQVClientNoTCPIP.so");
    Server server;
    ASSERT_TRUE(server.Start("127.0.30.220", root.Path(), {"--seed", "demo"}));
    ASSERT_EQ(Logon("127.0.30.220"), 0);
    ASSERT_FALSE(ToolLibrary().IsBound("GetTCPIPConfig"));

    const std::string file = root.File("older.ini");
    const std::string out = Console(
        [&] { EXPECT_EQ(ExportConfiguration(ToolLibrary(), file.c_str(), ExportOptions()), 0); });
    Logoff();
    EXPECT_EQ(out.find("TCPIP"), std::string::npos) << out;
    EXPECT_EQ(out.find("failed"), std::string::npos) << out;
    EXPECT_EQ(out.substr(out.size() - 11), "\nAll done.\n");

    const Sections s = ParseSections(ReadFile(file));
    std::vector<std::string> keys;
    for (const std::string& line : s.at("Application"))
        keys.push_back(line.substr(0, line.find('=')));
    const std::vector<std::string> expected = {"Name", "IniVersion", "DateGenerated",
                                               "ClientVersion", "ServerVersion"};
    EXPECT_EQ(keys, expected);
    EXPECT_NE(s.count("Client001"), 0u);
}

} // namespace
