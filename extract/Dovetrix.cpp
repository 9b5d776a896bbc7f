// Dovetrix: copies a forecourt server's configuration into a configuration file (export) or
// from such a file back into a server (import), through the client library.
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/CStr.h"
#include "extract/Export.h"
#include "extract/Import.h"
#include "extract/ToolGlobals.h"
#include "extract/ToolLogon.h"
#include "platform/Console.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/StopRequest.h"
#include "platform/Text.h"

namespace {

constexpr bool kBoardBuild = QV_BOARD_BUILD;

constexpr const char* kUsage = "Dovetrix IMPORT | EXPORT | VERSION <destination INI file name> "
                               "[<server name>|<server IP>] [/PAM | /Company] \n";
constexpr const char* kUsageNoFile = "Dovetrix IMPORT | EXPORT <destination INI file name> "
                                     "[<server name>|<server IP>] [/PAM | /Company] \n";
constexpr const char* kBanner = "Dovetrix 2.6.0.0\n\n";

// An import may meet a server that is still starting, so it tries a few times.
constexpr int kImportTries = 6;
constexpr int kExportTries = 1;

constexpr char16_t kDefaultServer[] = u"127.0.0.1";

struct RunSettings {
    bool import = false;
    std::u16string fileName;
    std::u16string server = kDefaultServer;
    ExportOptions options; // the switches; an import takes its three kind switches from them
};

// Case-insensitive comparison by the run-time's "C" rule (only a to z fold).
bool SameNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (platform::ToUpperChar(a[i]) != platform::ToUpperChar(b[i])) return false;
    }
    return true;
}

// The keywords in the order in which an argument is compared against them.
enum class Keyword {
    Import,
    Export,
    Version,
    Gsc,
    Pam,
    Company,
    Ipt,
    NoProducts,
    NoAttendants,
    NoCardClients
};
struct KeywordText {
    const char16_t* text;
    Keyword keyword;
};
constexpr KeywordText kKeywords[] = {
    {u"IMPORT", Keyword::Import},
    {u"EXPORT", Keyword::Export},
    {u"VERSION", Keyword::Version},
    {u"/GSC", Keyword::Gsc},
    {u"/PAM", Keyword::Pam},
    {u"/COMPANY", Keyword::Company},
    {u"/IPT", Keyword::Ipt},
    {u"/NoProducts", Keyword::NoProducts},
    {u"/NoAttendants", Keyword::NoAttendants},
    {u"/NoCardClients", Keyword::NoCardClients},
};

void ApplyKeyword(Keyword keyword, RunSettings& run) {
    switch (keyword) {
    case Keyword::Import:
        run.import = true;
        break;
    case Keyword::Export:
        run.import = false;
        break;
    case Keyword::Version:
        run.import = false;
        run.options.versionOnly = true;
        break;
    case Keyword::Gsc:
        run.options.gsc = true;
        break;
    case Keyword::Pam:
        run.options.pam = true;
        run.options.company = false;
        break;
    case Keyword::Company:
        run.options.company = true;
        run.options.pam = false;
        break;
    case Keyword::Ipt:
        run.options.ipt = true;
        break;
    case Keyword::NoProducts:
        run.options.noProducts = true;
        break;
    case Keyword::NoAttendants:
        run.options.noAttendants = true;
        break;
    case Keyword::NoCardClients:
        run.options.noCardClients = true;
        break;
    }
}

// Later arguments override earlier ones; the first free argument is the file, later ones the
// server (the last one wins).
void ReadArguments(const std::vector<std::u16string>& args, RunSettings& run) {
    for (const std::u16string& arg : args) {
        bool matched = false;
        for (const KeywordText& k : kKeywords) {
            if (SameNoCase(arg, k.text)) {
                ApplyKeyword(k.keyword, run);
                matched = true;
                break;
            }
        }
        if (matched) continue;
        if (run.fileName.empty())
            run.fileName = arg;
        else
            run.server = arg;
    }
}

// The gauge and terminal switches need the PAM protocol, which excludes the company one.
void ResolveSwitches(RunSettings& run) {
    if (run.options.ipt) run.options.gsc = true;
    if (run.options.gsc) {
        run.options.pam = true;
        run.options.company = false;
    }
    if (run.options.pam) run.options.company = false;
}

// The arguments after the program name: the board passes its command line as one string.
std::vector<std::u16string> Arguments(int argc, char** argv) {
    if constexpr (kBoardBuild) return platform::SplitCommandLine(platform::CommandLine(argc, argv));
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) {
        std::u16string arg;
        for (const char* p = argv[i]; *p != '\0'; ++p)
            arg += platform::NarrowToWideChar(*p);
        args.push_back(arg);
    }
    return args;
}

// The console shows only "Logon failed - ." for a missing library: say where it was looked for
// and how a device root gets it.
void ExplainMissingLibrary() {
    const CStr path(ClientLibrary::LibraryPath());
    std::fprintf(stderr,
                 "Dovetrix: the client library %s (%s) cannot be loaded; qvroot-provision lays "
                 "the device root out with it.\n",
                 path.Narrow(), platform::MapPath(ClientLibrary::LibraryPath()).c_str());
}

int Run(const std::vector<std::u16string>& args) {
    ClientLibrary& library = ToolLibrary();
    if (args.size() < 2) {
        std::printf("%s", kUsage);
        return -1;
    }
    // A missing library is logged and explained; the logon below then fails.
    if (!library.Load()) ExplainMissingLibrary();

    RunSettings run;
    ReadArguments(args, run);
    ResolveSwitches(run);
    if (run.fileName.empty()) {
        std::printf("%s", kUsageNoFile);
        return -1;
    }

    const CStr server(run.server.c_str());
    const CStr fileName(run.fileName.c_str());
    const char* mode = run.import ? "import" : "export";
    std::printf("%s", kBanner);
    std::printf("Connecting to %s for %s.\n", server.Narrow(), mode);

    const int tries = run.import ? kImportTries : kExportTries;
    int32_t result = ClientLibrary::kNotLoaded;
    for (int attempt = 1; attempt <= tries && result != 0 && !platform::StopRequested();
         ++attempt) {
        std::printf("Try %d, Connecting to %s for %s.\n", attempt, server.Narrow(), mode);
        result = ToolLogon(library, server);
    }
    if (!library.ReportResult("Logon failed", result)) return -1;
    library.ReportResult("SetClientType failed", library.SetClientType(kClientTypeKey));

    int code;
    if (run.import) {
        ImportOptions options;
        options.noProducts = run.options.noProducts;
        options.noAttendants = run.options.noAttendants;
        options.noCardClients = run.options.noCardClients;
        code = ImportConfiguration(library, fileName.Narrow(), options);
    } else {
        code = ExportConfiguration(library, fileName.Narrow(), run.options);
    }
    library.Logoff();
    return code;
}

} // namespace

int main(int argc, char** argv) {
    platform::PrepareConsole(); // a closed screen pipe must not end the run
    // Ctrl-C and a termination signal end the walk between two records, so the log is flushed
    // and ends with its STOP record, and an export leaves the previous file as it was.
    platform::InstallStopHandlers();
    // The log first, then the binding: they go in reverse order at exit, STOP last.
    ToolLog();
    ToolLibrary();
    if constexpr (!kBoardBuild) {
        // Numbers in the configuration file always use a decimal point.
        if (std::setlocale(LC_ALL, "C") == nullptr) std::printf("Failed SetLocale \n");
    }
    return Run(Arguments(argc, argv));
}
