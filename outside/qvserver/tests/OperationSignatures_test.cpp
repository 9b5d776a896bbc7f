// The server expects, for every operation, the inputs that the library's MT function sends:
// the value parameters after the handle, in order (pointers are outputs and are not sent).
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>

#include "outside/qvclient/QVWire.h"
#include "outside/qvserver/Operations.h"

namespace {

// The wire letter of a value parameter's type; 0 for an output or an unknown type.
char LetterOf(const std::string& param) {
    if (param.find('*') != std::string::npos) return 0;
    const std::string type = param.substr(0, param.find(' '));
    if (type == "int16_t") return 'h';
    if (type == "int32_t") return 'i';
    if (type == "int64_t") return 'l';
    if (type == "double") return 'd';
    if (type == "BSTR") return 's';
    return 0;
}

TEST(OperationSignatures, EveryServerOperationExpectsWhatTheLibrarySends) {
    std::ifstream in(std::string(std::getenv("QV_SOURCE_DIR")) + "/outside/qvclient/QVClient.h");
    std::stringstream text;
    text << in.rdbuf();
    const std::string header = text.str();
    const std::regex decl(R"(int32_t ([A-Za-z0-9_]+)MT\(int32_t handle((?:[^;])*)\);)");
    int checked = 0;
    for (auto it = std::sregex_iterator(header.begin(), header.end(), decl);
         it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[1];
        const uint16_t op = qvwire::OpCode(name);
        // Answered inside the library: nothing is sent.
        if (op == 0 || name == "CheckSocketClosed") continue;
        std::string expected;
        std::stringstream params(
            std::regex_replace(std::string((*it)[2]), std::regex(R"(\s+)"), " "));
        std::string param;
        while (std::getline(params, param, ',')) {
            param = std::regex_replace(param, std::regex(R"(^ +| +$)"), "");
            if (const char letter = LetterOf(param)) expected += letter;
        }
        const std::string server = qvserver::Operations::InputSignature(op);
        // Counts take no inputs on the server (the library sends none either).
        EXPECT_EQ(server, expected) << name;
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

} // namespace
